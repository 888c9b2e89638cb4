// The carrier list window with its commands, the display window and the time check, in a
// main window with scripted messages.
#include "../../core/catalogue/carrierfixture.h"
#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/medialistmodel.h"
#include "core/catalogue/timecheck.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "gui/catalogue/displayheadandpos.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/catalogue/ttimecountdiff.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {

// An entry window as the list sees it: a child that belongs to a carrier.
class EntryStandIn : public QWidget, public ChildWindow {
public:
    explicit EntryStandIn(int carrier) : m_carrier(carrier) {
        setWindowTitle(QStringLiteral("Tonträger bearbeiten:  x / y"));
    }
    int carrierNumber() const override { return m_carrier; }

private:
    int m_carrier;
};

// Swaps the disc in the image "drive" when the user is asked for the next one.
class DiscSwapper : public ScriptedMessageService {
public:
    std::function<void(const QString&)> onQuestion;
    MessageButton show(const Message& m) override {
        if (onQuestion)
            onQuestion(m.text);
        return ScriptedMessageService::show(m);
    }
};

QString writeImage(const QString& path, const QList<std::pair<int, bool>>& tracks) {
    QFile bin(path + QStringLiteral(".bin"));
    bin.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(QFileInfo(path).fileName());
    int start = 0;
    for (int i = 0; i < tracks.size(); ++i) {
        cue += QStringLiteral("  TRACK %1 %2\n    INDEX 01 %3:%4:00\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(tracks[i].second ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"))
                   .arg(start / 60, 2, 10, QLatin1Char('0'))
                   .arg(start % 60, 2, 10, QLatin1Char('0'));
        start += tracks[i].first;
    }
    bin.write(QByteArray(qsizetype(start) * 75 * 2352, '\0'));
    QFile f(path + QStringLiteral(".cue"));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(cue.toLatin1());
    return f.fileName();
}

} // namespace

using B = MessageButton;

class TestHeadBrowseWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    DiscSwapper m_messages;
    MediaListCommands* m_commands = nullptr;
    QList<int> m_edited;

    Database& db() { return m_state->db; }
    void addFour() {
        addCarrier(db(), CarrierSpec(1, QStringLiteral("Cream")).withPrice(1));
        addCarrier(db(), CarrierSpec(2, QStringLiteral("Abba")).withPrice(3.45));
        addCarrier(db(), CarrierSpec(3, QStringLiteral("Beatles")).withPrice(2));
        addCarrier(db(), CarrierSpec(4, QStringLiteral("Bee Gees")).withPrice(4));
    }
    QString groupAt(THeadBrowseWindow* w, int row) {
        return w->model()->rowAt(row)->at(medialist::Group).toString();
    }
    QStringList texts() {
        QStringList t;
        for (const Message& m : m_messages.messages())
            t.append(QStringLiteral("%1 %2").arg(m.helpContext).arg(m.text));
        return t;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_messages.clear();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_commands = new MediaListCommands(*m_main, m_messages);
        m_edited.clear();
        m_commands->editCarrier = [this](int n) { m_edited.append(n); };
        m_commands->install();
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void emptyListSaysSoAndOpensNothing() {
        QVERIFY(!m_commands->openList());
        QCOMPARE(texts(), QStringList{"40302 Es wurden keine Daten gefunden!"});
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
    }

    void opensOnceWithColumnsAndRowLabel() {
        addFour();
        THeadBrowseWindow* w = m_commands->openList();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tonträger bearbeiten"));
        QCOMPARE(m_commands->openList(), w); // activated, not opened again
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(w->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Laufzeit des Tonträgers"));
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von 4"));
        QCOMPARE(w->model()->data(w->model()->index(0, 9), Qt::DisplayRole).toString(),
                 QStringLiteral("3,45"));
        QCOMPARE(w->carrierMenu()->title(), QStringLiteral("&Tonträger"));
        QCOMPARE(w->carrierMenu()->defaultAction()->text(), QStringLiteral("Ä&ndern"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
        QCOMPARE(m_edited, QList<int>{2});
    }

    // The first rows widen a column beyond its title, up to a limit.
    void columnsFitTheFirstRows_data() {
        QTest::addColumn<QString>("group");
        QTest::newRow("shorter than the title") << "Abba";
        QTest::newRow("longer than the title") << "The Alan Parsons Project Orchestra";
        QTest::newRow("longer than the limit") << QString(300, QLatin1Char('x'));
    }
    void columnsFitTheFirstRows() {
        QFETCH(QString, group);
        addCarrier(db(), CarrierSpec(1, group));
        THeadBrowseWindow* w = m_commands->openList();
        QVERIFY(w);
        const int title = w->grid()->horizontalHeader()->fontMetrics().horizontalAdvance(
            w->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString());
        const int cell = w->grid()->fontMetrics().horizontalAdvance(group);
        const int width = w->grid()->columnWidth(0);
        QVERIFY(width >= title + 24);           // the title is never cut
        QVERIFY(width >= qMin(cell + 24, 320)); // nor the entry, up to the limit
        QVERIFY(width <= qMax(title + 24, 320));
    }

    // F1 on a highlighted entry of the linked menu shows that entry's help page.
    void f1OnAMenuEntryShowsItsHelp() {
        addFour();
        THeadBrowseWindow* w = m_commands->openList();
        QMenu* menu = w->carrierMenu();
        menu->popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QAction* remove = menu->actions().at(2);
        QCOMPARE(remove->text(), QStringLiteral("&Löschen"));
        menu->setActiveAction(remove);
        QTest::keyClick(menu, Qt::Key_F1);
        auto* browser = m_main->help().findChild<QTextBrowser*>();
        QVERIFY(browser);
        QCOMPARE(browser->source().fragment(), QStringLiteral("10703"));
        QVERIFY(!menu->isVisible());
    }

    void renamedColumnTitles_data() {
        QTest::addColumn<bool>("switchOn");
        QTest::addColumn<QString>("title");
        QTest::newRow("switch 1 on") << true << "Label";
        QTest::newRow("switch 1 off") << false << "Hersteller";
    }
    void renamedColumnTitles() {
        QFETCH(bool, switchOn);
        QFETCH(QString, title);
        addFour();
        records::insert(db(), FieldLabelOverrideRecord{"T", 10190, "La&bel"});
        m_state->settings.ttRename[0] = switchOn;
        THeadBrowseWindow* w = m_commands->openList();
        QCOMPARE(w->model()->headerData(17, Qt::Horizontal, Qt::DisplayRole).toString(), title);
    }

    void sortKeepsCarrierAndIsStored() {
        addFour();
        THeadBrowseWindow* w = m_commands->openList();
        w->setCurrentRow(1); // Beatles
        w->sortByColumn(9);  // Kaufpreis
        QCOMPARE(m_state->settings.singerSortOrder, QStringLiteral("MUSIKKOP.\"Kaufpreis\""));
        QCOMPARE(w->currentCarrier(), 3);
        QCOMPARE(groupAt(w, 0), QStringLiteral("Cream"));
        w->defaultSort();
        QVERIFY(m_state->settings.singerSortOrder.isEmpty());
        QCOMPARE(w->currentCarrier(), 3);
    }

    void typingJumps() {
        addFour();
        THeadBrowseWindow* w = m_commands->openList();
        QTest::keyClick(w->grid(), Qt::Key_B);
        QCOMPARE(groupAt(w, w->currentRow()), QStringLiteral("Beatles"));
        QTest::keyClick(w->grid(), Qt::Key_B);
        QCOMPARE(groupAt(w, w->currentRow()), QStringLiteral("Bee Gees"));
        QTest::keyClick(w->grid(), Qt::Key_B);
        QCOMPARE(groupAt(w, w->currentRow()), QStringLiteral("Beatles"));
        w->jumpTo(QLatin1Char('>'));
        QCOMPARE(groupAt(w, w->currentRow()), QStringLiteral("Cream"));
        QCOMPARE(w->tabs()->tabText(w->tabs()->currentIndex()), QStringLiteral("C"));
    }

    void deleteIsRefusedWhileTheCarrierIsOpen() {
        addFour();
        addSong(db(), 2, 1, 1, QStringLiteral("Waterloo"), 2.45);
        THeadBrowseWindow* w = m_commands->openList(); // on Abba, carrier 2
        QMdiSubWindow* entry = m_main->addChildWindow(new EntryStandIn(2));
        w->DeleteClick();
        TDisplayHeadAndPos* display = m_commands->openDisplay(2);
        QVERIFY(display);
        entry->close();
        QApplication::processEvents();
        w->DeleteClick();
        const QString refused = QStringLiteral(
            "31002 Dieser Datensatz kann nicht gelöscht werden, da er gerade in Bearbeitung ist!");
        QCOMPARE(texts(), (QStringList{refused, refused}));
        qobject_cast<QMdiSubWindow*>(display->parentWidget())->close();
        QApplication::processEvents();
        m_messages.clear();
        m_messages.answer(B::Yes);
        w->DeleteClick();
        QCOMPARE(
            texts(),
            QStringList{"31003 Soll der Tontraeger \"Abba / Titel\" wirklich gelöscht werden?"});
        QCOMPARE(db().scalar(u"SELECT COUNT(*) FROM MUSIKPOS").toInt(), 0);
        QCOMPARE(w->model()->rowCount(), 3);
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von 3"));
    }

    void deletingTheLastRows() {
        addCarrier(db(), CarrierSpec(1, QStringLiteral("A")));
        addCarrier(db(), CarrierSpec(2, QStringLiteral("B")));
        THeadBrowseWindow* w = m_commands->openList();
        w->setCurrentRow(1);
        m_messages.answer(B::Yes);
        w->DeleteClick();
        QCOMPARE(w->currentRow(), 0); // it stood at the end: the new last row
        m_messages.answer(B::Yes);
        m_messages.answer(B::Ok);
        w->DeleteClick();
        QCOMPARE(texts().last(),
                 QStringLiteral("31009 Es sind keine Daten zum Bearbeiten vorhanden. "
                                "Das Fenster wird geschlossen!"));
        QApplication::processEvents();
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
    }

    void carrierDeletedMeanwhile() {
        addFour();
        THeadBrowseWindow* w = m_commands->openList();
        db().exec(u"DELETE FROM MUSIKKOP WHERE \"Folgenummer Kopf\" = 2");
        w->EditClick();
        QCOMPARE(texts(), QStringList{"31001 Der Tonträger ist nicht mehr vorhanden."});
        QVERIFY(m_edited.isEmpty());
        QCOMPARE(w->model()->rowCount(), 3);
    }

    void displayShowsEverySong() {
        addCarrier(db(), CarrierSpec(1, QStringLiteral("Abba")).withTitle(QStringLiteral("Gold")));
        addSong(db(), 1, 1, 1, QStringLiteral("Waterloo"), 2.45);
        addSong(db(), 1, 1, 2, QStringLiteral("SOS"), 3.20, false);
        db().exec(u"UPDATE MUSIKPOS SET \"Musikrichtung\" = 999 WHERE \"Nr. des Liedes\" = 2");
        records::insert(db(), PictureRecord{1, 1, QByteArray("kein Bild"), true});
        TDisplayHeadAndPos* d = m_commands->openDisplay(1);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Tonträger anzeigen:  Abba / Gold"));
        QCOMPARE(d->songs()->rowCount(), 2);
        QCOMPARE(d->songs()->item(1, 2)->text(), QStringLiteral("SOS"));
        QCOMPARE(d->songs()->item(1, 5)->text(), QString()); // unknown direction
        QCOMPARE(d->songs()->item(0, 4)->text(), QStringLiteral("2,45"));
        QVERIFY(d->picture()->pixmap().isNull()); // undecodable: empty frame
        QCOMPARE(d->fieldText(QStringLiteral("Gruppe:")), QStringLiteral("Abba"));
        QCOMPARE(m_commands->openDisplay(1), d);
    }

    // Open lists and displays read a carrier again once a store changed it, without
    // "Anzeige aktualisieren".
    void openWindowsFollowStoredChanges_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("rows");
        QTest::newRow("time check corrects the count") << 0 << QStringLiteral("2") << 1;
        QTest::newRow("carrier lent") << 1 << QStringLiteral("0") << 1;
        QTest::newRow("carrier deleted") << 2 << QString() << 0;
    }
    void openWindowsFollowStoredChanges() {
        QFETCH(int, change);
        QFETCH(QString, count);
        QFETCH(int, rows);
        addCarrier(db(), CarrierSpec(1, QStringLiteral("Abba")));
        addSong(db(), 1, 1, 1, QStringLiteral("Waterloo"), 2.45);
        addSong(db(), 1, 1, 2, QStringLiteral("SOS"), 3.20);
        THeadBrowseWindow* list = m_commands->openList();
        QPointer<TDisplayHeadAndPos> display = m_commands->openDisplay(1);
        QVERIFY(list && display);
        QCOMPARE(list->model()->rowAt(0)->at(medialist::SongCount).toInt(), 0);
        switch (change) {
        case 0:
            timecheck::apply(db(), 1, *timecheck::forCarrier(db(), 1), true, true);
            break;
        case 1: {
            BorrowerRecord b;
            b.name1 = QStringLiteral("Meier");
            b = borrowers::save(db(), b);
            QVERIFY(lending::lend(db(), 1, int(b.folgenummer), QDateTime::currentDateTime()).ok());
            break;
        }
        case 2:
            carrierdelete::deleteCarrier(db(), 1);
            break;
        }
        QTRY_COMPARE(list->model()->rowCount(), rows);
        if (rows == 0) {
            QTRY_VERIFY(display.isNull()); // the display of a deleted carrier closes
            return;
        }
        QTRY_COMPARE(list->model()->rowAt(0)->at(medialist::SongCount).toString(), count);
        QTRY_COMPARE(display->fieldText(QStringLiteral("Liedanzahl:")), count);
        if (change == 1)
            QTRY_COMPARE(list->model()->rowAt(0)->at(medialist::StateNumber).toInt(), -1);
    }

    void timeCheckTakesOverTheTickedValue() {
        addCarrier(db(), CarrierSpec(1, QStringLiteral("A")));
        db().exec(
            u"UPDATE MUSIKKOP SET \"Laufzeit der Schallplatte\" = 6.14, \"Anzahl der Lieder\" = 3");
        addSong(db(), 1, 1, 1, QStringLiteral("a"), 3.45);
        addSong(db(), 1, 1, 2, QStringLiteral("b"), 2.30);
        QStringList shown;
        const bool stored = runTimeCheck(nullptr, db(), 1, {}, [&](TTimeCountDiff& dialog) {
            for (QLabel* l : dialog.findChildren<QLabel*>())
                shown.append(l->text());
            dialog.takeCount()->setChecked(true);
            return int(QDialog::Accepted);
        });
        QVERIFY(stored);
        QVERIFY(shown.contains(QStringLiteral("6,14")) && shown.contains(QStringLiteral("6,15")));
        const auto after = timecheck::forCarrier(db(), 1);
        QCOMPARE(after->enteredCount, 2);
        QCOMPARE(after->enteredTime, 6.14);
    }

    void discCodesFromImages() {
        const QString image = m_dir->filePath(QStringLiteral("laufwerk"));
        const QString cue = writeImage(image, {{180, true}, {125, true}});
        m_state->cdDrives = {QStringLiteral("/dev/sr9"), cue};
        addCarrier(db(), CarrierSpec(1, QStringLiteral("A")));
        THeadBrowseWindow* w = m_commands->openList();
        const QList<QAction*> entries = [&] {
            QList<QAction*> found;
            for (QAction* a : w->carrierMenu()->actions())
                if (a->text().startsWith(QStringLiteral("CD-Prüfcode ")))
                    found.append(a);
            return found;
        }();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[1]->text(), QStringLiteral("CD-Prüfcode ") + cue);
        // Two discs: the second is a shorter one.
        m_messages.onQuestion = [&](const QString& text) {
            if (text == QStringLiteral("CD Nummer 2 eingelegt? "))
                writeImage(image, {{200, true}});
        };
        for (B b : {B::Yes, B::Yes, B::Yes, B::No})
            m_messages.answer(b);
        entries[1]->trigger();
        auto codes = [&] {
            Statement s =
                db().prepare(u"SELECT \"CD Pruefcode\" FROM MUSIKINF ORDER BY \"CD Nummer\"");
            QList<qint64> c;
            while (s.next())
                c.append(qint64(s.toDouble(0)));
            return c;
        };
        const QList<qint64> two = codes();
        QCOMPARE(two.size(), 2);
        QVERIFY(two[0] != two[1]);
        // "Nein" to overwriting, and "Abbrechen" before a disc: the codes stay.
        m_messages.answer(B::No);
        entries[1]->trigger();
        m_messages.answer(B::Yes);
        m_messages.answer(B::Cancel);
        entries[1]->trigger();
        QCOMPARE(codes(), two);
        // A data-only disc: asked whether to go on; "Nein" keeps the old codes.
        m_messages.onQuestion = {};
        writeImage(image, {{300, false}});
        m_messages.clear();
        for (B b : {B::Yes, B::Yes, B::No})
            m_messages.answer(b);
        entries[1]->trigger();
        QCOMPARE(texts().last(),
                 QStringLiteral("32001 Die eingelegte CD ist keine Audio-CD! Weiter "
                                "versuchen die Daten zu ermitteln?"));
        QCOMPARE(codes(), two);
    }

    void importSeveralFiles() {
        const QString good = m_dir->filePath(QStringLiteral("gut.dkm"));
        QFile f(good);
        f.open(QIODevice::WriteOnly);
        f.write("[Tontr\xE4ger]\r\nText 1=\"Neu\"\r\nTontr\xE4gerart=\"LP\"\r\n");
        f.close();
        const QString missing = m_dir->filePath(QStringLiteral("fehlt.DKM"));
        m_messages.answerFiles({missing, good});
        m_main->action(MainCommand::ImportCarrier)->setEnabled(true);
        m_commands->importCarriers();
        QCOMPARE(texts(), QStringList{QStringLiteral("34008 Die Datei [%1] konnte nicht importiert "
                                                     "werden, da sie nicht vorhanden ist!")
                                          .arg(missing)});
        QCOMPARE(m_messages.fileChoices().last().title, QStringLiteral("Tonträger importieren"));
        QCOMPARE(db().scalar(u"SELECT COUNT(*) FROM MUSIKKOP").toInt(), 1);
        QCOMPARE(m_state->settings.exportImportPath, m_dir->path());
    }

    // A file written for a lent carrier comes in as available, and the window says so.
    void importOfALentCarrierSaysItIsAvailable() {
        const QString lent = m_dir->filePath(QStringLiteral("verliehen.DKM"));
        QFile f(lent);
        f.open(QIODevice::WriteOnly);
        f.write("[Tontr\xE4ger]\r\nText 1=\"Abba\"\r\nText 2=\"Gold\"\r\nTontr\xE4gerart=\"LP\"\r\n"
                "Tontr\xE4gerstatus=\"Verliehen\"\r\n");
        f.close();
        m_messages.answerFiles({lent});
        m_main->action(MainCommand::ImportCarrier)->setEnabled(true);
        m_commands->importCarriers();
        QCOMPARE(texts().size(), 1);
        QVERIFY2(texts().first().contains(QStringLiteral("Abba / Gold: ")),
                 qPrintable(texts().first()));
        QVERIFY(texts().first().contains(QStringLiteral("\"Vorhanden\"")));
        QCOMPARE(db().scalar(u"SELECT \"Status\" FROM MUSIKKOP").toInt(), 1);
    }
};

QTEST_MAIN(TestHeadBrowseWindow)
#include "tst_headbrowsewindow.moc"
