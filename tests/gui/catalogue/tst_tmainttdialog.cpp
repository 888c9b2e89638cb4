#include "core/catalogue/detailstores.h"
#include "entrywindowfixture.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/fieldedits.h"
#include "gui/catalogue/lookupcombo.h"
#include "gui/catalogue/songpage.h"
#include "support/discimage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

namespace {

const QString kNewClose =
    QStringLiteral("Die Tonträgerdaten wurden neu erfaßt. Sollen diese Daten gespeichert werden?");
const QString kChanged =
    QStringLiteral("Die Tonträgerdaten wurden geändert! Sollen die Änderungen gespeichert werden?");
const QString kNewPage = QStringLiteral(
    "Die Tonträgerdaten wurden neu erfaßt und müssen vor der weiteren Bearbeitung des "
    "Tonträgers gespeichert werden! Sollen die Daten gespeichert werden?");
const QString kSeconds = QStringLiteral(
    "Der Sekundenwert der Gesamtlaufzeit darf sich nur im Bereich von ,00 bis ,59 befinden!");

void chooseType(CarrierPage* page, double key) {
    page->typeCombo()->setCurrentIndex(page->typeCombo()->findData(key));
}

} // namespace

class TestMainTtDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        QVERIFY(f->state);
    }
    void cleanup() { f.reset(); }

    void captionsAndFirstSave() {
        auto w = f->open();
        QVERIFY(w->windowTitle().startsWith(QStringLiteral("Tonträger Nr.: ")));
        const int count = w->windowTitle().mid(15).toInt();
        auto second = f->open();
        QCOMPARE(second->windowTitle(), QStringLiteral("Tonträger Nr.: %1").arg(count + 1));
        CarrierPage* p = w->carrierPage();
        QCOMPARE(p->statusCombo()->key(), OptNumber(1));
        QCOMPARE(p->dateEdit()->text(), QDate::currentDate().toString(u"dd.MM.yyyy"));
        QCOMPARE(w->saveButton()->text(), QStringLiteral("S&ichern"));
        QVERIFY(!w->printButton()->isEnabled()); // no print dialog yet
        p->groupEdit()->setText(QStringLiteral("Gruppe"));
        p->titleEdit()->setText(QStringLiteral("Titel"));
        chooseType(p, 2);
        QVERIFY(w->save());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tonträger bearbeiten:  Gruppe / Titel"));
        QCOMPARE(w->carrierNumber(), 1);
        QCOMPARE(f->firstSaves, 1);
        QCOMPARE(f->carrierNotices, 1);
        QVERIFY(w->savedSomething());
        p->titleEdit()->setText(QStringLiteral("Anders"));
        QVERIFY(w->save());
        QCOMPARE(f->firstSaves, 1);
        QCOMPARE(f->count("MUSIKKOP"), 1);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tonträger bearbeiten:  Gruppe / Anders"));
    }

    void enterSaves() {
        auto w = f->open();
        w->carrierPage()->groupEdit()->setText(QStringLiteral("G"));
        chooseType(w->carrierPage(), 1);
        w->carrierPage()->groupEdit()->setFocus();
        QTest::keyClick(w->carrierPage()->groupEdit(), Qt::Key_Return);
        QCOMPARE(f->count("MUSIKKOP"), 1);
    }

    void helpKeyAndButton() {
        auto w = f->open();
        QTest::keyClick(w->carrierPage()->groupEdit(), Qt::Key_F1);
        w->helpButton()->click();
        QCOMPARE(f->helps, QList<int>({30000, 30000}));
    }

    void globalNumbering() {
        f->state->settings.globalNumbering = true;
        f->state->settings.globalNumber = 17;
        auto w = f->open();
        QCOMPARE(w->carrierPage()->numberEdit()->text(), QStringLiteral("17"));
        w->carrierPage()->groupEdit()->setText(QStringLiteral("G"));
        w->carrierPage()->numberEdit()->setText(QStringLiteral("99"));
        chooseType(w->carrierPage(), 1);
        QVERIFY(w->save());
        QCOMPARE(f->state->settings.globalNumber, 18);
        QVERIFY(w->save());
        QCOMPARE(f->state->settings.globalNumber, 18);
    }

    void emptyGroupAndMissingType() {
        auto w = f->open();
        QVERIFY(!w->save());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Im Feld Gruppe muß ein Wert eingegeben werden!"));
        QCOMPARE(f->messages.messages().last().helpContext, 30011);
        QCOMPARE(f->messages.messages().last().kind, MessageKind::Information);
        w->carrierPage()->groupEdit()->setText(QStringLiteral("G"));
        QVERIFY(!w->save());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Im Feld Art muß ein Wert eingegeben werden!"));
        QCOMPARE(f->count("MUSIKKOP"), 0);
        // An untouched new carrier can be closed without a question.
        auto untouched = f->open();
        f->messages.clear();
        QVERIFY(untouched->close());
        QVERIFY(f->messages.messages().isEmpty());
    }

    void duplicateCarrier() {
        f->storeCarrier();
        auto w = f->open();
        w->carrierPage()->groupEdit()->setText(QStringLiteral("Gruppe"));
        w->carrierPage()->titleEdit()->setText(QStringLiteral("Titel"));
        chooseType(w->carrierPage(), 1);
        QVERIFY(!w->save());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Der Tonträger konnte nicht gespeichert werden, da bereits ein "
                                "Tonträger mit den gleichen Daten [Gruppe/Titel/Art/Lfd. Nr] "
                                "existiert!"));
        QCOMPARE(f->messages.messages().last().helpContext, 30016);
        QCOMPARE(w->carrierNumber(), 0);
        w->carrierPage()->numberEdit()->setText(QStringLiteral("1"));
        QVERIFY(w->save());
        QCOMPARE(w->carrierNumber(), 2);
    }

    // The four questions by situation, each with its answers.
    void saveQuestions_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("closing");
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("help");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QString>("groupAfter");
        const auto Y = MessageButton::Yes, N = MessageButton::No, C = MessageButton::Cancel;
        QTest::newRow("close new, Ja") << false << true << Y << kNewClose << 30012 << true << "Neu";
        QTest::newRow("close new, Nein") << false << true << N << kNewClose << 30012 << true << "";
        QTest::newRow("close new, Abbrechen")
            << false << true << C << kNewClose << 30012 << false << "";
        QTest::newRow("close stored, Ja")
            << true << true << Y << kChanged << 30013 << true << "Neu";
        QTest::newRow("close stored, Nein")
            << true << true << N << kChanged << 30013 << true << "Gruppe";
        QTest::newRow("close stored, Abbrechen")
            << true << true << C << kChanged << 30013 << false << "Gruppe";
        QTest::newRow("page new, Ja") << false << false << Y << kNewPage << 30014 << true << "Neu";
        QTest::newRow("page new, Abbrechen")
            << false << false << C << kNewPage << 30014 << false << "";
        QTest::newRow("page stored, Ja")
            << true << false << Y << kChanged << 30015 << true << "Neu";
        QTest::newRow("page stored, Nein")
            << true << false << N << kChanged << 30015 << true << "Gruppe";
        QTest::newRow("page stored, Abbrechen")
            << true << false << C << kChanged << 30015 << false << "Gruppe";
    }
    void saveQuestions() {
        QFETCH(bool, stored);
        QFETCH(bool, closing);
        QFETCH(MessageButton, answer);
        QFETCH(QString, text);
        QFETCH(int, help);
        QFETCH(bool, goesOn);
        QFETCH(QString, groupAfter);
        const int number = stored ? f->storeCarrier() : 0;
        f->carrierNotices = 0;
        auto w = f->open(number);
        CarrierPage* p = w->carrierPage();
        chooseType(p, 1);
        p->groupEdit()->setText(QStringLiteral("Neu"));
        f->messages.answer(answer);
        const bool wentOn = closing ? w->close() : w->selectPage(TMainTtDialog::TextIndex);
        QCOMPARE(f->messages.messages().first().text, text);
        QCOMPARE(f->messages.messages().first().helpContext, help);
        QCOMPARE(f->messages.messages().first().kind, MessageKind::Confirmation);
        const bool threeAnswers = stored || closing;
        QCOMPARE(f->messages.messages().first().buttons.testFlag(MessageButton::No), threeAnswers);
        QCOMPARE(wentOn, goesOn);
        if (!closing)
            QCOMPARE(w->currentPage(), goesOn ? int(TMainTtDialog::TextIndex) : 0);
        const auto groups = records::select<CarrierRecord>(f->state->db);
        QCOMPARE(groups.empty() ? QString() : groups.front().gruppeInterpretText1, groupAfter);
        if (!closing && answer != MessageButton::Cancel)
            QCOMPARE(f->carrierNotices, answer == MessageButton::Yes ? 1 : 0);
    }

    // A new carrier must be saved before another page can be shown.
    void tabClickAsksFirst() {
        auto w = f->open();
        w->carrierPage()->groupEdit()->setText(QStringLiteral("G"));
        f->messages.answer(MessageButton::Cancel);
        w->tabBar()->setCurrentIndex(TMainTtDialog::SongIndex);
        QCOMPARE(w->currentPage(), 0);
        QCOMPARE(w->tabBar()->currentIndex(), 0);
        QCOMPARE(f->messages.messages().size(), 1);
    }

    void seconds_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("leaving the field") << "leave";
        QTest::newRow("Ja") << "ja";
        QTest::newRow("Enter") << "enter";
    }
    void seconds() {
        QFETCH(QString, way);
        auto w = f->open(f->storeCarrier());
        CarrierPage* p = w->carrierPage();
        p->totalTimeEdit()->setFocus();
        p->totalTimeEdit()->setText(QStringLiteral("45,60"));
        if (way == QLatin1String("leave")) {
            p->titleEdit()->setFocus();
            QTRY_COMPARE(f->messages.messages().size(), 1);
        } else if (way == QLatin1String("ja")) {
            f->messages.answer(MessageButton::Yes);
            QVERIFY(!w->close());
            QCOMPARE(f->messages.messages().size(), 2);
        } else {
            QTest::keyClick(p->totalTimeEdit(), Qt::Key_Return);
            QCOMPARE(f->messages.messages().size(), 1);
        }
        QCOMPARE(f->messages.messages().last().text, kSeconds);
        QCOMPARE(f->messages.messages().last().helpContext, 30009);
        QCOMPARE(QApplication::focusWidget(), p->totalTimeEdit());
        QCOMPARE(f->count("MUSIKKOP"), 1);
        QCOMPARE(CarrierStore(f->state->db).load(1)->carrier.laufzeitDerSchallplatte, OptNumber(0));
        // 45,59 is fine.
        f->messages.clear();
        p->totalTimeEdit()->setText(QStringLiteral("45.59"));
        QVERIFY(w->save());
        QCOMPARE(CarrierStore(f->state->db).load(1)->carrier.laufzeitDerSchallplatte,
                 OptNumber(45.59));
    }

    void lentStatus() {
        const int number = f->storeCarrier();
        auto w = f->open(number);
        LookupCombo* status = w->carrierPage()->statusCombo();
        status->setCurrentIndex(status->findData(-1.0));
        emit status->activated(status->currentIndex());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Der Status VERLIEHEN wird automatisch von der Verleihverwaltung "
                                "verwendet und kann nicht manuell eingesetzt werden!"));
        QCOMPARE(f->messages.messages().last().helpContext, 30005);
        QCOMPARE(status->key(), OptNumber(1));
        // A lent carrier shows its status disabled; its other fields stay editable.
        f->state->db.exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = -1");
        auto lent = f->open(number);
        QVERIFY(!lent->carrierPage()->statusCombo()->isEnabled());
        QVERIFY(lent->carrierPage()->groupEdit()->isEnabled());
    }

    void typeCounterPrefill() {
        f->state->db.exec(
            u"UPDATE \"MUSIKART\" SET \"Nummerierung\" = 12 WHERE \"Index-Nummer\" = 3");
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        p->typeCombo()->setFocus();
        chooseType(p, 3);
        p->numberEdit()->setFocus();
        QCOMPARE(p->numberEdit()->text(), QStringLiteral("12"));
    }

    void moneyAndDates() {
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        p->groupEdit()->setText(QStringLiteral("G"));
        chooseType(p, 1);
        p->priceEdit()->setText(QStringLiteral("1234.56"));
        p->dateEdit()->setText(QStringLiteral("31.02.2020"));
        QVERIFY(!w->save());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Das Kaufdatum \"31.02.2020\" ist kein gültiges Datum."));
        p->dateEdit()->clear();
        QVERIFY(w->save());
        const auto stored = CarrierStore(f->state->db).load(1);
        QCOMPARE(stored->carrier.kaufpreis, OptNumber(1234.56));
        QVERIFY(stored->carrier.kaufdatum.isNull());
        p->priceEdit()->setFocus();
        p->groupEdit()->setFocus();
        QCOMPARE(p->priceEdit()->text(), QStringLiteral("1.234,56"));
    }

    void tabOrder() {
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        QList<QWidget*> expected;
        for (QWidget* widget : p->tabOrder()) {
            if (widget->isVisible())
                expected.append(widget);
        }
        p->groupEdit()->setFocus();
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected[i]);
        }
    }

    // Mnemonics reach their fields; "Gesamtlauf&zeit" and "&Zustand" share Z and take turns.
    void mnemonics() {
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        QTest::keyClick(w.get(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), p->titleEdit());
        QTest::keyClick(w.get(), Qt::Key_Z, Qt::AltModifier);
        const QWidget* first = QApplication::focusWidget();
        QTest::keyClick(w.get(), Qt::Key_Z, Qt::AltModifier);
        const QWidget* second = QApplication::focusWidget();
        QCOMPARE(QSet<const QWidget*>({first, second}),
                 QSet<const QWidget*>({p->totalTimeEdit(), p->conditionEdit()}));
        for (QLabel* label : p->keyedLabels())
            QVERIFY(label->property("labelKey").toInt() >= 10110);
    }

    void hints() {
        auto w = f->open();
        for (QWidget* widget : w->carrierPage()->tabOrder() + w->songPage()->tabOrder())
            QVERIFY(!widget->statusTip().isEmpty());
    }

    void escapeCloses() {
        auto w = f->open();
        QTest::keyClick(w->carrierPage()->groupEdit(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void printingChecks() {
        f->state->currentPrinter.clear();
        auto hooks = f->hooks();
        QList<int> printed;
        hooks.printDialog = [&printed](int n) { printed.append(n); };
        hooks.hasPrinter = [] { return false; };
        TMainTtDialog w(*f->state, f->messages, hooks, f->storeCarrier());
        QVERIFY(w.printButton()->isEnabled());
        w.print();
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Es ist kein Drucker definiert."));
        QCOMPARE(f->messages.messages().last().helpContext, 15000);
        f->state->settings.printDialog = true;
        w.carrierPage()->titleEdit()->setText(QStringLiteral("x"));
        QVERIFY(w.save());
        QVERIFY(w.close());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Es es kein Drucker definiert."));
        QVERIFY(printed.isEmpty());
    }

    void printingTemplates() {
        auto hooks = f->hooks();
        QList<int> printed;
        hooks.printDialog = [&printed](int n) { printed.append(n); };
        hooks.hasPrinter = [] { return true; };
        const int number = f->storeCarrier();
        TMainTtDialog w(*f->state, f->messages, hooks, number);
        w.print();
        QCOMPARE(printed, QList<int>{number});
        f->state->db.exec(u"DELETE FROM \"MPRTTEXT\" WHERE \"Type\" = 2");
        w.print();
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Es sind keine Druckvorlagen vorhanden. Der Tonträger kann nicht "
                                "ausgedruckt werden.!"));
        QCOMPARE(f->messages.messages().last().helpContext, 31006);
        QCOMPARE(f->messages.messages().last().kind, MessageKind::Error);
        // The print dialog after closing words the same lack apart.
        f->state->settings.printDialog = true;
        w.carrierPage()->titleEdit()->setText(QStringLiteral("x"));
        QVERIFY(w.save());
        QVERIFY(w.close());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Es sind keine Druckvorlagen vorhanden. Der Tonträger kann nicht "
                                "ausgedruckt werden!"));
        QCOMPARE(f->messages.messages().last().helpContext, 30006);
        QCOMPARE(printed.size(), 1);
    }

    void cdReadingAndFirstSave() {
        f->state->cdDrives = {QStringLiteral("/dev/sr0")};
        QList<std::pair<int, bool>> twelve, ten;
        for (int i = 0; i < 12; ++i)
            twelve.append({20 + i, true});
        for (int i = 0; i < 10; ++i)
            ten.append({30 + i, i != 9});
        f->images = {writeDiscImage(f->dir->path(), "a", twelve),
                     writeDiscImage(f->dir->path(), "b", ten)};
        CddbAnswer second;
        second.found = true;
        second.artist = QStringLiteral("Künstler");
        second.title = QStringLiteral("Album");
        for (int i = 0; i < 10; ++i)
            second.titles.append(
                {QStringLiteral("Künstler"), QStringLiteral("Lied %1").arg(i + 1)});
        second.extendedData = {QStringLiteral("Zusatz")};
        second.year = QStringLiteral("1999");
        second.genre = QStringLiteral("rockmusik"); // the long name of direction 2
        second.cover = QByteArray("\xFF\xD8\xFF\xE0", 4);
        f->lookup.answers << CddbAnswer() << second;
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        QVERIFY(p->cdButton()->isVisible());
        for (auto a :
             {MessageButton::Yes, MessageButton::Yes, MessageButton::Yes, MessageButton::No})
            f->messages.answer(a);
        p->readCd();
        QCOMPARE(p->groupEdit()->text(), QStringLiteral("Künstler"));
        QCOMPARE(p->songCountEdit()->text(), QStringLiteral("22"));
        QCOMPARE(p->yearEdit()->text(), QStringLiteral("1999"));
        QCOMPARE(p->directionCombo()->key(), OptNumber(2));
        // A cancelled second reading keeps the first.
        f->messages.answer(MessageButton::Cancel);
        p->readCd();
        QCOMPARE(w->reading()->tracks.size(), 22);
        chooseType(p, 6);
        QVERIFY(w->save());
        QVERIFY(!p->cdButton()->isEnabled());
        QCOMPARE(f->count("MUSIKINF"), 2);
        QCOMPARE(f->count("MUSIKPOS"), 22);
        QCOMPARE(f->count("MUSIKTXT"), 1);
        QCOMPARE(PictureStore(f->state->db).load(w->carrierNumber(), 1)->grafik, second.cover);
        const auto songs = SongStore(f->state->db).songs(w->carrierNumber());
        QCOMPARE(songs[0].titelDesLiedes, QString());
        QCOMPARE(songs[12].titelDesLiedes, QStringLiteral("Lied 1"));
        QCOMPARE(songs[21].seiteDerSchallplatte, 2.0);
        QCOMPARE(songs[21].nrDesLiedes, 10.0);
        QVERIFY(w->save());
        QCOMPARE(f->count("MUSIKPOS"), 22);
        QCOMPARE(f->count("MUSIKINF"), 2);
    }
};

QTEST_MAIN(TestMainTtDialog)
#include "tst_tmainttdialog.moc"
