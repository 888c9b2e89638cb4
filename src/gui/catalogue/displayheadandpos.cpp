#include "displayheadandpos.h"

#include "core/shell/appstate.h"
#include "gui/shell/waitcursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
struct HeaderField {
    const char* label;
    int key;
    QString carrierdisplay::Header::*value;
    bool right;
};
const HeaderField kFields[] = {
    {"Art:", 10120, &carrierdisplay::Header::typeName, false},
    {"Lfd.-Nr.:", 10125, &carrierdisplay::Header::numbering, true},
    {"Gruppe:", 10110, &carrierdisplay::Header::group, false},
    {"Titel:", 10115, &carrierdisplay::Header::title, false},
    {"Liedanzahl:", 10130, &carrierdisplay::Header::songCount, true},
    {"Gesamtzeit:", 10135, &carrierdisplay::Header::totalTime, true},
    {"Bewertung:", 10145, &carrierdisplay::Header::rating, true},
    {"Erscheinungsjahr:", 10155, &carrierdisplay::Header::year, true},
    {"Status:", 10150, &carrierdisplay::Header::stateName, false},
    {"Musikrichtung:", 10140, &carrierdisplay::Header::directionName, false},
    {"Pressung:", 10170, &carrierdisplay::Header::pressing, false},
    {"Aufnahme:", 10175, &carrierdisplay::Header::recording, false},
    {"Zustand:", 10180, &carrierdisplay::Header::condition, false},
    {"Bestellcode:", 10185, &carrierdisplay::Header::orderCode, false},
    {"Hersteller:", 10190, &carrierdisplay::Header::company, false},
    {"Erfassungsdatum:", 0, &carrierdisplay::Header::created, false},
    {"Änderungsdatum:", 0, &carrierdisplay::Header::changed, false},
};
} // namespace

TDisplayHeadAndPos::TDisplayHeadAndPos(AppState& state, int carrierNumber, Hooks hooks,
                                       QWidget* parent)
    : QWidget(parent), m_state(state), m_number(carrierNumber), m_hooks(std::move(hooks)),
      m_labels(state, FieldLabelBinder::DisplayWindow) {
    setProperty("helpContext", kHelpContext);
}

std::optional<carrierdisplay::Carrier> TDisplayHeadAndPos::load() {
    WaitCursor wait;
    return carrierdisplay::load(m_state.db, m_number);
}

bool TDisplayHeadAndPos::FormCreate() {
    std::optional<carrierdisplay::Carrier> carrier = load();
    if (!carrier)
        return false;
    m_carrier = std::move(*carrier);
    buildWidgets();
    showCarrier();
    connect(&m_state.db.notifier(), &ChangeNotifier::changed, this,
            [this](Change what, int changed) {
                if (changesCarrierViews(what) &&
                    (changed == ChangeNotifier::kAnyCarrier || changed == m_number) &&
                    !m_reloadPending) {
                    m_reloadPending = true;
                    QTimer::singleShot(0, this, &TDisplayHeadAndPos::reload);
                }
            });
    resize(820, 560);
    return true;
}

void TDisplayHeadAndPos::reload() {
    m_reloadPending = false;
    std::optional<carrierdisplay::Carrier> carrier;
    try {
        carrier = load();
    } catch (const DbError&) {
        return; // busy: the window keeps what it shows; the next notice tries again
    }
    if (!carrier) {
        closeWindow(); // deleted
        return;
    }
    m_carrier = std::move(*carrier);
    showCarrier();
}

