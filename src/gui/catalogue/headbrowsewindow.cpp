#include "headbrowsewindow.h"

#include "core/catalogue/listcsv.h"
#include "gui/shell/columnwidths.h"
#include "gui/shell/csvsave.h"

#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/carrierexport.h"
#include "core/catalogue/carrierfile.h"
#include "core/catalogue/disccodes.h"
#include "core/catalogue/medialistmodel.h"
#include "core/common/messageservice.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Tonträger bearbeiten");
const QString kGone = QStringLiteral("Der Tonträger ist nicht mehr vorhanden.");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QAction* makeAction(QObject* parent, const QString& caption, const QKeySequence& key, int help,
                    const QString& hint) {
    auto* a = new QAction(caption, parent);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    a->setData(help);
    a->setProperty("helpContext", help);
    a->setStatusTip(hint);
    return a;
}

} // namespace

THeadBrowseWindow::THeadBrowseWindow(TMain& main, MessageService& messages, MediaListHooks hooks,
                                     int searchNumber, std::optional<medialist::Filter> filter,
                                     QWidget* parent)
    : QWidget(parent), m_main(main), m_state(main.state()), m_messages(messages),
      m_hooks(std::move(hooks)), m_filter(std::move(filter)),
      m_labels(m_state, FieldLabelBinder::MediaList) {
    setWindowTitle(searchNumber > 0 ? kCaption + QStringLiteral(": %1").arg(searchNumber)
                                    : kCaption);
    setProperty("helpContext", kHelpContext);
    m_model = new MediaListModel(this);
    createCommands();
    createWidgets();
    std::vector<FieldLabelBinder::Column> columns;
    for (const medialist::GridColumn& c : medialist::gridColumns())
        columns.push_back({c.labelKey, c.title});
    m_labels.addColumns(std::move(columns),
                        [this](const QStringList& titles) { showColumnTitles(titles); });
}

THeadBrowseWindow::~THeadBrowseWindow() {
    delete m_menu; // shown in the main window's menu bar, so not a child of this window
}

