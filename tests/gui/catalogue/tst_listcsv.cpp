// "Als CSV-Datei speichern..." of the carrier list and the search results: the file equals
// what `diskarium-tool carriers --csv` and `search --csv` write for the same data.
#include "../../core/catalogue/carrierfixture.h"
#include "../../core/catalogue/searchfixture.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/catalogue/posbrowsewindow.h"
#include "gui/catalogue/searchcommands.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

static QAction* csvEntry(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("Als &CSV-Datei speichern..."))
            return a;
    return nullptr;
}

// Standard output as bytes: the byte order mark must arrive too.
static QByteArray toolOutput(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(TOOL_PATH), arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return "exit " + QByteArray::number(tool.exitCode()) + ": " + tool.readAllStandardError();
    return tool.readAllStandardOutput();
}

class TestListCsv : public QObject {
    Q_OBJECT

private slots:
    // Any other list: the columns as the header shows them, moved and hidden ones included.
    void viewExportFollowsTheHeader() {
        QStandardItemModel model(2, 3);
        model.setHorizontalHeaderLabels({"Titel", "Laufzeit", "Interpret"});
        model.setItem(0, 0, new QStandardItem("Über;all"));
        model.setItem(0, 1, new QStandardItem("3,45"));
        model.setItem(0, 2, new QStandardItem("Abba"));
        model.setItem(1, 0, new QStandardItem("Zwei"));
        QTableView view;
        view.setModel(&model);
        view.horizontalHeader()->moveSection(2, 0);
        view.setColumnHidden(1, true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lieder"));
        ScriptedMessageService messages;
        messages.answerFile(path);
        QVERIFY(csvsave::saveView(&view, view, messages, QStringLiteral("Lieder.csv")));
        QFile file(path + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBFInterpret;Titel\r\nAbba;\"\xC3\x9C"
                                            "ber;all\"\r\n;Zwei\r\n"));
        // The next choice starts in the folder of this one.
        messages.answerFile(QString());
        QVERIFY(!csvsave::saveView(&view, view, messages, QStringLiteral("Lieder.csv")));
        QCOMPARE(messages.fileChoices().constLast().directory, QDir(dir.path()).absolutePath());
    }

    void windowExportEqualsToolExport() {
        QTemporaryDir dir;
        auto state = openAppState(dir.filePath(QStringLiteral("daten")));
        QVERIFY(state);
        addCarrier(state->db, CarrierSpec(1, QStringLiteral("A;B")).withPrice(3.45));
        addCarrier(state->db, CarrierSpec(2, QStringLiteral("Er sagt \"ja\"")).withPrice(1234.5));
        addCarrier(state->db,
                   CarrierSpec(3, QStringLiteral(" vorn")).withTitle(QStringLiteral("Größe €")));
        addCarrier(state->db, CarrierSpec(4, QStringLiteral("Zeile 1\r\nZeile 2")));
        HintFilter hints;
        TMain main(*state, hints);
        ScriptedMessageService messages;
        auto* commands = new MediaListCommands(main, messages);
        commands->install();
        THeadBrowseWindow* window = commands->openList();
        QVERIFY(window);
        QVERIFY(csvEntry(window->carrierMenu()));
        QAction* entry = csvEntry(window->contextMenu());
        QVERIFY(entry);
        const QString path = dir.filePath(QStringLiteral("fenster.csv"));
        messages.answerFile(path);
        entry->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray fromWindow = file.readAll();
        QVERIFY(fromWindow.contains("\"A;B\";"));

        QCOMPARE(toolOutput({QStringLiteral("carriers"), dir.filePath(QStringLiteral("daten")),
                             QStringLiteral("--csv")}),
                 fromWindow);
    }

    // A search's result window saves what `search --csv` writes: the found rows in the
    // window's stored order, under the user's field names when the window shows them.
    void foundRowsEqualSearchTool_data() {
        QTest::addColumn<bool>("songs");
        QTest::addColumn<QStringList>("conditions");
        QTest::addColumn<bool>("renamed");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<int>("rows");
        QTest::newRow("carriers") << false << QStringList{"Gruppe:~:be"} << false << "" << 2;
        QTest::newRow("carriers, renamed, sorted")
            << false << QStringList{"Gruppe:~:be", "ODER", "Titel:~:bestie"} << true
            << "MUSIKKOP.\"Kaufpreis\"" << 3;
        QTest::newRow("songs") << true << QStringList{"Titel:~:love"} << false << "" << 3;
        QTest::newRow("songs, renamed, sorted")
            << true << QStringList{"Titel:~:e"} << true << "MUSIKPOS.\"Titel des Liedes\"" << 4;
    }
    void foundRowsEqualSearchTool() {
        QFETCH(bool, songs);
        QFETCH(QStringList, conditions);
        QFETCH(bool, renamed);
        QFETCH(QString, sort);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("daten"));
        auto state = openAppState(data);
        QVERIFY(state);
        searchfixture::fill(state->db);
        records::insert(state->db, FieldLabelOverrideRecord{"T", 10110, "Kün&stler"});
        records::insert(state->db, FieldLabelOverrideRecord{"T", 10525, "Lied&titel"});
        state->settings.ttRename[0] = state->settings.ttRename[5] = renamed;
        (songs ? state->settings.searchSortOrder : state->settings.singerSortOrder) = sort;
        QVERIFY(settingsfile::write(state->settingsPath(), state->settings));
        const search::Kind kind = songs ? search::Kind::Songs : search::Kind::Carriers;
        QString error;
        const auto parsed = search::parseConditions(kind, conditions, &error);
        QVERIFY2(parsed, qPrintable(error));

        HintFilter hints;
        TMain main(*state, hints);
        ScriptedMessageService messages;
        QMenu* context = nullptr;
        if (songs) {
            auto* commands = new SearchCommands(main, messages);
            commands->install();
            TPosBrowseWindow* window = commands->openSongSearch(*parsed);
            QVERIFY(window);
            context = window->contextMenu();
        } else {
            auto* commands = new MediaListCommands(main, messages);
            commands->install();
            THeadBrowseWindow* window =
                commands->openSearchResult(1, search::translate(kind, *parsed));
            QVERIFY(window);
            context = window->contextMenu();
        }
        const QString path = dir.filePath(QStringLiteral("fenster.csv"));
        messages.answerFile(path);
        QAction* entry = csvEntry(context);
        QVERIFY(entry);
        entry->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray fromWindow = file.readAll();
        QCOMPARE(fromWindow.count("\r\n"), rows + 1);
        QCOMPARE(fromWindow.contains(songs ? ";Liedtitel;" : "Künstler;"), renamed);

        QCOMPARE(
            toolOutput(QStringList{QStringLiteral("search"), data,
                                   songs ? QStringLiteral("songs") : QStringLiteral("carriers"),
                                   QStringLiteral("--csv")} +
                       conditions),
            fromWindow);
    }
};

QTEST_MAIN(TestListCsv)
#include "tst_listcsv.moc"
