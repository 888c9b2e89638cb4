#include "previewdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/reportsetup.h"
#include "core/shell/appstate.h"
#include "pageexport.h"
#include "pageview.h"
#include "printprogressdialog.h"
#include "qtprinterdevice.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
TPreviewDialog* g_instance = nullptr;
const int kZoomSteps[] = {50, 75, 100, 125, 150, 175, 200, 225, 250};
} // namespace

TPreviewDialog* TPreviewDialog::instance() {
    return g_instance;
}

TPreviewDialog::TPreviewDialog(AppState& state, MessageService& messages, QWidget* parent)
    : QDialog(parent, Qt::Window), m_state(state), m_messages(messages),
      m_printer(std::make_unique<TPagePrinter>()),
      m_progress(std::make_unique<TPPPrnPrgDlg>(this)) {
    g_instance = this;
    setWindowTitle(QStringLiteral("Druckvorschau"));
    m_view = new TPageView(*m_printer, this);
    m_printer->OnChanged = [this] {
        m_view->pageChanged();
        updateNavigation();
    };
    m_printer->OnNewPage = [this](TPagePrinter& p) {
        if (reportNewPage)
            reportNewPage(p);
    };
    m_printer->setProgress(m_progress.get());
    selectPrinter(state.currentPrinter);
    reportsetup::applyPreviewSetup(*m_printer);

    m_toolbar = new QToolBar(QStringLiteral("Symbolleiste"), this);
    m_toolbar->setObjectName(QStringLiteral("NewPreviewToolbar"));
    addTool(QStringLiteral("FirstBtn"), QStringLiteral("E&rste Seite"), QStringLiteral("1. Seite"),
            QStyle::SP_MediaSkipBackward, &TPreviewDialog::showFirstPage);
    addTool(QStringLiteral("PriorBtn"), QStringLiteral("V&orherige Seite"),
            QStringLiteral("Vorherige Seite"), QStyle::SP_MediaSeekBackward,
            &TPreviewDialog::showPriorPage);
    addTool(QStringLiteral("NextBtn"), QStringLiteral("Nä&chste Seite"),
            QStringLiteral("Nächste Seite"), QStyle::SP_MediaSeekForward,
            &TPreviewDialog::showNextPage);
    addTool(QStringLiteral("LastBtn"), QStringLiteral("Let&zte Seite"),
            QStringLiteral("Letzte Seite"), QStyle::SP_MediaSkipForward,
            &TPreviewDialog::showLastPage);
    m_toolbar->addSeparator();
    addTool(QStringLiteral("PageHeigthBtn"), QStringLiteral("&Ganze Seite"),
            QStringLiteral("Ganze Seite"), QStyle::SP_TitleBarMaxButton, nullptr);
    addTool(QStringLiteral("PageWidthBtn"), QStringLiteral("Seiten&breite"),
            QStringLiteral("Seitenbreite"), QStyle::SP_ToolBarHorizontalExtensionButton, nullptr);
    connect(action(QStringLiteral("PageHeigthBtn")), &QAction::triggered, this, [this] {
        m_view->ZoomToPageHeight();
        m_zoomTimer.start();
    });
    connect(action(QStringLiteral("PageWidthBtn")), &QAction::triggered, this, [this] {
        m_view->ZoomToPageWidth();
        m_zoomTimer.start();
    });
    m_toolbar->addSeparator();
    addTool(QStringLiteral("PrintAllBtn"), QStringLiteral("&Alle Seiten drucken"),
            QStringLiteral("Alle Seiten drucken"), QStyle::SP_DialogApplyButton,
            &TPreviewDialog::printAll);
    addTool(QStringLiteral("PrintThisBtn"), QStringLiteral("&Diese Seite drucken"),
            QStringLiteral("Aktuelle Seite drucken"), QStyle::SP_FileIcon,
            &TPreviewDialog::printThisPage);
    m_toolbar->addSeparator();
    addTool(QStringLiteral("SaveBtn"), QStringLiteral("S&peichern"),
            QStringLiteral("Aktuelle Seite in eine Datei speichern"), QStyle::SP_DialogSaveButton,
            &TPreviewDialog::savePage);
    addTool(QStringLiteral("CloseBtn"), QStringLiteral("&Schließen"),
            QStringLiteral("Druckvorschau schließen"), QStyle::SP_DialogCloseButton,
            &TPreviewDialog::closePreview);
    m_toolbar->addSeparator();
    addTool(QStringLiteral("HelpBtn"), QStringLiteral("&Hilfe"), QStringLiteral("Hilfe"),
            QStyle::SP_DialogHelpButton, nullptr);
    connect(action(QStringLiteral("HelpBtn")), &QAction::triggered, this, [this] {
        if (m_help)
            m_help(5013);
    });

    m_toolbar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_toolbar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        auto* group = new QActionGroup(&menu);
        const std::tuple<const char*, int, const char*> styles[] = {
            {"Bild &und Text", 3,
             "Sollen Bilder und Texte zu den einzelnen Möglichkeiten angezeigt werden?"},
            {"Nur &Bild", 1, "Sollen nur Bilder zu den einzelnen Möglichkeiten angezeigt werden?"},
            {"Nur &Text", 2, "Sollen nur Texte zu den einzelnen Möglichkeiten angezeigt werden?"}};
        for (const auto& [caption, mode, hint] : styles) {
            QAction* a = menu.addAction(QString::fromUtf8(caption), this,
                                        [this, m = mode] { setButtonStyle(m); });
            a->setStatusTip(QString::fromUtf8(hint));
            a->setCheckable(true);
            a->setChecked(m_buttonStyle == mode);
            group->addAction(a);
        }
        menu.exec(m_toolbar->mapToGlobal(at));
    });

    m_zoomBox = new QComboBox(this);
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->addItems({QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                         QStringLiteral("125%"), QStringLiteral("150%"), QStringLiteral("175%"),
                         QStringLiteral("200%"), QStringLiteral("225%"), QStringLiteral("250%"),
                         QStringLiteral("Seitenbreite"), QStringLiteral("Seitenhöhe"),
                         QStringLiteral("Ganze Seite")});
    m_zoomBox->setEditText(QStringLiteral("100%"));
    m_zoomBox->setToolTip(QStringLiteral(
        "Um wieviel Prozent soll die Darstellung vergrößert oder verkleinert werden?"));
    m_zoomBox->lineEdit()->installEventFilter(this);
    connect(m_zoomBox, &QComboBox::activated, this, &TPreviewDialog::zoomBoxChosen);

    m_zoomTimer.setSingleShot(true);
    m_zoomTimer.setInterval(50);
    connect(&m_zoomTimer, &QTimer::timeout, this,
            [this] { m_zoomBox->setEditText(QStringLiteral("%1%").arg(m_view->ZoomPercent())); });
    connect(m_view, &TPageView::zoomFollowedSize, &m_zoomTimer, qOverload<>(&QTimer::start));

    auto* status = new QStatusBar(this);
    m_statusPage = new QLabel(QStringLiteral("Seite"), status);
    m_statusPrinter = new QLabel(QStringLiteral("Drucker"), status);
    m_statusPage->setAlignment(Qt::AlignCenter);
    m_statusPrinter->setAlignment(Qt::AlignCenter);
    status->addWidget(m_statusPage);
    status->addWidget(m_statusPrinter);
    status->addWidget(new QLabel(status), 1);
    m_statusPrinter->setText(QStringLiteral(" Drucker: ") + m_state.currentPrinter);

    auto* top = new QHBoxLayout;
    top->addWidget(m_toolbar, 1);
    top->addWidget(m_zoomBox);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(status);
    resize(900, 700);

    // Paging by keyboard, whatever has the focus.
    const std::pair<QKeySequence, void (TPreviewDialog::*)()> keys[] = {
        {QKeySequence(Qt::Key_PageDown), &TPreviewDialog::showNextPage},
        {QKeySequence(Qt::Key_PageUp), &TPreviewDialog::showPriorPage},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), &TPreviewDialog::showFirstPage},
        {QKeySequence(Qt::CTRL | Qt::Key_End), &TPreviewDialog::showLastPage}};
    for (const auto& [key, slot] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    setWindowState(Qt::WindowMaximized);

    // As designed: pictures above captions, unless the settings ask for another style.
    const int stored = settingsfile::readPreviewButtonType(m_state.settingsPath());
    setButtonStyle(stored >= 1 && stored <= 3 ? stored : 3);
    updateNavigation();
}

