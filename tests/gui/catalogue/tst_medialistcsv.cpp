// "Als CSV-Datei speichern..." of the carrier list: the file equals what
// `diskarium-tool carriers --csv` writes for the same data.
#include "../../core/catalogue/carrierfixture.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestMediaListCsv : public QObject {
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
        QAction* entry = nullptr;
        for (QMenu* menu : {window->carrierMenu(), window->contextMenu()}) {
            entry = nullptr;
            for (QAction* a : menu->actions())
                if (a->text() == QStringLiteral("Als &CSV-Datei speichern..."))
                    entry = a;
            QVERIFY(entry);
        }
        const QString path = dir.filePath(QStringLiteral("fenster.csv"));
        messages.answerFile(path);
        entry->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray fromWindow = file.readAll();
        QVERIFY(fromWindow.contains("\"A;B\";"));

        QProcess tool;
        tool.start(QStringLiteral(TOOL_PATH),
                   {QStringLiteral("carriers"), dir.filePath(QStringLiteral("daten")),
                    QStringLiteral("--csv")});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(tool.readAllStandardOutput(), fromWindow);
    }
};

QTEST_MAIN(TestMediaListCsv)
#include "tst_medialistcsv.moc"