void TDisplayHeadAndPos::buildWidgets() {
    m_header = new QWidget(this);
    auto* grid = new QGridLayout(m_header);
    int i = 0;
    for (const HeaderField& f : kFields) {
        auto* label = new QLabel(QString::fromUtf8(f.label), m_header);
        label->setProperty("labelKey", f.key);
        if (f.key)
            m_labels.addLabel(label, f.key);
        label->setObjectName(QString::fromUtf8(f.label));
        auto* edit = new QLineEdit(m_header);
        edit->setReadOnly(true);
        edit->setObjectName(QString::fromUtf8(f.label));
        if (f.right)
            edit->setAlignment(Qt::AlignRight);
        label->setBuddy(edit);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    m_picture = new QLabel(this);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->setFixedSize(160, 160);
    m_picture->setAlignment(Qt::AlignCenter);

    const auto& columns = carrierdisplay::songColumns();
    m_songs = new QTableWidget(0, int(columns.size()), this);
    m_songs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_songs->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_songs->verticalHeader()->hide();
    QStringList titles;
    for (const carrierdisplay::SongColumn& c : columns)
        titles.append(c.title);
    m_songs->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[size_t(c)].labelKey)
            m_labels.addColumn(m_songs, c, columns[size_t(c)].labelKey);
    }
    m_labels.apply();

    m_edit = new QPushButton(QStringLiteral("Ändern"), this);
    m_edit->setEnabled(bool(m_hooks.edit));
    connect(m_edit, &QPushButton::clicked, this, [this] {
        if (m_hooks.edit)
            m_hooks.edit(m_number);
    });
    m_print = new QPushButton(QStringLiteral("Drucken"), this);
    m_print->setEnabled(bool(m_hooks.print));
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (m_hooks.print)
            m_hooks.print(m_number);
    });
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    connect(close, &QPushButton::clicked, this, &TDisplayHeadAndPos::closeWindow);
    auto* help = new QPushButton(QStringLiteral("Hilfe"), this);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_hooks.help)
            m_hooks.help(kHelpContext);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_edit, m_print, close, help})
        buttons->addWidget(b);
    auto* top = new QHBoxLayout;
    top->addWidget(m_header, 1);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_songs, 1);
    layout->addLayout(buttons);
}

void TDisplayHeadAndPos::showCarrier() {
    const carrierdisplay::Header& h = m_carrier.header;
    setWindowTitle(QStringLiteral("Tonträger anzeigen:  ") + h.group + QStringLiteral(" / ") +
                   h.title);
    for (const HeaderField& f : kFields) {
        if (auto* edit = m_header->findChild<QLineEdit*>(QString::fromUtf8(f.label)))
            edit->setText(h.*(f.value));
    }
    m_pixmap = QPixmap();
    if (!m_carrier.picture.isEmpty())
        m_pixmap.loadFromData(m_carrier.picture); // undecodable: the frame stays empty
    showPicture();

    const auto& columns = carrierdisplay::songColumns();
    m_songs->setRowCount(int(m_carrier.songs.size()));
    for (int r = 0; r < int(m_carrier.songs.size()); ++r) {
        for (int c = 0; c < int(columns.size()); ++c) {
            auto* item = new QTableWidgetItem(m_carrier.songs[size_t(r)].value(c));
            if (columns[size_t(c)].rightAligned)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_songs->setItem(r, c, item);
        }
    }
    m_songs->resizeColumnsToContents();
}

QString TDisplayHeadAndPos::fieldText(const QString& label) const {
    const auto* edit = m_header ? m_header->findChild<QLineEdit*>(label) : nullptr;
    return edit ? edit->text() : QString();
}

QString TDisplayHeadAndPos::labelText(int labelKey) const {
    for (QLabel* l : m_header->findChildren<QLabel*>()) {
        if (l->property("labelKey").toInt() == labelKey)
            return l->text();
    }
    return {};
}

void TDisplayHeadAndPos::showPicture() {
    if (!m_picture)
        return;
    if (m_pixmap.isNull())
        m_picture->clear();
    else
        m_picture->setPixmap(
            m_pixmap.scaled(m_picture->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void TDisplayHeadAndPos::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showPicture();
}

void TDisplayHeadAndPos::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TDisplayHeadAndPos::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}