TPreviewDialog::~TPreviewDialog() {
    if (g_instance == this)
        g_instance = nullptr;
}

QAction* TPreviewDialog::addTool(const QString& name, const QString& caption, const QString& hint,
                                 int icon, void (TPreviewDialog::*slot)()) {
    QAction* a = m_toolbar->addAction(style()->standardIcon(QStyle::StandardPixmap(icon)), caption);
    a->setObjectName(name);
    a->setStatusTip(hint);
    a->setToolTip(hint);
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    return a;
}

QAction* TPreviewDialog::action(const QString& objectName) const {
    for (QAction* a : m_toolbar->actions()) {
        if (a->objectName() == objectName)
            return a;
    }
    return nullptr;
}

void TPreviewDialog::selectPrinter(const QString& name) {
    m_device = std::make_unique<QtPrinterDevice>(name, [this] {
        return m_messages.chooseSaveFile(
            {QStringLiteral("Druckausgabe in PDF-Datei"), m_state.settings.emfSavePath,
             QStringLiteral("Druckausgabe.pdf"), QStringLiteral("PDF-Datei (*.pdf)")});
    });
    m_printer->setPrinter(m_device.get());
    if (m_statusPrinter)
        m_statusPrinter->setText(QStringLiteral(" Drucker: ") + m_device->name());
}