void THeadBrowseWindow::createCommands() {
    m_edit =
        makeAction(this, QStringLiteral("Ä&ndern"), {}, 10701, QStringLiteral("Tonträger ändern"));
    m_display =
        makeAction(this, QStringLiteral("&Anzeigen"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
                   10702, QStringLiteral("Tonträger anzeigen"));
    m_delete = makeAction(this, QStringLiteral("&Löschen"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                          10703, QStringLiteral("Tonträger löschen"));
    m_defaultSort =
        makeAction(this, QStringLiteral("&Standardsortierung"), {}, 0,
                   QStringLiteral("Nach Gruppe, Titel, Art und Nummerierung sortieren"));
    m_export = makeAction(this, QStringLiteral("&Exportieren"), {}, 10704,
                          QStringLiteral("Tonträger in eine Datei exportieren"));
    m_saveCsv = makeAction(this, QStringLiteral("Als &CSV-Datei speichern..."), {}, 0,
                           QStringLiteral("Die Liste für eine Tabellenkalkulation speichern"));
    m_lend =
        makeAction(this, QStringLiteral("&Verleihen"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V),
                   10706, QStringLiteral("Tonträger verleihen"));
    m_return =
        makeAction(this, QStringLiteral("&Zurück"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z),
                   10707, QStringLiteral("Verliehenen Tonträger zurücknehmen"));
    m_print = makeAction(this, QStringLiteral("&Drucken"), QKeySequence(Qt::Key_F7), 10708,
                         QStringLiteral("Tonträger drucken"));
    m_cover = makeAction(this, QStringLiteral("&Hülle drucken"), QKeySequence(Qt::Key_F8), 10709,
                         QStringLiteral("Hülle des Tonträgers drucken"));
    // The check code entries follow the drives found at start.
    const QStringList& drives = m_state.cdDrives;
    if (drives.size() == 1) {
        m_discCodes.append(makeAction(this, QStringLiteral("&CD-Prüfcode"), {}, 10705,
                                      QStringLiteral("CD-Prüfcode des Tonträgers ermitteln")));
    } else {
        for (const QString& d : drives)
            m_discCodes.append(makeAction(this, QStringLiteral("CD-Prüfcode ") + d, {}, 10705,
                                          QStringLiteral("CD-Prüfcode mit %1 ermitteln").arg(d)));
    }
    addActions({m_edit, m_display, m_delete, m_defaultSort, m_export});
    addActions(m_discCodes);
    addActions({m_lend, m_return, m_print, m_cover});

    connect(m_edit, &QAction::triggered, this, &THeadBrowseWindow::EditClick);
    connect(m_display, &QAction::triggered, this, &THeadBrowseWindow::DisplayClick);
    connect(m_delete, &QAction::triggered, this, &THeadBrowseWindow::DeleteClick);
    connect(m_defaultSort, &QAction::triggered, this, &THeadBrowseWindow::defaultSort);
    connect(m_export, &QAction::triggered, this, &THeadBrowseWindow::ExportClick);
    connect(m_saveCsv, &QAction::triggered, this, &THeadBrowseWindow::saveAsCsv);
    for (QAction* a : std::as_const(m_discCodes))
        connect(a, &QAction::triggered, this,
                [this, a] { DiscCodeClick(disccodes::driveFor(a->text(), m_state.cdDrives)); });
    auto hooked = [this](QAction* action, const std::function<void(int)>& hook) {
        connect(action, &QAction::triggered, this, [this, hook] {
            if (const int n = checkedCarrier(); n && hook)
                hook(n);
        });
    };
    hooked(m_lend, m_hooks.lendCarrier);
    hooked(m_return, m_hooks.returnCarrier);
    hooked(m_print, m_hooks.printCarrier);
    hooked(m_cover, m_hooks.printCover);

    auto fill = [this](QMenu* menu) {
        menu->addActions({m_edit, m_display, m_delete});
        menu->addSeparator();
        menu->addAction(m_defaultSort);
        menu->addSeparator();
        menu->addAction(m_export);
        menu->addActions(m_discCodes);
        menu->addSeparator();
        menu->addActions({m_lend, m_return});
        menu->addSeparator();
        menu->addActions({m_print, m_cover});
        menu->addSeparator();
        menu->addAction(m_saveCsv);
        menu->setDefaultAction(m_edit);
    };
    m_menu = new QMenu(QStringLiteral("&Tonträger"));
    m_menu->setProperty("helpContext", 10700);
    fill(m_menu);
    m_context = new QMenu(this);
    fill(m_context);
}

void THeadBrowseWindow::createWidgets() {
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->addTab(QStringLiteral("<"));
    for (char c = '0'; c <= '9'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    for (char c = 'A'; c <= 'Z'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    m_tabs->addTab(QStringLiteral(">"));
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            jumpTo(m_tabs->tabText(index).at(0));
    });

    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &THeadBrowseWindow::sortByColumn);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { showContextMenu(m_grid->viewport()->mapToGlobal(p)); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { m_state.settings.doubleClickChange ? EditClick() : DisplayClick(); });
    auto* contextKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    contextKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(contextKey, &QShortcut::activated, this, [this] {
        const QRect r = m_grid->visualRect(m_grid->currentIndex());
        showContextMenu(m_grid->viewport()->mapToGlobal(r.isValid() ? r.center() : QPoint(10, 10)));
    });

    // Navigator and row label below the grid.
    auto* navigator = new QHBoxLayout;
    auto navButton = [this, navigator](const QString& text, const QString& hint, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, slot);
        navigator->addWidget(b);
    };
    navButton(QStringLiteral("|◀"), QStringLiteral("Dateianfang"), [this] { setCurrentRow(0); });
    navButton(QStringLiteral("◀"), QStringLiteral("Vorheriger Datensatz"),
              [this] { setCurrentRow(qMax(0, currentRow() - 1)); });
    navButton(QStringLiteral("▶"), QStringLiteral("Nächster Datensatz"),
              [this] { setCurrentRow(qMin(m_model->rowCount() - 1, currentRow() + 1)); });
    navButton(QStringLiteral("▶|"), QStringLiteral("Dateiende"),
              [this] { setCurrentRow(m_model->rowCount() - 1); });
    navButton(QStringLiteral("↻"), QStringLiteral("Anzeige aktualisieren"),
              [this] { refreshMediaList(); });
    navigator->addSpacing(12);
    m_rowLabel = new QLabel(this);
    navigator->addWidget(m_rowLabel);
    navigator->addStretch();

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const QString& text, QAction* action) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
        if (action) {
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
            m_buttons.append({b, action});
        }
        return b;
    };
    connect(button(QStringLiteral("Schließen"), nullptr), &QPushButton::clicked, this,
            [this] { closeWindow(); });
    button(QStringLiteral("Ändern"), m_edit);
    button(QStringLiteral("Anzeigen"), m_display);
    button(QStringLiteral("Löschen"), m_delete);
    button(QStringLiteral("Drucken"), m_print);
    button(QStringLiteral("Export"), m_export);
    button(QStringLiteral("Verleihen"), m_lend);
    button(QStringLiteral("Zurück"), m_return);
    button(QStringLiteral("Hülle dru."), m_cover);
    connect(button(QStringLiteral("Hilfe"), nullptr), &QPushButton::clicked, this, [this] {
        if (m_hooks.help)
            m_hooks.help(kHelpContext);
    });
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(m_tabs);
    left->addWidget(m_grid, 1);
    left->addLayout(navigator);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(900, 480);
}

