#include "core/common/csvwriter.h"
#include "core/db/recordaccess.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "gui/lending/borrowergrid.h"
#include "gui/lending/tlenderdialog.h"
#include "gui/lending/tvwdialog.h"
#include "gui/lending/tvwlenddialog.h"
#include "gui/lending/tvwlendedttdialog.h"
#include "support/appstatefixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

// The lending windows with scripted answers: what they enable, what they ask, and when they
// close.
class TestLendingDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<LendingContext> m_context;

    void addCarrier(int number, double status, const QString& group = {},
                    const QString& title = QStringLiteral("Titel")) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.gruppeInterpretText1 = group.isNull() ? QStringLiteral("Gruppe %1").arg(number) : group;
        c.text2 = title;
        c.artDerSchallplatte = 1;
        c.nummerierung = number;
        c.musikrichtung = 1;
        c.status = status;
        records::insert(m_state->db, c);
    }
    // Carrier 1 lent to "Meier" since 1 Jan 2026, carrier 2 lent and returned in 2025.
    int lendOpenAndReturned() {
        const int who = addBorrower(QStringLiteral("Meier"));
        records::insert(m_state->db,
                        LendingRecord{1, 1, 100, double(who), QDate(2026, 1, 1), {}, 1.0});
        records::insert(m_state->db, LendingRecord{2, 0, 100, double(who), QDate(2025, 1, 1),
                                                   QDate(2025, 2, 1), 1.0});
        return who;
    }
    int addBorrower(const QString& name) {
        BorrowerRecord b;
        b.name1 = name;
        return qRound(borrowers::save(m_state->db, b).folgenummer);
    }
    QStringList askedHelp() const {
        QStringList help;
        for (const Message& m : m_messages.messages())
            help << QString::number(m.helpContext);
        return help;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
        m_context = std::make_unique<LendingContext>(*m_state, m_messages);
        m_context->clock = [] { return QDateTime(QDate(2026, 12, 10), QTime(12, 0)); };
    }

    // Without a borrower the commands on one are disabled and the grid is hidden; a new
    // borrower enables them and becomes the current row.
    void managementEnabling() {
        addBorrower(QStringLiteral("Zorro"));
        borrowers::remove(m_state->db, 1);
        TVwDialog dialog(*m_context);
        dialog.show();
        QVERIFY(!dialog.grid()->isVisible());
        for (const char* caption : {"&Löschen", "Änd&ern", "&Bearbeiten", "Lei&her"})
            QVERIFY2(!dialog.button(QString::fromUtf8(caption))->isEnabled(), caption);
        QVERIFY(dialog.button(QStringLiteral("&Neu"))->isEnabled());
        QVERIFY(dialog.button(QStringLiteral("&Alles"))->isEnabled());
        addBorrower(QStringLiteral("Zorro"));
        dialog.editBorrower = [this](int) { return addBorrower(QStringLiteral("Anton")); };
        dialog.NewClick();
        QVERIFY(dialog.grid()->isVisible());
        QVERIFY(dialog.button(QStringLiteral("&Bearbeiten"))->isEnabled());
        QVERIFY(dialog.button(QStringLiteral("&Bearbeiten"))->isDefault());
        QCOMPARE(dialog.grid()->currentNumber(), 2);
        QCOMPARE(dialog.grid()->item(0, 0)->text(), QStringLiteral("Anton"));
        // "&Alles" without any lending, "&Bearbeiten" on a borrower without lendings.
        dialog.AllClick();
        dialog.EditClick();
        QCOMPARE(askedHelp(), (QStringList{"36003", "36003"}));
    }

    // The close question compares what the edits hold now, the focused one too.
    void closeQuestion_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("stored");
        const int yes = int(MessageButton::Yes), no = int(MessageButton::No),
                  cancel = int(MessageButton::Cancel);
        QTest::newRow("typed, yes") << "Meier" << 0 << yes << QStringList{"36006"} << true << 1;
        QTest::newRow("typed, no") << "Meier" << 0 << no << QStringList{"36006"} << true << 0;
        QTest::newRow("typed, cancel")
            << "Meier" << 0 << cancel << QStringList{"36006"} << false << 0;
        QTest::newRow("nothing typed") << "" << 0 << yes << QStringList{} << true << 0;
        QTest::newRow("yes without a name")
            << "Bonn" << 5 << yes << QStringList{"36006", "36007"} << false << 0;
    }
    void closeQuestion() {
        QFETCH(QString, typed);
        QFETCH(int, field);
        QFETCH(int, answer);
        QFETCH(QStringList, asked);
        QFETCH(bool, closed);
        QFETCH(int, stored);
        TLenderDialog dialog(*m_context, -1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Leiher erfassen"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.edit(field)->setFocus();
        QTest::keyClicks(dialog.edit(field), typed);
        m_messages.answer(MessageButton(answer));
        dialog.reject();
        QCOMPARE(askedHelp(), asked);
        QCOMPARE(dialog.isVisible(), !closed);
        QCOMPARE(int(borrowers::all(m_state->db).size()), stored);
    }

    // Editing: the caption names the borrower without a blank, edits keep to the field
    // widths, typing the old value back is no change.
    void editBorrower() {
        const int n = addBorrower(QStringLiteral("Meier"));
        TLenderDialog dialog(*m_context, n);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Leiher bearbeiten:Meier"));
        QCOMPARE(dialog.edit(4)->maxLength(), 8);
        dialog.edit(0)->setText(QStringLiteral("Maier"));
        dialog.edit(0)->setText(QStringLiteral("Meier"));
        dialog.show();
        dialog.reject();
        QVERIFY(m_messages.messages().isEmpty());
    }

    // A borrower the database refuses is reported with its reason; the values stay.
    void storeFailureKeepsValues() {
        m_state->db.exec(u"CREATE TRIGGER f BEFORE INSERT ON \"VERSTAMM\" BEGIN SELECT "
                         u"RAISE(ABORT, 'Platte voll'); END");
        TLenderDialog dialog(*m_context, -1);
        dialog.edit(0)->setText(QStringLiteral("Meier"));
        QVERIFY(!dialog.save());
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages()[0].text.startsWith(
            QStringLiteral("Der Leiher konnte nicht gespeichert werden!\nPlatte voll")));
        QCOMPARE(dialog.edit(0)->text(), QStringLiteral("Meier"));
        QCOMPARE(dialog.storedNumber(), 0);
    }

    // Lending with no borrower: grid hidden and "&Ok" disabled until "&Erfassen" entered one,
    // who is then the current row; "&Ok" lends and tells the media lists.
    void lendWithoutBorrower() {
        addCarrier(1, 3);
        TVwLendDialog dialog(*m_context, true, 1);
        dialog.show();
        QCOMPARE(dialog.lentOnEdit()->text(), QStringLiteral("10.12.2026"));
        QVERIFY(dialog.lentOnEdit()->isReadOnly());
        QVERIFY(!dialog.grid()->isVisible());
        QVERIFY(!dialog.okButton()->isEnabled());
        addBorrower(QStringLiteral("Zorro"));
        dialog.newBorrower = [this] { return addBorrower(QStringLiteral("Berta")); };
        dialog.NewClick();
        QVERIFY(dialog.grid()->isVisible());
        QVERIFY(dialog.okButton()->isEnabled());
        QCOMPARE(dialog.grid()->currentNumber(), 2);
        int told = 0;
        connect(&m_state->db.notifier(), &ChangeNotifier::changed, this,
                [&told](Change what, int carrier) {
                    told += what == Change::Lendings && carrier == 1;
                });
        dialog.OkButtonClick();
        QCOMPARE(told, 1);
        QCOMPARE(lending::carrierStatus(m_state->db, 1), std::optional<double>(-1));
        QCOMPARE(lending::openLending(m_state->db, 1)->verliehenAn, std::optional<double>(2));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // With [TT Rename] "7" the carrier labels and columns take the user's names; a missing
    // entry keeps the delivered caption.
    void renamedLabels() {
        m_state->db.exec(u"INSERT INTO \"FeldKopie\" VALUES ('T', 10110, '&Künstler')");
        addCarrier(1, 1);
        const int who = addBorrower(QStringLiteral("Meier"));
        records::insert(m_state->db, LendingRecord{1, 0, 5, double(who), QDate(2025, 1, 1),
                                                   QDate(2025, 2, 1), 1.0});
        for (bool on : {false, true}) {
            m_state->settings.ttRename[6] = on;
            TVwLendDialog lend(*m_context, true, 1);
            QCOMPARE(lend.carrierLabel(10110)->text(),
                     on ? QStringLiteral("&Künstler:") : QStringLiteral("Gruppe:"));
            QCOMPARE(lend.carrierLabel(10115)->text(), QStringLiteral("Titel:"));
            TVwLendedTtDialog overview(*m_context, who);
            QCOMPARE(overview.grid()->horizontalHeaderItem(1)->text(),
                     on ? QStringLiteral("Künstler") : QStringLiteral("Gruppe"));
        }
    }

    // The overview refuses per row state, and closes once its last row is gone.
    void overviewCommands_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("return a returned row") << 1 << "return" << QStringList{"36013"};
        QTest::newRow("remind a returned row") << 1 << "remind" << QStringList{"36014"};
        QTest::newRow("delete an open row") << 0 << "delete" << QStringList{"36012"};
    }
    void overviewCommands() {
        QFETCH(int, row);
        QFETCH(QString, command);
        QFETCH(QStringList, asked);
        addCarrier(1, -1);
        addCarrier(2, 1);
        const int who = lendOpenAndReturned();
        TVwLendedTtDialog dialog(*m_context, who);
        QCOMPARE(dialog.nameLabel()->text(), QStringLiteral("Meier"));
        QCOMPARE(dialog.grid()->rowCount(), 2);
        QCOMPARE(dialog.grid()->item(1, 6)->text(), QStringLiteral("01.02.2025"));
        dialog.grid()->selectRow(row);
        int followUps = 0;
        dialog.returnCarrier = [&followUps](int) { ++followUps; };
        dialog.remind = [&followUps](int, qint32) { ++followUps; };
        if (command == QLatin1String("return"))
            dialog.ReturnClick();
        else if (command == QLatin1String("remind"))
            dialog.RemindClick();
        else
            dialog.DeleteClick();
        QCOMPARE(askedHelp(), asked);
        QCOMPARE(followUps, 0);
        QCOMPARE(records::select<LendingRecord>(m_state->db).size(), size_t(2));
    }

    // The context menu's CSV file holds the rows as the grid shows them, under its titles.
    void overviewSavesCsv() {
        addCarrier(1, -1, QStringLiteral("A;B \"C\""), QStringLiteral(" Größe"));
        addCarrier(2, 1);
        const int who = lendOpenAndReturned();
        TVwLendedTtDialog dialog(*m_context, who);
        QTableWidget* grid = dialog.grid();
        QByteArray shown = csv::kByteOrderMark;
        for (int r = -1; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (int col = 0; col < grid->columnCount(); ++col)
                cells.append(r < 0 ? grid->horizontalHeaderItem(col)->text()
                                   : grid->item(r, col)->text());
            shown += csv::row(cells);
        }
        QVERIFY2(shown.contains(";\"A;B \"\"C\"\"\";\" Größe\";LP;1;01.01.2026;\r\n"),
                 shown.constData());
        QAction* entry = nullptr;
        for (QAction* a : grid->actions())
            if (a->text() == QStringLiteral("Als &CSV-Datei speichern..."))
                entry = a;
        QVERIFY(entry);
        const QString path = m_dir->filePath(QStringLiteral("verliehen.csv"));
        m_messages.answerFile(path);
        entry->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), shown);
    }

    void overviewClosesAfterLastRow() {
        addCarrier(1, 1);
        addCarrier(2, 1);
        const int who = addBorrower(QStringLiteral("Meier"));
        // Another carrier's open lending shares the number and must stay.
        const int other = addBorrower(QStringLiteral("Other"));
        records::insert(m_state->db, LendingRecord{1, 0, 100, double(who), QDate(2025, 1, 1),
                                                   QDate(2025, 2, 1), 1.0});
        records::insert(m_state->db,
                        LendingRecord{2, 1, 100, double(other), QDate(2025, 1, 1), {}, 1.0});
        TVwLendedTtDialog dialog(*m_context, who);
        dialog.show();
        m_messages.answer(MessageButton::Yes);
        dialog.DeleteClick();
        QCOMPARE(m_messages.messages().at(0).text, QStringLiteral("Sind Sie sicher?"));
        QCOMPARE(askedHelp(), (QStringList{"36001", "36003"}));
        QVERIFY(!dialog.isVisible());
        QVERIFY(lending::openLending(m_state->db, 2));
        // Opened again without rows, it says so and does not show.
        m_messages.clear();
        TVwLendedTtDialog empty(*m_context, who);
        QCOMPARE(empty.exec(), int(QDialog::Rejected));
        QCOMPARE(askedHelp(), QStringList{"36003"});
    }
};

QTEST_MAIN(TestLendingDialogs)
#include "tst_lendingdialogs.moc"