void TPreviewDialog::updateNavigation() {
    const int page = m_printer->PageNumber(), count = m_printer->PageCount();
    if (!m_toolbar)
        return; // still being built
    if (QAction* a = action(QStringLiteral("FirstBtn")); a) {
        a->setEnabled(page > 1);
        action(QStringLiteral("PriorBtn"))->setEnabled(page > 1);
        action(QStringLiteral("NextBtn"))->setEnabled(page < count);
        action(QStringLiteral("LastBtn"))->setEnabled(page < count);
    }
    if (m_statusPage)
        m_statusPage->setText(QStringLiteral("Seite %1 von %2").arg(page).arg(count));
}

QString TPreviewDialog::pageStatus() const {
    return m_statusPage->text();
}
QString TPreviewDialog::zoomText() const {
    return m_zoomBox->currentText();
}

void TPreviewDialog::showFirstPage() {
    if (m_printer->PageCount() > 0)
        m_printer->setPageNumber(1);
    updateNavigation();
}

void TPreviewDialog::showPriorPage() {
    if (m_printer->PageNumber() > 1)
        m_printer->setPageNumber(m_printer->PageNumber() - 1);
    updateNavigation();
}

void TPreviewDialog::showNextPage() {
    if (m_printer->PageNumber() < m_printer->PageCount())
        m_printer->setPageNumber(m_printer->PageNumber() + 1);
    updateNavigation();
}

void TPreviewDialog::showLastPage() {
    if (m_printer->PageCount() > 0)
        m_printer->setPageNumber(m_printer->PageCount());
    updateNavigation();
}