bool THeadBrowseWindow::FormCreate() {
    WaitCursor wait;
    m_labels.apply();
    try {
        runQuery(medialist::validSortExpression(m_state.settings.singerSortOrder), 0, 0);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return false;
    }
    if (m_model->rowCount() == 0) {
        m_messages.information(QStringLiteral("Es wurden keine Daten gefunden!"), 40302);
        return false;
    }
    columnwidths::fit(*m_grid, 70); // now with the first rows
    return true;
}

void THeadBrowseWindow::showColumnTitles(const QStringList& titles) {
    m_model->setColumnTitles(titles);
    columnwidths::fit(*m_grid, 70);
}

void THeadBrowseWindow::runQuery(const QString& sort, int keepCarrier, int fallbackRow) {
    m_sort = sort;
    m_model->setQuery(std::make_unique<medialist::Query>(m_state.db, sort, m_filter));
    int row = keepCarrier ? m_model->positionOfCarrier(keepCarrier) : -1;
    if (row < 0)
        row = qMin(fallbackRow, m_model->rowCount() - 1);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &THeadBrowseWindow::currentChanged, Qt::UniqueConnection);
    setCurrentRow(row);
    updateRowLabel();
    updateCommands();
}

void THeadBrowseWindow::updateCommands() {
    const bool rows = m_model->rowCount() > 0;
    for (QAction* a : {m_edit, m_display, m_delete, m_export})
        a->setEnabled(rows);
    m_edit->setEnabled(rows && bool(m_hooks.editCarrier));
    m_display->setEnabled(rows && bool(m_hooks.displayCarrier));
    const bool cd = m_state.cdDrivePresent() || m_state.cdPlayerOpen;
    for (QAction* a : std::as_const(m_discCodes))
        a->setEnabled(rows && cd);
    m_lend->setEnabled(rows && bool(m_hooks.lendCarrier));
    m_return->setEnabled(rows && bool(m_hooks.returnCarrier));
    m_print->setEnabled(rows && bool(m_hooks.printCarrier));
    m_cover->setEnabled(rows && bool(m_hooks.printCover));
    for (const auto& [b, a] : std::as_const(m_buttons))
        b->setEnabled(a->isEnabled());
}

