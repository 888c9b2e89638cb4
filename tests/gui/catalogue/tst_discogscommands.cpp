#include "entrywindowfixture.h"
#include "gui/catalogue/discogscommands.h"
#include "gui/catalogue/discogsimportdialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTimer>

// "Discogs-Sammlung exportieren" of the "Datei" menu.
class TestDiscogsCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    DiscogsCommands* m_commands = nullptr;

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        f->state->settings.showTip = false;
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*f->state, *m_hints);
        m_commands = new DiscogsCommands(*m_main, f->messages);
        m_commands->install();
    }
    void cleanup() {
        m_main.reset();
        f.reset();
    }

    // The export needs a carrier; the import takes a first collection too.
    void commandsNeedACarrierToExport() {
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::ImportDiscogs)->isEnabled());
        QVERIFY(!m_main->action(MainCommand::ExportDiscogs)->isEnabled());
        f->storeCarrier();
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::ExportDiscogs)->isEnabled());
    }

    // Importing into an empty collection makes the export available.
    void importThroughTheMenu() {
        const QString path = f->dir->filePath(QStringLiteral("sammlung.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                   "CollectionFolder,Date Added,Collection Media Condition,"
                   "Collection Sleeve Condition,Collection Notes\r\n"
                   "POLS 272,ABBA,Arrival,Polar,LP,5,1976,123,Uncategorized,,,,\r\n");
        file.close();
        f->messages.answerFile(path);
        m_main->updateMenuItems();
        QTimer::singleShot(0, this, [] {
            auto* d = qobject_cast<TDiscogsImportDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QTRY_VERIFY(d->takeButton()->isEnabled());
            QTest::keyClick(d, Qt::Key_Return);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        m_main->action(MainCommand::ImportDiscogs)->trigger();
        QCOMPARE(f->count("MUSIKKOP"), 1);
        QCOMPARE(f->state->settings.exportImportPath, f->dir->path());
        QVERIFY(m_main->action(MainCommand::ExportDiscogs)->isEnabled());
    }

    void exportTellsTheOutcome_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("written") << "sammlung.csv" << true
                                 << "1 Tonträger wurden in %1 gespeichert.";
        QTest::newRow("missing folder") << "fehlt/sammlung.csv" << false
                                        << "Die Discogs-Sammlung konnte nicht gespeichert werden: ";
    }
    void exportTellsTheOutcome() {
        QFETCH(QString, file);
        QFETCH(bool, written);
        QFETCH(QString, message);
        f->storeCarrier();
        const QString path = f->dir->filePath(file);
        f->messages.answerFile(path);
        QCOMPARE(m_commands->exportCollection(), written);
        QCOMPARE(QFile::exists(path), written);
        QCOMPARE(f->messages.fileChoices().size(), 1);
        QCOMPARE(f->messages.messages().size(), 1);
        const Message& shown = f->messages.messages().first();
        QCOMPARE(shown.kind, written ? MessageKind::Information : MessageKind::Error);
        QVERIFY2(shown.text.startsWith(message.arg(path)), qPrintable(shown.text));
    }
};

QTEST_MAIN(TestDiscogsCommands)
#include "tst_discogscommands.moc"
