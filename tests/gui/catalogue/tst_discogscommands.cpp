#include "entrywindowfixture.h"
#include "gui/catalogue/discogscommands.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"

#include <QAction>
#include <QFile>

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