int THeadBrowseWindow::currentRow() const {
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void THeadBrowseWindow::setCurrentRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const int column = qMax(0, m_grid->currentIndex().column());
    m_grid->setCurrentIndex(m_model->index(row, column));
    m_grid->scrollTo(m_model->index(row, column));
    updateRowLabel();
}

int THeadBrowseWindow::currentCarrier() const {
    const int row = currentRow();
    return row < 0 ? 0 : int(m_model->carrierNumberAt(row));
}

void THeadBrowseWindow::currentChanged() {
    updateRowLabel();
    const medialist::Row* row = m_model->rowAt(currentRow());
    const QString initial =
        row ? medialist::initialOf((*row)[medialist::Group].toString()) : QString();
    const QSignalBlocker block(m_tabs);
    for (int i = 1; i + 1 < m_tabs->count(); ++i) {
        if (m_tabs->tabText(i) == initial) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }
}

void THeadBrowseWindow::updateRowLabel() {
    const int row = currentRow();
    const int count = m_model->rowCount();
    m_rowLabel->setText(
        QStringLiteral("Datensatz %1 von %2").arg(row < 0 ? 0 : row + 1).arg(row < 0 ? 0 : count));
}

void THeadBrowseWindow::refreshMediaList() {
    WaitCursor wait;
    const int carrier = currentCarrier();
    const int row = qMax(0, currentRow());
    const bool atEnd = row + 1 >= m_model->rowCount();
    m_labels.apply();
    try {
        runQuery(m_sort, carrier, atEnd ? INT_MAX : row);
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

void THeadBrowseWindow::hintsChanged(bool) {}

QList<QMenu*> THeadBrowseWindow::contributedMenus() {
    return {m_menu};
}

void THeadBrowseWindow::showContextMenu(const QPoint& globalPos) {
    m_context->popup(globalPos);
}

void THeadBrowseWindow::sortByColumn(int column) {
    const auto& columns = medialist::gridColumns();
    if (column < 0 || column >= int(columns.size()))
        return;
    WaitCursor wait;
    m_state.settings.singerSortOrder = columns[size_t(column)].sortExpression;
    try {
        runQuery(m_state.settings.singerSortOrder, currentCarrier(), qMax(0, currentRow()));
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

void THeadBrowseWindow::defaultSort() {
    WaitCursor wait;
    m_state.settings.singerSortOrder.clear();
    try {
        runQuery({}, currentCarrier(), qMax(0, currentRow()));
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

void THeadBrowseWindow::jumpTo(QChar c) {
    if (m_jumping || m_model->rowCount() == 0)
        return;
    m_jumping = true;
    m_tabs->setEnabled(false);
    const int count = m_model->rowCount();
    int target = currentRow();
    if (c == QLatin1Char('<')) {
        target = 0;
    } else if (c == QLatin1Char('>')) {
        target = count - 1;
    } else if (c.isLetterOrNumber()) {
        try {
            const int row = qMax(0, currentRow());
            target = int(m_model->query()->jump(row, m_model->rowAt(row), m_model->rowAt(row + 1),
                                                c.toUpper()));
        } catch (const DbError& e) {
            m_messages.error(e.message());
        }
    }
    setCurrentRow(target);
    m_tabs->setEnabled(true);
    m_jumping = false;
    currentChanged();
}

int THeadBrowseWindow::checkedCarrier() {
    const int carrier = currentCarrier();
    if (carrier == 0)
        return 0;
    try {
        if (carrierdelete::describe(m_state.db, carrier))
            return carrier;
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return 0;
    }
    m_messages.information(kGone, 31001);
    refreshMediaList();
    return 0;
}

bool THeadBrowseWindow::carrierWindowOpen(int carrier) const {
    for (QMdiSubWindow* w : m_main.mdiArea()->subWindowList()) {
        if (auto* child = dynamic_cast<ChildWindow*>(w->widget());
            child && child != this && child->carrierNumber() == carrier)
            return true;
    }
    return false;
}

void THeadBrowseWindow::EditClick() {
    if (const int n = checkedCarrier(); n && m_hooks.editCarrier)
        m_hooks.editCarrier(n);
}

void THeadBrowseWindow::DisplayClick() {
    if (const int n = checkedCarrier(); n && m_hooks.displayCarrier)
        m_hooks.displayCarrier(n);
}

void THeadBrowseWindow::DeleteClick() {
    const int n = checkedCarrier();
    if (!n)
        return;
    if (carrierWindowOpen(n)) {
        m_messages.information(QStringLiteral("Dieser Datensatz kann nicht gelöscht werden, da er "
                                              "gerade in Bearbeitung ist!"),
                               31002);
        return;
    }
    const QString name = carrierdelete::describe(m_state.db, n).value_or(QString());
    if (m_messages.confirm(
            QStringLiteral("Soll der Tontraeger \"%1\" wirklich gelöscht werden?").arg(name),
            MessageButton::Yes | MessageButton::No | MessageButton::Help,
            31003) != MessageButton::Yes)
        return;
    try {
        WaitCursor wait;
        carrierdelete::deleteCarrier(m_state.db, n);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return;
    }
    m_main.notifyChildren(kCaption, true, [](ChildWindow& c) { c.refreshMediaList(); });
    m_main.updateMenuItems();
    if (m_model->rowCount() == 0) {
        Message m;
        m.kind = MessageKind::Information;
        m.text = QStringLiteral(
            "Es sind keine Daten zum Bearbeiten vorhanden. Das Fenster wird geschlossen!");
        m.buttons = MessageButton::Ok;
        m.helpContext = 31009;
        m_messages.show(m);
        closeWindow();
    }
}

void THeadBrowseWindow::ExportClick() {
    const int n = checkedCarrier();
    if (!n)
        return;
    FileChoice choice;
    choice.title = QStringLiteral("Tonträger exportieren");
    choice.helpContext = 34005;
    choice.directory = m_state.settings.exportImportPath;
    choice.filter = carrierfile::fileFilter();
    QString path = m_messages.chooseSaveFile(choice);
    if (path.isEmpty())
        return;
    path = carrierfile::withDefaultExtension(path);
    m_state.settings.exportImportPath = QFileInfo(path).absolutePath();
    const bool purchase =
        m_messages.confirm(QStringLiteral("Sollen auch die Kaufdaten exportiert werden?"),
                           MessageButton::Yes | MessageButton::No | MessageButton::Help,
                           34006) == MessageButton::Yes;
    QString error;
    WaitCursor wait;
    if (!carrierexport::exportToFile(m_state.db, n, purchase, path, &error))
        m_messages.error(error, 31004);
}

void THeadBrowseWindow::DiscCodeClick(const QString& drive) {
    const int n = checkedCarrier();
    if (!n)
        return;
    try {
        disccodes::record(m_state.db, n, drive, m_messages);
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

bool THeadBrowseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            key->accept();
            EditClick();
            return true;
        }
        const QString text = key->text();
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::ShiftModifier) {
            if (text.size() == 1 && text.at(0).isLetterOrNumber()) {
                key->accept();
                jumpTo(text.at(0).toUpper());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void THeadBrowseWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THeadBrowseWindow::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void THeadBrowseWindow::closeEvent(QCloseEvent* event) {
    m_menu->hide();
    event->accept();
}

void THeadBrowseWindow::saveAsCsv() {
    // The list writes itself in one pass rather than through the model's pages.
    medialist::Query* query = m_model->query();
    if (!query)
        return;
    QStringList titles; // as the grid shows them
    for (int c = 0; c < m_model->columnCount(); ++c)
        titles.append(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    csvsave::saveWith(this, m_messages, QStringLiteral("Tonträger.csv"),
                      [&](QIODevice* file, const csv::Progress& progress) {
                          return listcsv::write(m_state.db, *query, titles, file, progress);
                      });
}
