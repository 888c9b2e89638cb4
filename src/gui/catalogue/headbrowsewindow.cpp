#include "headbrowsewindow.h"

#include "core/catalogue/listcsv.h"
#include "gui/shell/csvsave.h"

#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/carrierexport.h"
#include "core/catalogue/carrierfile.h"
#include "core/catalogue/disccodes.h"
#include "core/catalogue/medialistmodel.h"
#include "core/common/messageservice.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/waitcursor.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>

namespace {

const QString kHeadCaption = QStringLiteral("Tonträger bearbeiten");

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
    : CarrierBrowseWindow(main, messages, kHelpContext, parent), m_hooks(std::move(hooks)),
      m_filter(std::move(filter)), m_labels(m_state, FieldLabelBinder::MediaList) {
    setWindowTitle(searchNumber > 0 ? kHeadCaption + QStringLiteral(": %1").arg(searchNumber)
                                    : kHeadCaption);
    m_model = new MediaListModel(this);
    connect(m_model, &MediaListModel::countArrived, this, [this] {
        updateRowLabel();
        updateCommands();
    });
    createCommands();
    createWidgets();
    std::vector<FieldLabelBinder::Column> columns;
    for (const medialist::GridColumn& c : medialist::gridColumns())
        columns.push_back({c.labelKey, c.title});
    m_labels.addColumns(std::move(columns),
                        [this](const QStringList& titles) { showColumnTitles(titles); });
}

THeadBrowseWindow::~THeadBrowseWindow() = default;

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
    Frame frame;
    frame.model = m_model;
    frame.endTabs = true;
    frame.minimumColumnWidth = 70;
    frame.buttons = {{QStringLiteral("Schließen"), nullptr, Button::Close},
                     {QStringLiteral("Ändern"), m_edit},
                     {QStringLiteral("Anzeigen"), m_display},
                     {QStringLiteral("Löschen"), m_delete},
                     {QStringLiteral("Drucken"), m_print},
                     {QStringLiteral("Export"), m_export},
                     {QStringLiteral("Verleihen"), m_lend},
                     {QStringLiteral("Zurück"), m_return},
                     {QStringLiteral("Hülle dru."), m_cover},
                     {QStringLiteral("Hilfe"), nullptr, Button::Help}};
    frame.help = m_hooks.help;
    createFrame(frame);
}

void THeadBrowseWindow::runFirstQuery() {
    runQuery(medialist::validSortExpression(m_state.settings.singerSortOrder), 0, 0);
}

void THeadBrowseWindow::showColumnTitles(const QStringList& titles) {
    m_model->setColumnTitles(titles);
    fitColumns();
}

void THeadBrowseWindow::runQuery(const QString& sort, int keepCarrier, int fallbackRow) {
    m_sort = sort;
    m_model->setQuery(std::make_unique<medialist::Query>(m_state.db, sort, m_filter));
    int row = keepCarrier ? m_model->positionOfCarrier(keepCarrier) : -1;
    m_model->growTo(row + 1);
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
    updateButtons();
}

int THeadBrowseWindow::currentCarrier() const {
    const int row = currentRow();
    return row < 0 ? 0 : int(m_model->carrierNumberAt(row));
}

void THeadBrowseWindow::currentChanged() {
    const medialist::Row* row = m_model->rowAt(currentRow());
    showInitial(row ? medialist::initialOf((*row)[medialist::Group].toString()) : QString());
}

void THeadBrowseWindow::refreshMediaList() {
    WaitCursor wait;
    const int carrier = currentCarrier();
    const int row = qMax(0, currentRow());
    const bool atEnd = m_model->countKnown() && row + 1 >= m_model->rowCount();
    m_labels.apply();
    try {
        runQuery(m_sort, carrier, atEnd ? INT_MAX : row);
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

void THeadBrowseWindow::hintsChanged(bool) {}

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
    if (!beginJump())
        return;
    int target = currentRow();
    if (c == QLatin1Char('<')) {
        target = 0;
    } else if (c == QLatin1Char('>')) {
        m_model->finishCount();
        target = m_model->rowCount() - 1;
    } else if (c.isLetterOrNumber()) {
        try {
            const int row = qMax(0, currentRow());
            if (row + 1 >= m_model->rowCount())
                m_model->fetchMore({}); // the jump looks at the next row
            target = int(m_model->query()->jump(row, m_model->rowAt(row), m_model->rowAt(row + 1),
                                                c.toUpper()));
            m_model->growTo(target + 1);
        } catch (const DbError& e) {
            m_messages.error(e.message());
        }
    }
    endJump(target);
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
    // At once, not on the deferred notice: whether rows are left decides what follows.
    refreshMediaList();
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
