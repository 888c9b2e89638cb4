// The search dialogs, the song list window and the search commands, in a main window with
// scripted messages.
#include "../../core/catalogue/searchfixture.h"
#include "core/catalogue/cataloguetexts.h"
#include "core/catalogue/fieldlabels.h"
#include "core/catalogue/songlistmodel.h"
#include "core/db/recordaccess.h"
#include "gui/catalogue/posbrowsewindow.h"
#include "gui/catalogue/searchcommands.h"
#include "gui/catalogue/searchsongdialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using search::Connector;

class TestSearchWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    SearchCommands* m_commands = nullptr;
    QStringList m_calls;
    bool m_printer = true;

    Database& db() { return m_state->db; }
    QStringList texts() {
        QStringList t;
        for (const Message& m : m_messages.messages())
            t.append(QStringLiteral("%1 %2").arg(m.helpContext).arg(m.text));
        return t;
    }
    static void choose(TSearchDialog& d, const QString& field, const QString& op) {
        d.fieldList()->setCurrentItem(d.fieldList()->findItems(field, Qt::MatchExactly).value(0));
        d.operatorList()->setCurrentItem(
            d.operatorList()->findItems(op, Qt::MatchExactly).value(0));
    }
    static QStringList items(QListWidget* list) {
        QStringList t;
        for (int i = 0; i < list->count(); ++i)
            t.append(list->item(i)->text());
        return t;
    }
    TPosBrowseWindow* songWindow(const QString& field, const QString& op, const QString& value) {
        m_commands->runDialog = [&](TSearchDialog& d) {
            choose(d, field, op);
            d.valueEdit()->setText(value);
            d.AddCondition(Connector::And);
            return true;
        };
        m_commands->searchSongs();
        auto windows = m_main->mdiArea()->subWindowList();
        return windows.isEmpty() ? nullptr
                                 : qobject_cast<TPosBrowseWindow*>(windows.last()->widget());
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        searchfixture::fill(db());
        m_messages.clear();
        m_calls.clear();
        m_printer = true;
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_commands = new SearchCommands(*m_main, m_messages);
        auto record = [this](const char* what) {
            return
                [this, what](int n) { m_calls.append(QStringLiteral("%1 %2").arg(what).arg(n)); };
        };
        m_commands->editCarrier = record("edit");
        m_commands->displayCarrier = record("display");
        m_commands->printCarrier = record("print");
        m_commands->printCover = record("cover");
        m_commands->hasPrinter = [this] { return m_printer; };
        m_commands->openCarrierResult = [this](int n, const medialist::Filter& f) {
            m_calls.append(QStringLiteral("carriers %1 %2").arg(n).arg(f.values.size()));
        };
        m_commands->install();
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void operatorsAndMasks_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("operators");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << "Gruppe"
                              << "~ = <>"
                              << ""
                              << "Ab1"
                              << "ab1";
        QTest::newRow("decimal") << "Kaufpreis"
                                 << "= <> > <"
                                 << ""
                                 << "12.5x"
                                 << "12.5";
        QTest::newRow("decimal comma") << "Kaufpreis"
                                       << "= <> > <"
                                       << ""
                                       << "123456,789"
                                       << "12345,78";
        QTest::newRow("date") << "Kaufdatum"
                              << "= <> > <"
                              << "00.00.0000;_"
                              << "1a2.3.2001"
                              << "12.3.2001";
        QTest::newRow("whole, seven digits") << "Lfd. Nr."
                                             << "= <> > <"
                                             << "0000000;_"
                                             << "123456789"
                                             << "1234567";
    }
    void operatorsAndMasks() {
        QFETCH(QString, field);
        QFETCH(QString, operators);
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        TSearchDialog d(*m_state, m_messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Tonträger durchsuchen"));
        QCOMPARE(d.fieldList()->currentItem()->text(), QStringLiteral("Gruppe"));
        d.fieldList()->setCurrentItem(d.fieldList()->findItems(field, Qt::MatchExactly).value(0));
        QCOMPARE(items(d.operatorList()).join(QLatin1Char(' ')), operators);
        QCOMPARE(d.operatorList()->currentRow(), 0);
        QCOMPARE(d.valueEdit()->inputMask(), mask);
        d.valueEdit()->setCursorPosition(0);
        QTest::keyClicks(d.valueEdit(), typed);
        QCOMPARE(d.valueEdit()->text(), text);
    }

    void lowerCaseOnlyForContains() {
        TSearchDialog d(*m_state, m_messages);
        choose(d, QStringLiteral("Titel"), QStringLiteral("="));
        QTest::keyClicks(d.valueEdit(), QStringLiteral("ÄrZte"));
        QCOMPARE(d.valueEdit()->text(), QStringLiteral("ÄrZte"));
        choose(d, QStringLiteral("Titel"), QStringLiteral("~"));
        QCOMPARE(d.valueEdit()->text(), QStringLiteral("ärzte"));
        QTest::keyClicks(d.valueEdit(), QStringLiteral("X"));
        QCOMPARE(d.valueEdit()->text(), QStringLiteral("x")); // the text was selected
        choose(d, QStringLiteral("Erscheinungsjahr"), QStringLiteral("~"));
        QTest::keyClicks(d.valueEdit(), QStringLiteral("AB"));
        QCOMPARE(d.valueEdit()->text(), QStringLiteral("ab"));
    }

    void addingAndRemovingEnableButtons() {
        records::insert(db(), FieldLabelOverrideRecord{"T", 10110, "Sän&ger"});
        m_state->settings.ttRename[3] = true;
        TSearchDialog d(*m_state, m_messages);
        QVERIFY(!d.okButton()->isEnabled());
        QVERIFY(!d.removeButton()->isEnabled());
        choose(d, QStringLiteral("Sänger"), QStringLiteral("~"));
        QTest::keyClicks(d.valueEdit(), QStringLiteral("A"));
        QTest::mouseClick(d.orButton(), Qt::LeftButton); // the first one has no connector
        choose(d, QStringLiteral("Kaufdatum"), QStringLiteral(">"));
        d.valueEdit()->setText(QStringLiteral("31.02.2001"));
        d.AddCondition(Connector::Or);
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages()[0].text.contains(QStringLiteral("kein gültiges Datum")));
        d.valueEdit()->clear();
        const QPoint greater = d.operatorList()->visualItemRect(d.operatorList()->item(2)).center();
        QTest::mouseClick(d.operatorList()->viewport(), Qt::LeftButton, {}, greater);
        QTest::mouseDClick(d.operatorList()->viewport(), Qt::LeftButton, {}, greater);
        QCOMPARE(items(d.conditionList()),
                 QStringList({"Sänger ~ 'a'", "UND Kaufdatum > 01.01.1900"}));
        QCOMPARE(d.conditions().hiddenLines().first(), QStringLiteral("Gruppe ~ 'a'"));
        QVERIFY(d.okButton()->isEnabled());
        d.RemoveClick(); // nothing selected
        QCOMPARE(d.conditions().size(), 2);
        d.conditionList()->setCurrentRow(0);
        d.RemoveClick();
        QCOMPARE(items(d.conditionList()), QStringList{"Kaufdatum > 01.01.1900"});
        d.conditionList()->setCurrentRow(0);
        d.RemoveClick();
        QVERIFY(!d.okButton()->isEnabled());
        QVERIFY(!d.removeButton()->isEnabled());
    }

    // Playing times take minutes:seconds and sides a letter in the value edit itself; the
    // next field's edit takes any text again.
    void typedTimesAndSides_data() {
        QTest::addColumn<bool>("songs");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("total time") << false << "Gesamtlaufzeit"
                                    << "4:35x"
                                    << "Gesamtlaufzeit = 4.35"
                                    << "";
        QTest::newRow("total time seconds") << false << "Gesamtlaufzeit"
                                            << "4:75"
                                            << "" << cataloguetexts::kTotalTimeSeconds;
        QTest::newRow("song time") << true << "Laufzeit"
                                   << "3:5"
                                   << "Laufzeit = 3.05"
                                   << "";
        QTest::newRow("side letter") << true << "Seite der Schallplatte"
                                     << "b"
                                     << "Seite der Schallplatte = 2"
                                     << "";
        QTest::newRow("side number") << true << "Seite der Schallplatte"
                                     << "12x"
                                     << "Seite der Schallplatte = 12"
                                     << "";
    }
    void typedTimesAndSides() {
        QFETCH(bool, songs);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, line);
        QFETCH(QString, message);
        std::unique_ptr<TSearchDialog> d =
            songs ? std::make_unique<TSearchSongDialog>(*m_state, m_messages)
                  : std::make_unique<TSearchDialog>(*m_state, m_messages);
        choose(*d, field, QStringLiteral("="));
        QTest::keyClicks(d->valueEdit(), typed);
        QTest::mouseClick(d->andButton(), Qt::LeftButton);
        QCOMPARE(items(d->conditionList()), line.isEmpty() ? QStringList() : QStringList{line});
        QCOMPARE(m_messages.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(m_messages.messages().first().text, message);
        choose(*d, QStringLiteral("Titel"), QStringLiteral("="));
        QTest::keyClicks(d->valueEdit(), QStringLiteral("A:b"));
        QCOMPARE(d->valueEdit()->text(), QStringLiteral("A:b"));
    }

    void songDialogOffersSongFields() {
        TSearchSongDialog d(*m_state, m_messages);
        QCOMPARE(d.windowTitle(), QStringLiteral("Lieder durchsuchen"));
        QCOMPARE(d.fieldList()->count(), 13);
        QCOMPARE(d.fieldList()->item(12)->text(), QStringLiteral("Tanzstil"));
    }

    void countersPerKindAndRun() {
        m_commands->runDialog = [](TSearchDialog& d) {
            choose(d, QStringLiteral("Gruppe"), QStringLiteral("~"));
            d.AddCondition(Connector::And);
            return true;
        };
        m_commands->searchCarriers();
        m_commands->searchCarriers();
        m_commands->runDialog = [](TSearchDialog&) { return false; }; // "&Abbruch"
        m_commands->searchCarriers();
        QCOMPARE(m_calls, QStringList({"carriers 1 1", "carriers 2 1"}));
        QVERIFY(!songWindow(QStringLiteral("Titel"), QStringLiteral("="), QStringLiteral("x")));
        QCOMPARE(texts(), QStringList{"40302 Es wurden keine Daten gefunden!"});
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
        TPosBrowseWindow* w =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("love"));
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Gefundene Lieder bearbeiten: 2"));
    }

    // The result of a search comes to the front with the focus, over the window that was
    // active when the search dialog opened, also when that one is maximized.
    void resultComesToTheFront_data() {
        QTest::addColumn<bool>("maximized");
        QTest::newRow("normal windows") << false;
        QTest::newRow("maximized windows") << true;
    }
    void resultComesToTheFront() {
        QFETCH(bool, maximized);
        m_state->settings.showTip = false;
        m_main->resize(900, 650);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QTRY_VERIFY(m_main->isEnabled()); // the frame starts disabled for a moment
        TPosBrowseWindow* first =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("love"));
        QVERIFY(first);
        QMdiSubWindow* firstFrame = m_main->mdiArea()->subWindowList().constLast();
        if (maximized)
            firstFrame->showMaximized();
        QTRY_VERIFY(first->isAncestorOf(QApplication::focusWidget()));
        // As the user does it: a modal dialog that takes the activation and gives it back.
        m_commands->runDialog = [](TSearchDialog& d) {
            choose(d, QStringLiteral("Titel"), QStringLiteral("~"));
            d.valueEdit()->setText(QStringLiteral("love"));
            d.AddCondition(Connector::And);
            QTimer::singleShot(0, &d, [&d] {
                if (QTest::qWaitForWindowActive(&d))
                    d.accept();
            });
            return d.exec() == QDialog::Accepted;
        };
        m_commands->searchSongs();
        QMdiArea* area = m_main->mdiArea();
        QCOMPARE(area->subWindowList().size(), 2);
        QMdiSubWindow* result = area->subWindowList().constLast();
        QVERIFY(result != firstFrame);
        // The window manager gives the activation back to the frame.
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QCOMPARE(area->activeSubWindow(), result);
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast(), result);
        QVERIFY(result->widget()->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(result->isMaximized(), maximized);
    }

    void songListWindow() {
        m_state->settings.ttRename[5] = true;
        records::insert(db(), FieldLabelOverrideRecord{"T", 10525, "Lied&titel"});
        TPosBrowseWindow* w =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("love"));
        QVERIFY(w);
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von 3"));
        QCOMPARE(w->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Liedtitel"));
        fieldlabels::reset(db(), 10525); // an open song list follows at once
        w->fieldLabelsChanged();
        QCOMPARE(w->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 songlist::gridColumns().at(2).title);
        QCOMPARE(w->model()->data(w->model()->index(1, 4), Qt::DisplayRole).toString(),
                 QStringLiteral("2,22"));
        QCOMPARE(w->carrierMenu()->title(), QStringLiteral("&Tonträger"));
        QCOMPARE(w->carrierMenu()->property("helpContext").toInt(), 10710);
        QCOMPARE(w->carrierMenu()->defaultAction()->text(), QStringLiteral("Ä&ndern"));
        QStringList entries;
        for (QAction* a : w->carrierMenu()->actions())
            entries.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(entries, QStringList({"Ä&ndern", "&Anzeigen", "-", "&Standardsortierung", "-",
                                       "&Drucken", "&Hülle drucken"}));
        QCOMPARE(w->contributedMenus(), QList<QMenu*>{w->carrierMenu()});
        // The rows as shown, under the titles shown, into a spreadsheet file.
        const QString csvPath = m_dir->filePath(QStringLiteral("lieder.csv"));
        m_messages.answerFile(csvPath);
        w->contextMenu()->actions().constLast()->trigger();
        QFile csvFile(csvPath);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QStringList csvLines =
            QString::fromUtf8(csvFile.readAll()).split(QStringLiteral("\r\n"));
        QVERIFY2(csvLines.value(0).contains(QStringLiteral(";Titel des Liedes;")),
                 qPrintable(csvLines.value(0)));
        QCOMPARE(csvLines.size(), 5); // titles, three songs, the final line end
        // BEAT CLUB's Lovely first, then The Beatles' songs.
        QTest::keyClick(w->grid(), Qt::Key_Return);
        w->setCurrentRow(2);
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 3 von 3"));
        w->DisplayClick();
        QCOMPARE(m_calls, QStringList({"edit 2", "display 1"}));
        w->sortByColumn(2);
        QCOMPARE(m_state->settings.searchSortOrder,
                 QStringLiteral("MUSIKPOS.\"Titel des Liedes\""));
        QCOMPARE(w->currentCarrier(), 1); // the same song, now in another row
        w->defaultSort();
        QVERIFY(m_state->settings.searchSortOrder.isEmpty());
    }

    // A long result shows its first screen before the rows are counted; the label fills in
    // the number when it arrives, and a move to the end does not stop at the rows read.
    void countFollowsTheFirstScreen() {
        {
            Transaction t(db());
            for (int i = 0; i < 250; ++i)
                searchfixture::song(db(), {2, 3, i + 1, QStringLiteral("Zugabe %1").arg(i), "Beat",
                                           1.0, 1, 0, 1, 1, "1999"});
            t.commit();
        }
        TPosBrowseWindow* w =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("zugabe"));
        QVERIFY(w);
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von ..."));
        QTRY_COMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von 250"));
        QCOMPARE(w->model()->rowCount(), 250);

        TPosBrowseWindow* last =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("zugabe"));
        QVERIFY(last);
        QCOMPARE(last->rowLabel()->text(), QStringLiteral("Datensatz 1 von ..."));
        QToolButton* end = nullptr;
        for (QToolButton* b : last->findChildren<QToolButton*>())
            if (b->toolTip() == QStringLiteral("Dateiende"))
                end = b;
        QVERIFY(end);
        emit end->clicked(); // the main window of the test is not enabled for real clicks
        QCOMPARE(last->rowLabel()->text(), QStringLiteral("Datensatz 250 von 250"));
    }

    void printMessages_data() {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<bool>("templates");
        QTest::addColumn<bool>("cover");
        QTest::addColumn<QString>("expected");
        QTest::newRow("print without printer")
            << false << true << false << "15000 Es ist kein Drucker definiert.";
        QTest::newRow("print without templates")
            << true << false << false
            << "31006 Es sind keine Druckvorlagen vorhanden. Der Tonträger kann nicht ausgedruckt "
               "werden.!";
        QTest::newRow("print") << true << true << false << "print 2";
        QTest::newRow("cover without printer")
            << false << true << true << "15000 Es es kein Drucker definiert.";
        QTest::newRow("cover") << true << false << true << "cover 2";
    }
    void printMessages() {
        QFETCH(bool, printer);
        QFETCH(bool, templates);
        QFETCH(bool, cover);
        QFETCH(QString, expected);
        if (!templates)
            db().exec(u"DELETE FROM MPRTTEXT WHERE \"Type\" = 2");
        TPosBrowseWindow* w =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("lovely"));
        QVERIFY(w);
        m_printer = printer;
        cover ? w->CoverClick() : w->PrintClick();
        QCOMPARE(texts() + m_calls, QStringList{expected});
    }

    void carrierGoneMeanwhile() {
        TPosBrowseWindow* w =
            songWindow(QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("love"));
        QVERIFY(w);
        db().exec(u"DELETE FROM MUSIKKOP WHERE \"Folgenummer Kopf\" = 2");
        w->EditClick();
        QVERIFY(m_calls.isEmpty());
        QCOMPARE(texts().last(), QStringLiteral("31001 Der Tonträger ist nicht mehr vorhanden."));
        QCOMPARE(w->rowLabel()->text(), QStringLiteral("Datensatz 1 von 2"));
    }
};

QTEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
