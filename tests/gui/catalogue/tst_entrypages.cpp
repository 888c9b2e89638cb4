#include "core/catalogue/detailstores.h"
#include "core/catalogue/songstore.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "entrywindowfixture.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/fieldedits.h"
#include "gui/catalogue/finddialog.h"
#include "gui/catalogue/lookupcombo.h"
#include "gui/catalogue/picturepage.h"
#include "gui/catalogue/songpage.h"
#include "gui/catalogue/textpage.h"
#include "support/discimage.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kSongQuestion =
    QStringLiteral("Die Lieddaten wurden geändert! Sollen die Änderungen gespeichert werden?");

QString writeImage(const QString& dir, const QString& name, const char* format, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = dir + "/" + name;
    image.save(path, format);
    return path;
}

} // namespace

class TestEntryPages : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;
    std::unique_ptr<TMainTtDialog> w;

    SongPage* songs() { return w->songPage(); }
    QWidget* target() {
        return QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
    }
    void addSong(const QString& title) {
        SongPage* p = songs();
        if (!p->isNewSong())
            p->newSong();
        p->titleEdit()->setText(title);
        QVERIFY(p->save());
    }

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        QVERIFY(f->state);
        w = f->open(f->storeCarrier());
    }
    void cleanup() {
        w.reset();
        f.reset();
    }

    void firstSongOfEmptyCarrier() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        QCOMPARE(songs()->sideEdit()->text(), QStringLiteral("1"));
        QCOMPARE(songs()->numberEdit()->text(), QStringLiteral("1"));
        QCOMPARE(songs()->interpreterEdit()->text(), QStringLiteral("Gruppe"));
        QVERIFY(!songs()->newButton()->isEnabled());
        QVERIFY(!songs()->deleteButton()->isEnabled());
        // Leaving without typing stores nothing.
        QVERIFY(w->selectPage(TMainTtDialog::CarrierIndex));
        QCOMPARE(f->count("MUSIKPOS"), 0);
        QVERIFY(f->messages.messages().isEmpty());
    }

    void newProposesNextNumberAndCounter() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        for (int i = 1; i <= 5; ++i)
            addSong(QStringLiteral("Lied %1").arg(i));
        songs()->toEdit()->setText(QStringLiteral("230"));
        QVERIFY(songs()->save());
        songs()->newSong();
        QCOMPARE(songs()->numberEdit()->text(), QStringLiteral("6"));
        QCOMPARE(songs()->fromEdit()->text(), QStringLiteral("231"));
        QVERIFY(!songs()->newButton()->isEnabled());
        QCOMPARE(f->count("MusikPosInformation"), 5);
    }

    // "Abbrechen" to the question of "Neu" adds no song and keeps the changes pending.
    void newAskedAndCancelled() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        addSong(QStringLiteral("Eins"));
        songs()->titleEdit()->setText(QStringLiteral("Geändert"));
        f->messages.answer(MessageButton::Cancel);
        songs()->newSong();
        QCOMPARE(f->messages.messages().last().text, kSongQuestion);
        QCOMPARE(f->messages.messages().last().helpContext, 30021);
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Geändert"));
        QVERIFY(!songs()->isNewSong());
        QCOMPARE(f->count("MUSIKPOS"), 1);
    }

    // A click on a row asks like every other move; "Abbrechen" stays.
    void rowClickAsks() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        addSong(QStringLiteral("Eins"));
        addSong(QStringLiteral("Zwei"));
        songs()->titleEdit()->setText(QStringLiteral("Zwei!"));
        f->messages.answer(MessageButton::Cancel);
        QVERIFY(!songs()->moveTo(0));
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Zwei!"));
        f->messages.answer(MessageButton::Yes);
        QVERIFY(songs()->moveTo(0));
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Eins"));
        QCOMPARE(SongStore(f->state->db).songs(1)[1].titelDesLiedes, QStringLiteral("Zwei!"));
    }

    void altKeysMove() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        for (const char* t : {"Eins", "Zwei", "Drei"})
            addSong(QString::fromLatin1(t));
        QTest::keyClick(target(), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Eins"));
        QTest::keyClick(target(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Zwei"));
        QTest::keyClick(target(), Qt::Key_End, Qt::AltModifier);
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Drei"));
        QVERIFY(!songs()->navigationButtons()[3]->isEnabled());
        QTest::keyClick(target(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(songs()->titleEdit()->text(), QStringLiteral("Zwei"));
    }

    // The information record follows a changed side and number.
    void infoFollowsKey() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        songs()->bpmFromEdit()->setText(QStringLiteral("120"));
        QVERIFY(songs()->save());
        songs()->sideEdit()->setText(QStringLiteral("2"));
        QVERIFY(songs()->save());
        QCOMPARE(SongStore(f->state->db).info(1, 2, 1).bpmVon, OptShort(120));
        QCOMPARE(f->count("MusikPosInformation"), 1);
    }

    void deleteKeepsNumbers() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        for (int i = 1; i <= 5; ++i)
            addSong(QStringLiteral("Lied %1").arg(i));
        QVERIFY(songs()->moveTo(2));
        f->messages.answer(MessageButton::Ok);
        songs()->deleteSong();
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Soll das Lied \"Lied 3 / Gruppe\" wirklich gelöscht werden?"));
        QCOMPARE(f->messages.messages().last().helpContext, 30022);
        QCOMPARE(f->count("MUSIKPOS"), 4);
        QCOMPARE(f->count("MusikPosInformation"), 4);
        songs()->newSong();
        QCOMPARE(songs()->numberEdit()->text(), QStringLiteral("6"));
    }

    void songSeconds() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        songs()->timeEdit()->setText(QStringLiteral("3,60"));
        QVERIFY(!songs()->save());
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Der Sekundenwert der Liedlaufzeit darf sich nur im Bereich von "
                                ",00 bis ,59 befinden!"));
        QCOMPARE(f->messages.messages().last().helpContext, 30010);
        songs()->timeEdit()->setText(QStringLiteral("3,59"));
        QVERIFY(songs()->save());
    }

    // Sides named as collectors name them: a letter stands for its number, which is stored and
    // shown once the field is left.
    void sideAsLetter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("side");
        QTest::newRow("B") << "B"
                           << "2" << 2.0;
        QTest::newRow("lower case") << "b"
                                    << "2" << 2.0;
        QTest::newRow("Z") << "Z"
                           << "26" << 26.0;
        QTest::newRow("one letter only") << "AB"
                                         << "1" << 1.0;
        QTest::newRow("number") << "12"
                                << "12" << 12.0;
        QTest::newRow("no letter after digits") << "1A"
                                                << "1" << 1.0;
    }
    void sideAsLetter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(double, side);
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        QLineEdit* edit = songs()->sideEdit();
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), shown);
        QVERIFY(songs()->save());
        const std::vector<SongRecord> stored = SongStore(f->state->db).songs(1);
        QCOMPARE(stored.size(), size_t(1));
        QCOMPARE(stored.front().seiteDerSchallplatte, side);
    }

    // Typed as on a sleeve, the time keeps its colon instead of becoming minutes only.
    void songTimeWithColon_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<double>("value");
        QTest::newRow("minutes:seconds") << "4:35" << true << 4.35;
        QTest::newRow("seconds over 59") << "4:75" << false << 0.0;
    }
    void songTimeWithColon() {
        QFETCH(QString, typed);
        QFETCH(bool, saved);
        QFETCH(double, value);
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        songs()->timeEdit()->clear();
        QTest::keyClicks(songs()->timeEdit(), typed);
        QCOMPARE(songs()->timeEdit()->text(), typed);
        QCOMPARE(songs()->save(), saved);
        if (saved)
            QCOMPARE(songs()->timeEdit()->value(), value);
        else
            QCOMPARE(f->messages.messages().last().helpContext, 30010);
    }

    // One fault, one message: the check on leaving a time field and the check of the save
    // never both speak, also while the first box runs its own event loop.
    void oneMessagePerBadTime_data() {
        QTest::addColumn<bool>("songPage");
        QTest::addColumn<int>("how"); // 0: click "Sichern", 1: Enter, 2: Tab to the next field
        for (bool song : {true, false}) {
            const char* page = song ? "song" : "carrier";
            QTest::addRow("%s, click Sichern", page) << song << 0;
            QTest::addRow("%s, Enter", page) << song << 1;
            QTest::addRow("%s, Tab away", page) << song << 2;
        }
    }
    void oneMessagePerBadTime() {
        QFETCH(bool, songPage);
        QFETCH(int, how);
        if (songPage)
            QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        QLineEdit* time = songPage ? static_cast<QLineEdit*>(songs()->timeEdit())
                                   : w->carrierPage()->totalTimeEdit();
        QApplication::setActiveWindow(w.get());
        time->setFocus();
        QTRY_VERIFY(time->hasFocus());
        time->clear();
        QTest::keyClicks(time, QStringLiteral("4,75"));
        f->messages.clear();
        // As a real box: it takes the focus, runs its loop, and gives the focus back.
        f->messages.whileShowing = [this] {
            QWidget box;
            box.setFocusPolicy(Qt::StrongFocus);
            box.show();
            QApplication::setActiveWindow(&box);
            box.setFocus();
            QTest::qWait(20);
            box.close();
            QApplication::setActiveWindow(w.get());
        };
        switch (how) {
        case 0:
            QTest::mouseClick(w->saveButton(), Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(time, Qt::Key_Return);
            break;
        case 2:
            QTest::keyClick(time, Qt::Key_Tab);
            break;
        }
        QTest::qWait(50);
        f->messages.whileShowing = nullptr;
        QCOMPARE(f->messages.messages().size(), 1);
        QCOMPARE(f->messages.messages().first().helpContext, songPage ? 30010 : 30009);
    }

    // A direction added in the lookup editor is offered at once; the choice made stays.
    void newLookupEntryIsOffered() {
        LookupCombo* direction = w->carrierPage()->directionCombo();
        QVERIFY(direction->count() > 0);
        direction->setCurrentIndex(0);
        const OptNumber chosen = direction->key();
        LookupEntry entry;
        entry.shortName = QStringLiteral("Krautrock");
        LookupStore(f->state->db, lookup::kMusicDirections).save(entry);
        QVERIFY(direction->findText(QStringLiteral("Krautrock")) >= 0);
        QCOMPARE(direction->key(), chosen);
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        QVERIFY(songs()->findChild<LookupCombo*>() != nullptr);
        bool offered = false;
        for (LookupCombo* c : songs()->findChildren<LookupCombo*>())
            offered |= c->findText(QStringLiteral("Krautrock")) >= 0;
        QVERIFY(offered);
    }

    void duplicateSong() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        addSong(QStringLiteral("Eins"));
        songs()->newSong();
        songs()->numberEdit()->setText(QStringLiteral("1"));
        QVERIFY(!songs()->save());
        QCOMPARE(f->messages.messages().last().helpContext, 30026);
        QCOMPARE(f->messages.messages().last().kind, MessageKind::Error);
        QCOMPARE(f->count("MUSIKPOS"), 1);
    }

    // The song list keeps its column layout in the settings file.
    void columnsSurvive() {
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        songs()->list()->horizontalHeader()->resizeSection(2, 250);
        QVERIFY(w->close());
        auto again = f->open(1);
        QCOMPARE(again->songPage()->list()->horizontalHeader()->sectionSize(2), 250);
    }

    void songTabOrder_data() {
        QTest::addColumn<bool>("titleFirst");
        QTest::newRow("time first") << false;
        QTest::newRow("title first") << true;
    }
    void songTabOrder() {
        QFETCH(bool, titleFirst);
        QVERIFY(w->selectPage(TMainTtDialog::SongIndex));
        f->state->settings.getSongOrder = titleFirst;
        w->songOrderChanged();
        songs()->numberEdit()->setFocus();
        QTest::keyClick(songs()->numberEdit(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), titleFirst
                                                  ? static_cast<QWidget*>(songs()->titleEdit())
                                                  : static_cast<QWidget*>(songs()->timeEdit()));
    }

    void textSaveAndClear() {
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        QVERIFY(w->editMenu()->menuAction()->isVisible());
        w->textPage()->editor()->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
        QVERIFY(w->save());
        QCOMPARE(records::find(f->state->db, CarrierTextRecord{1, {}})->freierText,
                 QStringLiteral("Zeile 1\r\nZeile 2"));
        w->textPage()->editor()->clear();
        QVERIFY(w->save());
        QCOMPARE(f->count("MUSIKTXT"), 0);
        QVERIFY(w->selectPage(TMainTtDialog::CarrierIndex));
        QVERIFY(!w->editMenu()->menuAction()->isVisible());
    }

    void textQuestion() {
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        w->textPage()->editor()->insertPlainText(QStringLiteral("neu"));
        f->messages.answer(MessageButton::No);
        QVERIFY(w->selectPage(TMainTtDialog::CarrierIndex));
        QCOMPARE(f->messages.messages().last().helpContext, 30020);
        QCOMPARE(f->count("MUSIKTXT"), 0);
    }

    void pasteOverLimit() {
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        QPlainTextEdit* e = w->textPage()->editor();
        e->insertPlainText(QString(4990, QLatin1Char('a')));
        QApplication::clipboard()->setText(QString(100, QLatin1Char('b')));
        e->paste();
        QCOMPARE(e->toPlainText().size(), 5000);
        QVERIFY(e->toPlainText().endsWith(QString(10, QLatin1Char('b'))));
        // A longer stored text is shown whole.
        CarrierTextStore(f->state->db)
            .save(1, QString(6000, QLatin1Char('x')), QDate::currentDate());
        f->messages.answer(MessageButton::No);
        QVERIFY(w->selectPage(TMainTtDialog::CarrierIndex));
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        QCOMPARE(e->toPlainText().size(), 6000);
    }

    void findAndReplace() {
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        TextPage* t = w->textPage();
        t->editor()->setPlainText(QStringLiteral("Das Haus am See"));
        FindReplaceDialog find(false);
        find.searchEdit()->setText(QStringLiteral("Berg"));
        QVERIFY(!t->findNext(find, 30007));
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("\"Berg\" konnte nicht gefunden werden!\""));
        QCOMPARE(f->messages.messages().last().helpContext, 30007);
        find.searchEdit()->setText(QStringLiteral("haus"));
        QVERIFY(t->findNext(find, 30007));
        QCOMPARE(t->editor()->textCursor().selectedText(), QStringLiteral("Haus"));
        FindReplaceDialog replace(true);
        replace.searchEdit()->setText(QStringLiteral("a"));
        replace.replaceEdit()->setText(QStringLiteral("aa"));
        t->editor()->moveCursor(QTextCursor::Start);
        t->replaceAll(replace);
        QCOMPARE(t->editor()->toPlainText(), QStringLiteral("Daas Haaus aam See"));
    }

    void goToLine_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("line");
        QTest::newRow("2") << "2" << 2;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("-3") << "-3" << 1;
        QTest::newRow("beyond") << "99" << 3;
    }
    void goToLine() {
        QFETCH(QString, answer);
        QFETCH(int, line);
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        TextPage* t = w->textPage();
        t->editor()->setPlainText(QStringLiteral("a\nb\nc"));
        f->messages.answerText(QStringLiteral("keine Zahl"));
        f->messages.answerText(answer);
        t->goToLine();
        QCOMPARE(f->messages.textQuestions().size(), 2);
        QCOMPARE(f->messages.textQuestions()[0].title, QStringLiteral("Zu Zeilennummer springen"));
        QCOMPARE(f->messages.textQuestions()[0].prompt, QStringLiteral("Zeilen-Nr."));
        QCOMPARE(t->editor()->textCursor().blockNumber() + 1, line);
        QCOMPARE(t->positionLabel()->text(), QStringLiteral("%1 / 1").arg(line));
    }

    void editMenuCommands() {
        QCOMPARE(w->editMenu()->title(), QStringLiteral("&Bearbeiten"));
        QStringList captions;
        for (QAction* a : w->textPage()->editActions())
            captions.append(a->text());
        QCOMPARE(captions,
                 QStringList({"&Rückgängig", "A&usschneiden", "&Kopieren", "E&infügen", "&Löschen",
                              "&Suchen...", "&Ersetzen...", "&Gehe zu...", "&Alles auswählen"}));
        // Shortcuts live only while the text page is shown.
        QVERIFY(w->textPage()->editActions()[7]->shortcut().isEmpty());
        QVERIFY(w->selectPage(TMainTtDialog::TextIndex));
        QCOMPARE(w->textPage()->editActions()[7]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    }

    void pictures() {
        QVERIFY(w->selectPage(TMainTtDialog::PictureIndex));
        PicturePage* p = w->picturePage();
        QVERIFY(!p->deleteButton()->isEnabled());
        QVERIFY(!p->scanButton()->isVisible());
        // The empty placeholder is never stored.
        QVERIFY(w->save());
        QCOMPARE(f->count("MUSIKGRF"), 0);
        const QString jpg = writeImage(f->dir->path(), "COVER.JPG", "JPEG", QSize(40, 20));
        f->messages.answerFile(jpg);
        p->loadPicture();
        QCOMPARE(f->messages.fileChoices().last().title, QStringLiteral("Grafik laden"));
        QCOMPARE(f->messages.fileChoices().last().helpContext, 30029);
        QVERIFY(!p->loadButton()->isEnabled());
        QVERIFY(w->save());
        QFile file(jpg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(PictureStore(f->state->db).load(1, 1)->grafik, file.readAll());
        // "Ja" appends a further picture as number 2.
        f->messages.answer(MessageButton::Yes);
        f->messages.answerFile(writeImage(f->dir->path(), "b.png", "PNG", QSize(10, 10)));
        p->loadPicture();
        QCOMPARE(p->currentNumber(), 2.0);
        QVERIFY(w->save());
        QCOMPARE(p->pictureCount(), 2);
        // Fitting keeps the aspect ratio.
        QTest::keyClick(target(), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(p->currentNumber(), 1.0);
        p->stretchBox()->setChecked(true);
        const QRect r = p->frame()->pictureRect();
        QVERIFY(qAbs(r.width() - 2 * r.height()) <= 2);
        QVERIFY(r.width() == p->frame()->width() || r.height() == p->frame()->height());
        // A change asks before moving.
        f->messages.answer(MessageButton::Yes);
        p->navigate(EntryNavigation::Last);
        QCOMPARE(f->messages.messages().last().helpContext, 30025);
        QVERIFY(PictureStore(f->state->db).list(1)[0].stretch);
        f->messages.answer(MessageButton::Ok);
        p->deletePicture();
        f->messages.answer(MessageButton::Ok);
        p->deletePicture();
        QCOMPARE(f->count("MUSIKGRF"), 0);
        QCOMPARE(p->currentNumber(), 1.0);
        QVERIFY(!p->deleteButton()->isEnabled());
    }

    void unreadablePicture() {
        QVERIFY(w->selectPage(TMainTtDialog::PictureIndex));
        const QString path = f->dir->path() + "/kaputt.bmp";
        QFile bad(path);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("nichts");
        bad.close();
        f->messages.answerFile(path);
        w->picturePage()->loadPicture();
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Die Datei kaputt.bmp enthält keine lesbare Grafik."));
        QVERIFY(w->picturePage()->loadButton()->isEnabled());
    }

    // Scanning runs against the acquisition interface; a failed scan stores nothing.
    void scanning() {
        struct FakeScanner : PictureAcquisition {
            std::optional<QByteArray> result;
            std::optional<QByteArray> acquire() override { return result; }
        } scanner;
        PicturePage* p = w->picturePage();
        p->setAcquisition(&scanner);
        QVERIFY(w->selectPage(TMainTtDialog::PictureIndex));
        QVERIFY(p->scanButton()->isVisible());
        QFile png(writeImage(f->dir->path(), "scan.png", "PNG", QSize(12, 12)));
        QVERIFY(png.open(QIODevice::ReadOnly));
        scanner.result = png.readAll();
        p->scanPicture();
        QVERIFY(w->save());
        QCOMPARE(f->count("MUSIKGRF"), 1);
        scanner.result.reset();
        f->messages.answer(MessageButton::Yes);
        p->scanPicture();
        QCOMPARE(f->messages.messages()[0].text,
                 QStringLiteral("Wählen Sie [Ja] um eine neue Grafik einzuscannen oder [Nein] um "
                                "die aktuelle Grafik durch eine andere zu ersetzen."));
        QCOMPARE(f->messages.messages()[0].helpContext, 30033);
        QCOMPARE(f->messages.messages()[1].text,
                 QStringLiteral("Das Bild konnte nicht eingescannt werden oder der Scanvorgang "
                                "wurde abgebrochen!"));
        QCOMPARE(f->messages.messages()[1].helpContext, 30032);
        QVERIFY(p->loadButton()->isEnabled());
        QVERIFY(w->isEnabled());
        p->setAcquisition(nullptr);
    }

    // "Nein" to a new song from a CD track gives the track back, never below 0.
    void discardedTrackSong() {
        f->state->cdDrives = {QStringLiteral("/dev/sr0")};
        QList<std::pair<int, bool>> tracks{{40, true}, {40, false}, {40, true}};
        f->images = {writeDiscImage(f->dir->path(), "d", tracks)};
        auto fresh = f->open();
        for (auto a : {MessageButton::Yes, MessageButton::No})
            f->messages.answer(a);
        fresh->carrierPage()->readCd();
        fresh->carrierPage()->groupEdit()->setText(QStringLiteral("CD"));
        fresh->carrierPage()->typeCombo()->setCurrentIndex(
            fresh->carrierPage()->typeCombo()->findData(6.0));
        QVERIFY(fresh->save());
        QVERIFY(fresh->selectPage(TMainTtDialog::SongIndex));
        SongPage* p = fresh->songPage();
        QCOMPARE(fresh->trackPointer, 1);
        QCOMPARE(p->timeEdit()->text(), QStringLiteral("0,40"));
        QVERIFY(p->save());
        p->newSong();
        QCOMPARE(p->titleEdit()->text(), QStringLiteral("Data-Track"));
        QCOMPARE(fresh->trackPointer, 2);
        f->messages.answer(MessageButton::No);
        QVERIFY(p->moveTo(0));
        QCOMPARE(fresh->trackPointer, 1);
    }
};

QTEST_MAIN(TestEntryPages)
#include "tst_entrypages.moc"
