#include "core/backup/archivelisting.h"
#include "core/backup/databackup.h"
#include "core/db/recordaccess.h"
#include "core/shell/startupsequence.h"
#include "gui/backup/backupcommands.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include "gui/backup/backupprogressdialog.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
class Child : public QWidget, public ChildWindow {
public:
    explicit Child(const QString& caption, bool* refuse = nullptr) : m_refuse(refuse) {
        setWindowTitle(caption);
    }

protected:
    void closeEvent(QCloseEvent* e) override {
        (m_refuse && *m_refuse) ? e->ignore() : e->accept();
    }

private:
    bool* m_refuse;
};
} // namespace

class TestBackupCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    BackupCommands* m_commands = nullptr;

    QString archivePath() const { return m_dir->filePath(QStringLiteral("s.bck")); }
    void addCarrier(double key) {
        CarrierRecord c;
        c.gruppeInterpretText1 = QStringLiteral("Tonträger %1").arg(key);
        c.folgenummerKopf = key;
        records::insert(m_state->db, c);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        for (const CommandInfo& c : mainCommands())
            m_main->setCommandHandler(c.command, [] {});
        m_commands = new BackupCommands(*m_main, m_messages);
        m_commands->install();
        m_commands->setClock([] { return QDateTime(QDate(2004, 12, 29), QTime(23, 9, 10)); });
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void backupOffersTheDefaultName() {
        m_messages.answerFile(archivePath());
        m_commands->backup();
        QCOMPARE(m_messages.fileChoices().size(), 1);
        QCOMPARE(m_messages.fileChoices().first().fileName,
                 QStringLiteral("WDsKmBackup-2004-12-29-23-09-10.bck"));
        QCOMPARE(m_messages.fileChoices().first().title, QStringLiteral("Datensicherung ..."));
        QVERIFY(m_messages.messages().last().text.startsWith(
            QLatin1String("Die Datensicherung war erfolgreich. Kompressionsrate = ")));
        QCOMPARE(m_state->settings.backupPath, m_dir->path());
        QVERIFY(m_state->db.isOpen());
        QVERIFY(!m_state->busy);
        QCOMPARE(listArchive(archivePath())->title,
                 QStringLiteral("WDsKmBackup-2004-12-29-23-09-10"));
    }

    void openChildren_data() {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("fileDialogs");
        QTest::newRow("Ja closes them") << MessageButton::Yes << 0 << 1;
        QTest::newRow("Nein changes nothing") << MessageButton::No << 2 << 0;
    }
    void openChildren() {
        QFETCH(MessageButton, answer);
        QFETCH(int, remaining);
        QFETCH(int, fileDialogs);
        m_main->addChildWindow(new Child(QStringLiteral("Tonträger erfassen")));
        m_main->addChildWindow(new Child(QStringLiteral("Tonträgerarten bearbeiten")));
        m_messages.answer(answer);
        m_commands->backup(); // the save dialog is cancelled
        QApplication::processEvents();
        QCOMPARE(int(m_main->mdiArea()->subWindowList().size()), remaining);
        QCOMPARE(int(m_messages.fileChoices().size()), fileDialogs);
        QVERIFY(
            m_messages.messages().first().text.startsWith(QLatin1String("Vor der Datensicherung")));
        QVERIFY(m_state->db.isOpen());
    }

    void aRefusingChildBringsTheQuestionBack() {
        bool refuse = true;
        m_main->addChildWindow(new Child(QStringLiteral("Tonträger erfassen"), &refuse));
        m_messages.answer(MessageButton::Yes);
        m_messages.answer(MessageButton::No);
        m_commands->backup();
        QCOMPARE(m_messages.messages().size(), 2);
        QVERIFY(m_messages.fileChoices().isEmpty());
        refuse = false;
    }

    void restoreOfANonArchive() {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Das ist keine Sicherung, sondern ein Einkaufszettel.");
        f.close();
        addCarrier(1);
        m_messages.answer(MessageButton::Yes); // overwrite warning
        m_messages.answerFile(archivePath());
        m_commands->restore();
        const Message& last = m_messages.messages().last();
        QCOMPARE(last.kind, MessageKind::Error);
        QVERIFY2(last.text.startsWith(QStringLiteral("Die Datensicherung ist unvollständig")),
                 qPrintable(last.text));
        // Afterwards the program works as before.
        QVERIFY(m_state->db.isOpen());
        QVERIFY(!m_state->busy);
        QVERIFY(m_main->isEnabled());
        QVERIFY(m_main->action(MainCommand::EditCarriers)->isEnabled());
        QCOMPARE(records::count(m_state->db, schema::table(u"MUSIKKOP")), 1);
    }

    void restoreBringsBackTheSavedCarriers() {
        m_messages.answerFile(archivePath());
        m_commands->backup(); // an empty collection
        addCarrier(1);
        m_main->updateMenuItems();
        QVERIFY(m_main->action(MainCommand::EditCarriers)->isEnabled());
        m_messages.answer(MessageButton::Yes);
        m_messages.answerFile(archivePath());
        m_commands->restore();
        QCOMPARE(m_messages.messages().last().text,
                 QStringLiteral("Die Datenwiederherstellung war erfolgreich!"));
        QCOMPARE(records::count(m_state->db, schema::table(u"MUSIKKOP")), 0);
        QVERIFY(!m_main->action(MainCommand::EditCarriers)->isEnabled());
    }

    void cancelFromTheProgressWindow_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Abbruch") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelFromTheProgressWindow() {
        QFETCH(bool, escape);
        m_messages.answerFile(archivePath());
        m_messages.answer(MessageButton::Yes); // "Möchten Sie die Datensicherung abbrechen?"
        QTimer::singleShot(0, this, [this, escape] {
            TBackupProgressDlg* dialog = m_commands->progressDialog();
            QVERIFY(dialog && dialog->isEnabled());
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (!escape && b->text() == QStringLiteral("&Abbruch"))
                    b->click();
        });
        m_commands->backup();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Möchten Sie die Datensicherung abbrechen?"));
        QVERIFY(m_state->db.isOpen());
        QVERIFY(m_main->isEnabled());
    }

    void declinedOverwriteWarningDoesNothing() {
        m_messages.answer(MessageButton::No);
        m_commands->restore();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().kind, MessageKind::Warning);
        QVERIFY(m_messages.fileChoices().isEmpty());
    }
};

QTEST_MAIN(TestBackupCommands)
#include "tst_backupcommands.moc"