void TPreviewDialog::printAll() {
    if (m_printer->PageCount() == 0)
        return;
    bool finished = false;
    try {
        finished = m_printer->PrintPages();
    } catch (const std::exception& e) {
        m_messages.error(QString::fromUtf8(e.what()));
        return;
    }
    if (!finished)
        m_messages.show({MessageKind::Information,
                         QStringLiteral("Druck abgebrochen!"),
                         MessageButton::Ok,
                         0,
                         {}});
}

void TPreviewDialog::printThisPage() {
    m_printer->setFromPage(quint32(m_printer->PageNumber()));
    m_printer->setToPage(quint32(m_printer->PageNumber()));
    printAll();
    m_printer->setFromPage(0);
    m_printer->setToPage(0);
}

void TPreviewDialog::savePage() {
    const QString chosen = m_messages.chooseSaveFile(
        {QStringLiteral("Druckausgabe sichern"), m_state.settings.emfSavePath,
         QStringLiteral("REPORT.TMF"),
         QStringLiteral("Meta-Datei (*.TMF *.tmf);;PDF-Datei (*.pdf);;SVG-Grafik (*.svg);;PNG-Bild "
                        "(*.png);;Alle (*)")});
    if (!chosen.isEmpty() && m_printer->PageNumber() >= 1) {
        QString path = chosen;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".TMF");
        QString error;
        if (!pageexport::save(m_printer->PageImage(m_printer->PageNumber()), path, &error))
            m_messages.error(error);
    }
    // After a cancel the remembered folder is that of the proposed name: none.
    m_state.settings.emfSavePath = chosen.isEmpty() ? QString() : QFileInfo(chosen).absolutePath();
}

void TPreviewDialog::setButtonStyle(int mode) {
    m_buttonStyle = mode;
    m_toolbar->setToolButtonStyle(mode == 1   ? Qt::ToolButtonIconOnly
                                  : mode == 2 ? Qt::ToolButtonTextOnly
                                              : Qt::ToolButtonTextUnderIcon);
}

void TPreviewDialog::zoomBoxEntered(const QString& text) {
    bool ok = false;
    const int percent = text.trimmed().toInt(&ok);
    if (!ok || percent <= 0)
        return;
    m_view->setZoomPercent(quint32(percent));
    m_zoomTimer.start();
}

void TPreviewDialog::zoomBoxChosen(int index) {
    if (index >= 0 && index < 9)
        m_view->setZoomPercent(quint32(kZoomSteps[index]));
    else if (index == 9)
        m_view->ZoomToPageWidth();
    else if (index == 10)
        m_view->ZoomToPageHeight();
    else if (index == 11)
        m_view->ZoomToFullPage();
    m_zoomTimer.start();
}

bool TPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_zoomBox->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            zoomBoxEntered(m_zoomBox->currentText());
            return true; // the Enter key is consumed either way
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_statusPrinter->setText(QStringLiteral(" Drucker: ") +
                             (m_device ? m_device->name() : QString()));
    updateNavigation();
}

void TPreviewDialog::closePreview() {
    reject();
}

void TPreviewDialog::reject() {
    // The button style of the first button decides what is stored.
    settingsfile::writePreviewButtonType(m_state.settingsPath(), m_buttonStyle);
    QDialog::reject();
}

bool TPreviewDialog::composeAndDeliver(bool& running, bool showPreview, MessageService& messages,
                                       const std::function<ReportStatus()>& compose) {
    running = true;
    ReportStatus status = ReportStatus::Failed;
    try {
        status = compose();
    } catch (const std::exception& e) {
        if (m_printer->Printing())
            m_printer->FinishDocument();
        messages.error(QString::fromUtf8(e.what()));
    }
    running = false;
    if (status != ReportStatus::Composed)
        return false;
    deliver(showPreview);
    return true;
}

void TPreviewDialog::deliver(bool showPreview) {
    m_view->ZoomToPageWidth();
    m_zoomTimer.start();
    if (showPreview)
        exec();
    else
        m_printer->PrintPages();
}
