#include "core/catalogue/carrierdelete.h"
#include "core/db/recordaccess.h"
#include "core/shell/startupsequence.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/settingsdialog.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {
// A child window that counts what it was told and may refuse to close.
class FakeChild : public QWidget, public ChildWindow {
public:
    explicit FakeChild(const QString& caption) { setWindowTitle(caption); }
    int songOrder = 0, colours = 0, led = 0;
    bool refuseClose = false;
    void songOrderChanged() override { ++songOrder; }
    void cdColoursChanged() override { ++colours; }
    void cdLedModeChanged() override { ++led; }

protected:
    void closeEvent(QCloseEvent* e) override { refuseClose ? e->ignore() : e->accept(); }
};
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;

    QStringList menuCaptions(QMenu* menu) {
        QStringList captions;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            QString c = a->text();
            if (!a->shortcut().isEmpty())
                c += QLatin1Char('\t') + a->shortcut().toString();
            captions.append(c);
        }
        return captions;
    }
    QMenu* topMenu(const QString& caption) {
        for (QAction* a : m_main->menuBar()->actions()) {
            if (a->text() == caption)
                return a->menu();
        }
        return nullptr;
    }
    void registerAll() {
        for (const CommandInfo& c : mainCommands())
            m_main->setCommandHandler(c.command, [] {});
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        // The tip of the day opens modally 50 ms after the first show and would wait for a
        // click inside any later wait of a slow run.
        m_state->settings.showTip = false;
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void menusInOrder() {
        QStringList tops;
        for (QAction* a : m_main->menuBar()->actions())
            tops.append(a->text());
        QCOMPARE(tops, QStringList({"&Datei", "&Suchen", "&Optionen", "Hilfsdatenban&ken",
                                    "&Fenster", "&Hilfe"}));
        QCOMPARE(menuCaptions(topMenu("&Datei")),
                 QStringList(
                     {"Tonträger &erfassen\tCtrl+E", "Tonträger &importieren\tCtrl+M",
                      "Tonträger &bearbeiten\tCtrl+B", "&Liste drucken...",
                      "&Alle Tonträger drucken...", "&CD-Player\tCtrl+P", "Verleihver&waltung...",
                      "&Statistik...", "Datensicherung", "Datenwiederherstellung",
                      "Daten &übernehmen...", "Discogs-Sammlung im&portieren...",
                      "Discogs-Sammlung e&xportieren...", "&Druckereinrichtung...", "E&nde\tF3"}));
        QCOMPARE(
            menuCaptions(topMenu("&Suchen")),
            QStringList({"Suche nach &Liedern...\tCtrl+L", "Suche nach &Tonträgern...\tCtrl+T"}));
        QCOMPARE(menuCaptions(topMenu("&Hilfe")).first(), QStringLiteral("Inde&x\tF1"));
        QCOMPARE(m_main->action(MainCommand::ImportCarrier)->statusTip(),
                 QStringLiteral("Importiert die Daten eines Tonträgers aus einer Textdatei"));
        QCOMPARE(m_main->action(MainCommand::Settings)->property("helpContext").toInt(), 10201);
        QVERIFY(!m_main->action(MainCommand::ScannerSource)->isVisible());
    }

    void toolBarsInOneRow() {
        QStringList captions;
        for (int i = 0; i < 3; ++i) {
            QToolBar* bar = m_main->toolBar(i);
            QVERIFY(bar);
            QCOMPARE(m_main->toolBarArea(bar), Qt::TopToolBarArea);
            QVERIFY(!m_main->toolBarBreak(bar));
            for (QAction* a : bar->actions()) {
                if (!a->isSeparator())
                    captions.append(a->text());
            }
        }
        QCOMPARE(captions.size(), 14);
        QCOMPARE(captions.first(), QStringLiteral("Tonträger bearbeiten"));
        QCOMPARE(captions.last(), QStringLiteral("Icons anordnen"));
    }

    void dataCommandsFollowTheCarrierCount() {
        registerAll();
        m_main->updateMenuItems();
        QVERIFY(!m_main->action(MainCommand::EditCarriers)->isEnabled());
        QVERIFY(!m_main->action(MainCommand::SearchSongs)->isEnabled());
        QVERIFY(m_main->action(MainCommand::NewCarrier)->isEnabled());
        QVERIFY(m_main->action(MainCommand::ImportCarrier)->isEnabled());
        QVERIFY(m_main->action(MainCommand::Lending)->isEnabled());
        QVERIFY(!m_main->action(MainCommand::Tile)->isEnabled());

        CarrierRecord c;
        c.gruppeInterpretText1 = QStringLiteral("Erster");
        c.folgenummerKopf = 1;
        records::insert(m_state->db, c);
        m_main->addChildWindow(new FakeChild(QStringLiteral("Tonträger erfassen")));
        QVERIFY(m_main->action(MainCommand::EditCarriers)->isEnabled());
        QVERIFY(m_main->action(MainCommand::Tile)->isEnabled());

        m_state->busy = true;
        m_main->updateMenuItems();
        QVERIFY(!m_main->action(MainCommand::EditCarriers)->isEnabled());
    }

    void cdPlayerWithoutADrive() {
        // Disc images play without a drive.
        registerAll();
        m_state->cdDrives.clear();
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::CdPlayer)->isEnabled());
    }

    void commandsWithoutAWindowStayDisabled() {
        m_main->updateMenuItems();
        QVERIFY(!m_main->action(MainCommand::NewCarrier)->isEnabled());
        QVERIFY(m_main->action(MainCommand::Settings)->isEnabled());
        QVERIFY(m_main->action(MainCommand::Exit)->isEnabled());
    }

    // A window that exists once is found by its key, whatever its caption says meanwhile.
    void activateOrOpenByKey() {
        int created = 0;
        auto make = [&] {
            ++created;
            return new FakeChild(QStringLiteral("Tonträgerarten bearbeiten"));
        };
        m_main->addChildWindow(new FakeChild(QStringLiteral("Tonträgerarten bearbeiten")));
        QMdiSubWindow* first = m_main->activateOrOpen(QStringLiteral("lookup:0"), make);
        QCOMPARE(created, 1); // a same-named window opened otherwise is not the one
        first->widget()->setWindowTitle(QStringLiteral("Tonträgerarten bearbeiten: Neu"));
        QMdiSubWindow* second = m_main->activateOrOpen(QStringLiteral("lookup:0"), make);
        QCOMPARE(created, 1);
        QCOMPARE(first, second);
    }

    // A store's notice is enough: nobody has to tell the main window about a deleted carrier.
    void commandsFollowStoredChanges() {
        registerAll();
        CarrierRecord c;
        c.gruppeInterpretText1 = QStringLiteral("Einziger");
        c.folgenummerKopf = 1;
        records::insert(m_state->db, c);
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::EditCarriers)->isEnabled());
        carrierdelete::deleteCarrier(m_state->db, 1);
        QTRY_VERIFY(!m_main->action(MainCommand::EditCarriers)->isEnabled());
    }

    void buttonModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("style");
        QTest::newRow("images") << 1 << int(Qt::ToolButtonIconOnly);
        QTest::newRow("captions") << 2 << int(Qt::ToolButtonTextOnly);
        QTest::newRow("both") << 3 << int(Qt::ToolButtonTextUnderIcon);
        QTest::newRow("out of range keeps") << 7 << int(Qt::ToolButtonIconOnly);
    }
    void buttonModes() {
        QFETCH(int, mode);
        QFETCH(int, style);
        m_main->setButtonType(mode);
        QCOMPARE(int(m_main->toolBar(0)->toolButtonStyle()), style);
        QCOMPARE(m_main->buttonType(), mode == 7 ? 1 : mode);
    }

    void closingWritesTheSettings() {
        m_state->settings.globalNumber = 77;
        QVERIFY(m_main->close());
        QCOMPARE(settingsfile::read(m_state->settingsPath()).globalNumber, 77);
        QVERIFY(!m_state->db.isOpen());
    }

    void aChildMayRefuseTheClose() {
        auto* child = new FakeChild(QStringLiteral("Tonträger erfassen"));
        child->refuseClose = true;
        m_main->addChildWindow(child);
        QVERIFY(!m_main->close());
        QVERIFY(!QFile::exists(m_state->settingsPath()));
        QVERIFY(m_state->db.isOpen());
    }

    // A command that meets a database another program is writing tells so and the program
    // goes on, with its windows as they were; once the other program is done it works.
    void aDatabaseFailureUnderACommandIsTold() {
        auto* child = new FakeChild(QStringLiteral("Tonträger bearbeiten"));
        m_main->addChildWindow(child);
        int stored = 0;
        m_main->setCommandHandler(MainCommand::Lending, [this, &stored] {
            Transaction t(m_state->db);
            m_state->db.exec(u"DELETE FROM \"MUSIKKOP\"");
            t.commit();
            ++stored;
        });
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::Lending)->isEnabled());
        Database other;
        other.open(m_state->db.path());
        other.exec(u"BEGIN EXCLUSIVE");
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->buttons().constFirst()->click();
        });
        m_main->action(MainCommand::Lending)->trigger();
        QCOMPARE(shown, Database::busyText());
        QCOMPARE(stored, 0);
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(m_state->db.isOpen());
        QVERIFY(!m_state->db.inTransaction());

        other.exec(u"ROLLBACK");
        m_main->action(MainCommand::Lending)->trigger();
        QCOMPARE(stored, 1);
    }

    void settingsShowAndHideTheBars() {
        m_main->show();
        QVERIFY(m_main->statusBar()->isVisible());
        m_state->settings.showToolbar = false;
        m_main->applySettings();
        QVERIFY(!m_main->toolBar(0)->isVisible());
    }

    // "Fenster als &Registerkarten" shows the work area's windows as closable, movable tabs,
    // at once after the dialog and at the next start from the settings file.
    void windowsAsTabs() {
        m_main->show();
        for (const char* caption : {"Eins", "Zwei"})
            m_main->addChildWindow(new FakeChild(QString::fromUtf8(caption)));
        QMdiArea* area = m_main->mdiArea();
        QCOMPARE(area->viewMode(), QMdiArea::SubWindowView);
        QAction* command = m_main->action(MainCommand::Settings);
        QTRY_VERIFY(command->isEnabled());
        bool answered = false;
        QTimer::singleShot(0, this, [&answered] {
            auto* dialog = qobject_cast<TSettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCheckBox* box = dialog->checkBox(QStringLiteral("Fenster als &Registerkarten"));
            QVERIFY(box && !box->isChecked());
            box->setChecked(true);
            dialog->accept();
            answered = true;
        });
        command->trigger();
        QVERIFY(answered);
        QCOMPARE(area->viewMode(), QMdiArea::TabbedView);
        QVERIFY(area->tabsClosable());
        QVERIFY(area->tabsMovable());
        auto* tabs = area->findChild<QTabBar*>();
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 2);
        // Tabs are not arranged: tiling would turn them into loose windows.
        QTRY_VERIFY(!m_main->action(MainCommand::Cascade)->isEnabled());
        QVERIFY(!m_main->action(MainCommand::Tile)->isEnabled());
        QVERIFY(!m_main->action(MainCommand::MinimizeAll)->isEnabled());
        QVERIFY(m_main->action(MainCommand::CloseAll)->isEnabled());
        QVERIFY(settingsfile::read(m_state->settingsPath()).tabbedWindows);

        m_state->settings.tabbedWindows = false;
        m_main->applySettings();
        QCOMPARE(area->viewMode(), QMdiArea::SubWindowView);
        QTRY_VERIFY(m_main->action(MainCommand::Cascade)->isEnabled());
        m_state->settings.tabbedWindows = true;
        m_main->applySettings();
        QCOMPARE(area->viewMode(), QMdiArea::TabbedView);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
