#include "tmainttdialog.h"

#include "carrierpage.h"
#include "core/catalogue/fieldlabels.h"
#include "core/common/messageservice.h"
#include "core/printing/carrierreport.h"
#include "core/printing/printercheck.h"
#include "core/shell/appstate.h"
#include "fieldrenamedialog.h"
#include "picturepage.h"
#include "songpage.h"
#include "textpage.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

int g_newWindows = 0; // new-carrier windows opened in this run

} // namespace

TMainTtDialog::TMainTtDialog(AppState& state, MessageService& messages, EntryWindowHooks hooks,
                             int number, QWidget* parent)
    : QWidget(parent), m_state(state), m_messages(messages), m_hooks(std::move(hooks)),
      m_labels(state, FieldLabelBinder::EntryWindow), m_number(number), m_newWindow(number == 0),
      m_tabs(new QTabBar(this)), m_stack(new QStackedWidget(this)) {
    setWindowTitle(QStringLiteral("Tonträger bearbeiten:"));
    setProperty("helpContext", 30000);
    m_editMenu = new QMenu(QStringLiteral("&Bearbeiten"), this);
    m_editMenu->setProperty("helpContext", 10600);
    m_carrierPage = new CarrierPage(*this);
    m_textPage = new TextPage(*this);
    m_picturePage = new PicturePage(*this);
    m_songPage = new SongPage(*this);
    m_labels.apply();
    const std::pair<QWidget*, QString> pages[] = {{m_carrierPage, QStringLiteral("Tonträgerdaten")},
                                                  {m_textPage, QStringLiteral("Zusatztext")},
                                                  {m_picturePage, QStringLiteral("Cover Grafiken")},
                                                  {m_songPage, QStringLiteral("Lieder")}};
    for (const auto& [page, caption] : pages) {
        m_tabs->addTab(caption);
        m_stack->addWidget(page);
    }
    m_tabs->setFocusPolicy(Qt::TabFocus);
    buildButtons();
    buildShortcuts();
    setEditMenuShown(false);

    auto* pageColumn = new QVBoxLayout;
    pageColumn->setSpacing(0);
    pageColumn->addWidget(m_tabs);
    pageColumn->addWidget(m_stack, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_save, m_print, m_close, m_help})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(pageColumn, 1);
    layout->addLayout(buttons);

    if (m_newWindow)
        setWindowTitle(QStringLiteral("Tonträger Nr.: %1").arg(++g_newWindows));
    connect(m_tabs, &QTabBar::currentChanged, this, &TMainTtDialog::tabChanged);
    connect(&state.db.notifier(), &ChangeNotifier::changed, this, [this](Change what, int) {
        if (what != Change::Lookups)
            return;
        for (EntryPage* page :
             {static_cast<EntryPage*>(m_carrierPage), static_cast<EntryPage*>(m_songPage)})
            page->fillLookups();
    });
    m_shownPage = CarrierIndex;
    m_carrierPage->enter();
    if (!m_newWindow) {
        const CarrierData& d = m_carrierPage->stored();
        setWindowTitle(QStringLiteral("Tonträger bearbeiten:  %1 / %2")
                           .arg(d.carrier.gruppeInterpretText1, d.carrier.text2));
    }
}

TMainTtDialog::~TMainTtDialog() = default;

void TMainTtDialog::addKeyedLabel(QLabel* label, int key) {
    label->setProperty("labelKey", key);
    m_labels.addLabel(label, key);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this, [this, label, key](QPoint pos) {
        QMenu* menu = labelMenu(key);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(label->mapToGlobal(pos));
    });
}

QMenu* TMainTtDialog::labelMenu(int key) {
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("&Umbenennen")), &QAction::triggered, this,
            [this, key] { renameLabel(key); });
    connect(menu->addAction(QStringLiteral("&Zurücksetzen")), &QAction::triggered, this,
            [this, key] { resetLabel(key); });
    return menu;
}

bool TMainTtDialog::renameLabel(int key) {
    TFieldRenameDialog dialog(m_state.db, m_messages, key, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    labelsStored();
    return true;
}

void TMainTtDialog::resetLabel(int key) {
    std::optional<QString> delivered;
    try {
        delivered = fieldlabels::reset(m_state.db, key);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return;
    }
    labelsStored();
    // The delivered name as the label, where this window shows names; without a delivered row
    // the built-in caption stays.
    if (delivered && !delivered->isEmpty() && m_labels.switchOn())
        m_labels.showLabelCaption(key, fieldlabels::labelCaption(*delivered));
}

void TMainTtDialog::labelsStored() {
    // Other windows follow the store's notice.
    m_labels.apply();
}

Database& TMainTtDialog::db() {
    return m_state.db;
}

void TMainTtDialog::buildButtons() {
    m_save = new QPushButton(QStringLiteral("S&ichern"), this);
    m_print = new QPushButton(QStringLiteral("Drucken"), this);
    m_close = new QPushButton(QStringLiteral("&Schließen"), this);
    m_help = new QPushButton(QStringLiteral("Hilfe"), this);
    m_save->setDefault(true);
    setHint(m_save, QStringLiteral("Die Daten der angezeigten Seite speichern (Eingabetaste)"));
    setHint(m_print, QStringLiteral("Den Tonträger drucken"));
    setHint(m_close, QStringLiteral("Das Fenster schließen (Esc)"));
    setHint(m_help, QStringLiteral("Hilfe zu diesem Fenster (F1)"));
    // Clicking a button leaves the focus where it was, so a field's own check on leaving
    // does not run before the button's action.
    for (QPushButton* b : {m_save, m_print, m_close, m_help})
        b->setFocusPolicy(Qt::TabFocus);
    m_print->setEnabled(bool(m_hooks.printDialog));
    connect(m_save, &QPushButton::clicked, this, &TMainTtDialog::save);
    connect(m_print, &QPushButton::clicked, this, &TMainTtDialog::print);
    connect(m_close, &QPushButton::clicked, this, &TMainTtDialog::closeWindow);
    connect(m_help, &QPushButton::clicked, this, [this] { showHelp(30000); });
}

void TMainTtDialog::buildShortcuts() {
    auto add = [this](const QKeySequence& keys, std::function<void()> action) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, std::move(action));
    };
    const std::pair<QKeySequence, EntryNavigation> moves[] = {
        {QKeySequence(Qt::ALT | Qt::Key_Home), EntryNavigation::First},
        {QKeySequence(Qt::ALT | Qt::Key_Left), EntryNavigation::Previous},
        {QKeySequence(Qt::ALT | Qt::Key_Right), EntryNavigation::Next},
        {QKeySequence(Qt::ALT | Qt::Key_End), EntryNavigation::Last},
    };
    for (const auto& [keys, navigation] : moves)
        add(keys, [this, move = navigation] { page(currentPage())->navigate(move); });
}

