#include "core/db/recordaccess.h"
#include "core/db/records.h"
#include "gui/paradox/paradoxcommands.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/paradoxwriter.h"
#include "support/scriptedmessageservice.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// "Daten übernehmen..." as the user runs it from the main window.
class TestParadoxCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    ParadoxCommands* m_commands = nullptr;
    int m_backups = 0;

    QString source() const { return m_dir->filePath(QStringLiteral("quelle")); }
    QStringList carrierGroups() {
        QStringList groups;
        Statement s =
            m_state->db.prepare(u"SELECT \"Gruppe/Interpret/Text 1\" FROM MUSIKKOP ORDER BY 1");
        while (s.next())
            groups.append(s.toString(0));
        return groups;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        // As the program holds it while it runs.
        m_state->lock.setDirectory(m_state->dataDirectory);
        QVERIFY(m_state->lock.acquire() == DataDirectoryLock::Result::Locked);
        m_messages = ScriptedMessageService();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        for (const CommandInfo& c : mainCommands())
            m_main->setCommandHandler(c.command, [] {});
        m_backups = 0;
        m_main->setCommandHandler(MainCommand::Backup, [this] { ++m_backups; });
        m_commands = new ParadoxCommands(*m_main, m_messages);
        m_commands->install();
        QDir().mkpath(source());
        QVERIFY(paradoxwriter::writeDataSet(
            source(), {{QStringLiteral("MUSIKKOP"),
                        {{QStringLiteral("Neu"), QStringLiteral("Platte"), 1.0, 1.0, 1.0}}}}));
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void importFromTheMenu_data() {
        QTest::addColumn<bool>("present");   // a carrier exists before
        QTest::addColumn<QString>("folder"); // "" cancels the choice
        QTest::addColumn<QList<MessageButton>>("answers");
        QTest::addColumn<QStringList>("groups"); // carriers afterwards
        QTest::addColumn<int>("backups");
        QTest::addColumn<QString>("lastMessage");
        const QList<MessageButton> none;
        QTest::newRow("empty data set") << false << "quelle" << none << QStringList{"Neu"} << 0
                                        << "Die Daten wurden übernommen.";
        QTest::newRow("folder choice cancelled") << false << "" << none << QStringList() << 0 << "";
        QTest::newRow("incomplete folder") << false << "." << none << QStringList() << 0
                                           << "Die Datendatei CURRENCY.DB konnte nicht gefunden";
        QTest::newRow("present data kept") << true << "quelle" << QList{MessageButton::No}
                                           << QStringList{"Alt"} << 0 << "bereits 1 Tonträger";
        QTest::newRow("replaced without backup")
            << true << "quelle" << QList{MessageButton::Yes, MessageButton::No}
            << QStringList{"Neu"} << 0
            << "<td>Tonträger</td><td align=\"right\">1</td><td align=\"right\">1</td>";
        QTest::newRow("replaced after a backup")
            << true << "quelle" << QList{MessageButton::Yes, MessageButton::Yes}
            << QStringList{"Neu"} << 1 << "Die Daten wurden übernommen.";
    }

    void importFromTheMenu() {
        QFETCH(bool, present);
        QFETCH(QString, folder);
        QFETCH(QList<MessageButton>, answers);
        QFETCH(QStringList, groups);
        QFETCH(int, backups);
        QFETCH(QString, lastMessage);
        if (present) {
            CarrierRecord c;
            c.gruppeInterpretText1 = QStringLiteral("Alt");
            c.folgenummerKopf = 1;
            records::insert(m_state->db, c);
        }
        if (!folder.isEmpty())
            m_messages.answerFile(m_dir->filePath(folder));
        for (MessageButton b : answers)
            m_messages.answer(b);
        m_main->updateMenuItems();
        m_main->action(MainCommand::ImportParadox)->trigger();

        QCOMPARE(m_messages.fileChoices().size(), 1);
        QVERIFY(m_state->db.isOpen());
        QVERIFY(m_state->lock.isHeld());
        QVERIFY(!m_state->busy);
        QCOMPARE(carrierGroups(), groups.isEmpty() && present ? QStringList{"Alt"} : groups);
        QCOMPARE(m_backups, backups);
        const QString last =
            m_messages.messages().isEmpty() ? QString() : m_messages.messages().last().text;
        QVERIFY2(last.contains(lastMessage), qPrintable(last));
    }
};

QTEST_MAIN(TestParadoxCommands)
#include "tst_paradoxcommands.moc"
