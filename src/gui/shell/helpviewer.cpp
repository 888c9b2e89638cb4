#include "helpviewer.h"

#include "core/db/csvreader.h"
#include "core/shell/datadirectory.h"

#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QUrl contentsPage() {
    return datadirectory::deliveredUrl(QStringLiteral("help/index.html"));
}

const QHash<QString, QString>& topics() {
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        QFile f(datadirectory::deliveredPath(QStringLiteral("help/topics.csv")));
        if (f.open(QIODevice::ReadOnly)) {
            const auto rows = parseCsv(QString::fromUtf8(f.readAll()));
            for (qsizetype i = 1; i < rows.size(); ++i) {
                if (rows[i].size() == 2)
                    m.insert(rows[i][0].toLower(), rows[i][1]);
            }
        }
        return m;
    }();
    return map;
}

QString plainText(const QString& resource) {
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    return doc.toPlainText();
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Diskarium-Hilfe"));
    resize(820, 600);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(true);
    m_searchField = new QLineEdit(this);
    m_searchField->setPlaceholderText(QStringLiteral("Stichwort"));
    m_results = new QListWidget(this);

    auto* back = new QPushButton(QStringLiteral("&Zurück"), this);
    auto* forward = new QPushButton(QStringLiteral("&Vorwärts"), this);
    auto* contents = new QPushButton(QStringLiteral("&Inhalt"), this);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_searchField, &QLineEdit::textChanged, this, &HelpViewer::search);
    connect(m_results, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(QUrl(item->data(Qt::UserRole).toString())); });
    connect(m_results, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showPage(QUrl(item->data(Qt::UserRole).toString())); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(new QLabel(QStringLiteral("&Suchen:"), side));
    sideLayout->addWidget(m_searchField);
    sideLayout->addWidget(m_results);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);
    back->setEnabled(false);
    forward->setEnabled(false);
    search(QString());
}

QUrl HelpViewer::pageFor(const QString& key) {
    QString page = topics().value(key.toLower());
    if (page.isEmpty()) {
        // A context without a page of its own opens the page of its area.
        bool isNumber = false;
        const int context = key.toInt(&isNumber);
        static const struct {
            int from, to;
            const char* page;
        } areas[] = {
            {10000, 10099, "menu-datei.html"},    {10100, 10199, "menu-suchen.html"},
            {10200, 10299, "menu-optionen.html"}, {10300, 10399, "menu-hilfsdatenbanken.html"},
            {10400, 10499, "menu-fenster.html"},  {10500, 10599, "menu-hilfe.html"},
            {8000, 8099, "start-fehler.html"},    {40400, 40499, "einstellungen.html"}};
        for (const auto& area : areas) {
            if (isNumber && context >= area.from && context <= area.to)
                page = QString::fromLatin1(area.page);
        }
    }
    return page.isEmpty() ? contentsPage()
                          : datadirectory::deliveredUrl(QStringLiteral("help/") + page);
}

void HelpViewer::showPage(const QUrl& url) {
    m_browser->setSource(url);
    show();
    raise();
    activateWindow();
}

void HelpViewer::showContents() {
    showPage(contentsPage());
}

void HelpViewer::showContext(int helpContext) {
    showPage(pageFor(QString::number(helpContext)));
}

void HelpViewer::showTopic(const QString& topic) {
    showPage(pageFor(topic));
}

void HelpViewer::showSearch(const QString& keyword) {
    m_searchField->setText(keyword);
    search(keyword);
    showContents();
    m_searchField->setFocus();
}

void HelpViewer::search(const QString& keyword) {
    m_results->clear();
    QDirIterator it(datadirectory::deliveredPath(QStringLiteral("help")),
                    {QStringLiteral("*.html")});
    QList<std::pair<QString, QString>> hits;
    while (it.hasNext()) {
        const QString resource = it.next();
        const QString text = plainText(resource);
        if (!keyword.isEmpty() && !text.contains(keyword, Qt::CaseInsensitive))
            continue;
        hits.append(
            {text.section(QLatin1Char('\n'), 0, 0).trimmed(),
             datadirectory::deliveredUrl(QStringLiteral("help/") + it.fileName()).toString()});
    }
    std::sort(hits.begin(), hits.end());
    for (const auto& [title, url] : hits) {
        auto* item = new QListWidgetItem(title, m_results);
        item->setData(Qt::UserRole, url);
    }
}