void TMainTtDialog::showHelp(int context) {
    if (m_hooks.help)
        m_hooks.help(context);
}

QList<QMenu*> TMainTtDialog::contributedMenus() {
    return {m_editMenu};
}

void TMainTtDialog::setEditMenuShown(bool shown) {
    m_editMenu->menuAction()->setVisible(shown);
    m_textPage->setMenuShortcutsActive(shown);
}

void TMainTtDialog::songOrderChanged() {
    m_songPage->applyTabOrder();
}

void TMainTtDialog::hintsChanged(bool) {}

int TMainTtDialog::currentPage() const {
    return m_shownPage;
}

EntryPage* TMainTtDialog::page(int index) const {
    return qobject_cast<EntryPage*>(m_stack->widget(index));
}

bool TMainTtDialog::selectPage(int index) {
    if (index == m_shownPage)
        return true;
    if (!page(m_shownPage)->leave(EntryPage::Reason::PageChange))
        return false;
    m_shownPage = index;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    m_stack->setCurrentIndex(index);
    page(index)->enter();
    return true;
}

void TMainTtDialog::tabChanged(int index) {
    // The tab bar moved on its own: the page being left decides before anything is shown.
    const int wanted = index;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_shownPage);
    }
    selectPage(wanted);
}

bool TMainTtDialog::save() {
    return page(m_shownPage)->save();
}

void TMainTtDialog::carrierStored(int number, const QString& group, const QString& title) {
    const bool first = m_number == 0;
    m_number = number;
    m_savedSomething = true;
    setWindowTitle(QStringLiteral("Tonträger bearbeiten:  %1 / %2").arg(group, title));
    if (first && m_hooks.firstSave)
        m_hooks.firstSave();
}

bool TMainTtDialog::checkPrinting(bool afterClosing) {
    // Without a hook the window has a printer. The check after closing words its messages
    // apart from "Drucken".
    const bool printer = !m_hooks.hasPrinter || m_hooks.hasPrinter();
    if (!printercheck::printerDefined(printer, m_messages,
                                      afterClosing ? printercheck::kNoPrinter
                                                   : printercheck::kNoPrinterCarrier))
        return false;
    if (!afterClosing)
        return printercheck::templatesPresent(db(), m_messages, 2, carrierreport::kNoTemplates,
                                              carrierreport::kNoTemplatesHelp);
    return printercheck::templatesPresent(db(), m_messages, 2,
                                          QStringLiteral("Es sind keine Druckvorlagen vorhanden. "
                                                         "Der Tonträger kann nicht ausgedruckt "
                                                         "werden!"),
                                          30006);
}

void TMainTtDialog::print() {
    if (!m_hooks.printDialog)
        return;
    if (!page(m_shownPage)->leave(EntryPage::Reason::Print))
        return;
    if (m_number == 0 || !checkPrinting(false))
        return;
    m_hooks.printDialog(m_number);
}

void TMainTtDialog::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TMainTtDialog::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
    }
    if (!page(m_shownPage)->leave(EntryPage::Reason::Close)) {
        event->ignore();
        return;
    }
    m_closing = true;
    if (!m_newWindow && m_state.settings.calcDialog && m_hooks.timeCheck)
        m_hooks.timeCheck(m_number);
    if (m_savedSomething && m_state.settings.printDialog && m_number != 0 && m_hooks.printDialog &&
        checkPrinting(true))
        m_hooks.printDialog(m_number);
    setEditMenuShown(false);
    m_songPage->saveColumns();
    event->accept();
}

bool TMainTtDialog::event(QEvent* event) {
    // F1 in this window shows its own topic, not the main window's index.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TMainTtDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showHelp(30000);
        return;
    }
    // Escape arrives here only when no field used it: an open drop-down, calendar or
    // completion list takes its own Escape first, so closing it leaves the window open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closeWindow();
        return;
    }
    // Enter saves the page, as the default button does in a dialog.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (m_save->isEnabled())
            save();
        return;
    }
    QWidget::keyPressEvent(event);
}
