#include "core/cd/cdplayer.h"
#include "core/cd/cdplayerengine.h"
#include "core/cd/recordingsink.h"
#include "core/db/recordaccess.h"
#include "gui/cd/cdplayercommands.h"
#include "gui/cd/cdplayerwindow.h"
#include "gui/cd/leddisplay.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/discimage.h"
#include "support/scriptedmessageservice.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// A device that does what it is told at once and notes every command.
class ScriptedPlayer : public CdPlayer {
public:
    CdPlayerStatus state;
    QStringList calls;
    bool output = true;

    void open(const QString& source) override { calls << "open " + source; }
    void close() override { calls << "close"; }
    void play() override {
        calls << "play";
        state.mode = CdMode::Playing;
    }
    void playTrack(int track, int frame) override {
        calls << QStringLiteral("playTrack %1 %2").arg(track).arg(frame);
        state.mode = CdMode::Playing;
    }
    void pause() override {
        calls << "pause";
        state.mode = CdMode::Paused;
    }
    void stop() override {
        calls << "stop";
        state.mode = CdMode::Stopped;
    }
    void next() override { calls << "next"; }
    void previous() override { calls << "previous"; }
    void seekToStart() override { calls << "seekToStart"; }
    void seek(int track, int frame) override {
        calls << QStringLiteral("seek %1 %2").arg(track).arg(frame);
    }
    void eject() override { calls << "eject"; }
    void closeDoor() override { calls << "closeDoor"; }
    void setPlayOption(PlayOption option) override {
        calls << QStringLiteral("option %1").arg(int(option));
    }
    bool outputAvailable() const override { return output; }
    CdPlayerStatus status() const override { return state; }

    void end(bool success) { emit playEnded(success); }
};

constexpr quint32 kHighDiscId = 0x9A0B1C03; // from 0x80000000 up: negative when signed
constexpr qint64 kLegacy = 123456;

// Three tracks (the last a data track) of 3:00, 2:05 and 1:00; playing track 2 at 0:10.
CdPlayerStatus disc(int serial = 1, quint32 discId = kHighDiscId) {
    CdPlayerStatus s;
    s.mode = CdMode::Stopped;
    s.source = QStringLiteral("/dev/sr0");
    s.trackFrames = {180 * 75, 125 * 75, 60 * 75};
    s.audio = {true, true, false};
    s.discFrames = 365 * 75;
    s.track = 2;
    s.trackFrame = 10 * 75 + 20;
    s.discFrame = 190 * 75 + 20;
    s.discId = discId;
    s.legacyCode = kLegacy;
    s.discSerial = serial;
    return s;
}

} // namespace

class TestCdPlayerWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    ScriptedPlayer m_player;
    std::unique_ptr<TCDPlayerWindow> m_window;

    void addCarrier(double number, const QString& group, const QString& title) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.gruppeInterpretText1 = group;
        c.text2 = title;
        records::insert(m_state->db, c);
    }
    void addCode(double carrier, double cdNumber, double code) {
        DiscCodeRecord r;
        r.folgenummerKopf = carrier;
        r.cdNummer = cdNumber;
        r.cdPruefcode = code;
        records::insert(m_state->db, r);
    }
    void addSong(double carrier, double cd, double track, const QString& title,
                 const QString& interpreter) {
        SongRecord s;
        s.folgenummerPosition = carrier;
        s.seiteDerSchallplatte = cd;
        s.nrDesLiedes = track;
        s.titelDesLiedes = title;
        s.interpretDesLiedes = interpreter;
        records::insert(m_state->db, s);
    }
    TCDPlayerWindow& openWindow() {
        m_window = std::make_unique<TCDPlayerWindow>(*m_state, m_messages, m_player);
        m_window->setRandomSeed(3);
        return *m_window;
    }
    QStringList texts() const {
        QStringList t;
        for (int i = 0; i < 6; ++i)
            t << m_window->textDisplay(i)->text();
        return t;
    }
    QStringList leds() const {
        QStringList t;
        for (int i = 0; i < 6; ++i)
            t << m_window->ledDisplay(i)->text();
        return t;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_state->cdDrives = {QStringLiteral("/dev/sr0")};
        m_messages.clear();
        m_player.state = disc();
        m_player.calls.clear();
        m_player.output = true;
        addCarrier(7, "Die Gruppe", "Das Album");
        addSong(7, 2, 2, "Zweites Lied", "Jemand");
    }
    void cleanup() {
        m_window.reset();
        m_state.reset();
    }

    void identifiesAtTheFirstTick_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("carrierExists");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("song");
        const double signedId = double(qint32(kHighDiscId));
        QTest::newRow("disc ID stored signed") << signedId << true << "Die Gruppe"
                                               << "Zweites Lied";
        QTest::newRow("disc ID stored unsigned") << double(kHighDiscId) << true << "Die Gruppe"
                                                 << "Zweites Lied";
        QTest::newRow("legacy code") << double(kLegacy) << true << "Die Gruppe"
                                     << "Zweites Lied";
        QTest::newRow("carrier gone") << signedId << false << "Unbekannte Audio-CD eingelegt"
                                      << "";
        QTest::newRow("unknown disc") << 42.0 << true << "Unbekannte Audio-CD eingelegt"
                                      << "";
    }
    void identifiesAtTheFirstTick() {
        QFETCH(double, stored);
        QFETCH(bool, carrierExists);
        QFETCH(QString, group);
        QFETCH(QString, song);
        addCode(carrierExists ? 7 : 99, 2, stored);
        addCode(8, 1, stored); // a later carrier with the same code does not win
        addCarrier(8, "Später", "Anderes");
        if (!carrierExists) {
            m_state->db.prepare(u"DELETE FROM \"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = 8").run();
        }
        openWindow();
        QCOMPARE(m_window->groupLabel()->text(), QString("Unbekannte Audio-CD eingelegt"));
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), group);
        QCOMPARE(m_window->songTitleLabel()->text(), song);
        if (!song.isEmpty()) {
            QCOMPARE(m_window->titleLabel()->text(), QString("Das Album"));
            QCOMPARE(m_window->interpreterLabel()->text(), QString("Jemand"));
        }
    }

    void retriesEvery30TicksWithTheFirstCodes() {
        openWindow();
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Unbekannte Audio-CD eingelegt"));
        addCode(7, 2, double(qint32(kHighDiscId)));
        m_player.state.discId = 1; // codes are not read again for the same disc
        for (int i = 0; i < 29; ++i)
            m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Unbekannte Audio-CD eingelegt"));
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Die Gruppe"));
    }

    void removalAndANewDisc() {
        addCarrier(9, "Neue Gruppe", "Neues Album");
        addCode(9, 1, 77);
        openWindow();
        m_window->tick();
        QVERIFY(!m_window->trackButton(1)->isHidden());
        m_player.state = CdPlayerStatus();
        m_player.state.mode = CdMode::NotReady;
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Keine Audio-CD eingelegt"));
        QVERIFY(m_window->titleLabel()->text().isEmpty());
        QVERIFY(m_window->trackButton(1)->isHidden());
        QCOMPARE(texts(), QStringList({"000", "000", "0,00", "0,00", "0,00", "0,00"}));
        QCOMPARE(m_window->rememberedTrack(), 0);
        m_player.state = disc(2, 77);
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Neue Gruppe"));
        QCOMPARE(m_window->titleLabel()->text(), QString("Neues Album"));
    }

    void displaysAndTrackButtons() {
        openWindow();
        m_window->tick();
        // Text mode: tracks in three digits, times as minutes,seconds.
        QCOMPARE(texts(), QStringList({"002", "003", "0,10", "2,05", "3,10", "6,05"}));
        QCOMPARE(leds(), QStringList({"002", "003", "000:10", "002:05", "003:10", "006:05"}));
        QVERIFY(m_window->ledDisplay(0)->isHidden());
        QVERIFY(!m_window->textDisplay(0)->isHidden());
        QCOMPARE(m_window->positionSlider()->maximum(), 125);
        QCOMPARE(m_window->positionSlider()->value(), 10);
        QVERIFY(!m_window->trackButton(3)->isHidden());
        QVERIFY(!m_window->trackButton(3)->isEnabled()); // the data track
        QVERIFY(m_window->trackButton(4)->isHidden());
        QVERIFY(m_window->trackButton(2)->isSwitchedOn());
        QCOMPARE(m_window->playButton()->toolTip(), QString("Abspielen"));
        QCOMPARE(m_window->ejectButton()->toolTip(), QString("CD auswerfen"));
        QCOMPARE(m_window->nextButton()->toolTip(), QString("Nächstes Lied"));
        // The device moves on (repeat and random act inside it): the window follows.
        m_player.state.track = 1;
        m_window->tick();
        QVERIFY(m_window->trackButton(1)->isSwitchedOn());
        QVERIFY(!m_window->trackButton(2)->isSwitchedOn());
    }

    void sliderHeldByTheUserIsLeftAlone() {
        openWindow();
        m_window->tick();
        m_window->positionSlider()->setSliderDown(true);
        m_window->positionSlider()->setSliderPosition(50);
        m_player.state.trackFrame = 20 * 75;
        m_window->tick();
        QCOMPARE(m_window->positionSlider()->sliderPosition(), 50);
        m_window->positionSlider()->setSliderDown(false);
        m_window->SliderChosen(50);
        QCOMPARE(m_player.calls.last(), QString("seek 2 3780")); // frame 30 of second 50
        QCOMPARE(m_window->textDisplay(2)->text(), QString("0,50"));
    }

    void playerButtons() {
        openWindow();
        m_window->tick();
        QVERIFY(m_window->playButton()->isEnabled());
        QVERIFY(!m_window->pauseButton()->isEnabled());
        m_window->PlayClick();
        QCOMPARE(m_player.calls.last(), QString("play"));
        QVERIFY(!m_window->playButton()->isEnabled());
        QVERIFY(m_window->pauseButton()->isEnabled() && m_window->stopButton()->isEnabled());
        m_window->PauseClick();
        QVERIFY(m_window->playButton()->isEnabled() && !m_window->pauseButton()->isEnabled());
        m_window->StopClick();
        QVERIFY(!m_window->stopButton()->isEnabled());
        m_window->NextClick();
        QCOMPARE(m_window->rememberedTrack(), 3);
        m_window->NextClick();
        QCOMPARE(m_window->rememberedTrack(), 3); // at most the number of tracks
        m_window->PreviousClick();
        QCOMPARE(m_window->rememberedTrack(), 2);
        m_window->TrackClick(1);
        QCOMPARE(m_player.calls.last(), QString("playTrack 1 0"));
        QVERIFY(m_window->trackButton(1)->isSwitchedOn());
        QVERIFY(!m_window->trackButton(2)->isSwitchedOn());
        m_window->EjectClick();
        QCOMPARE(m_player.calls.last(), QString("eject"));
        QVERIFY(m_window->playButton()->isEnabled());
        m_window->EjectClick();
        QCOMPARE(m_player.calls.last(), QString("closeDoor"));
    }

    void optionsGoToTheDevice() {
        openWindow();
        m_window->tick();
        m_window->optionButton(PlayOption::RepeatTrack)->setChecked(true);
        QCOMPARE(m_player.calls.last(), QString("option %1").arg(int(PlayOption::RepeatTrack)));
        m_window->optionButton(PlayOption::Random)->setChecked(true);
        QCOMPARE(m_player.calls.last(), QString("option %1").arg(int(PlayOption::Random)));
        // Play with the random generator starts an audio track chosen at random.
        m_window->PlayClick();
        const QString call = m_player.calls.last();
        QVERIFY2(call == "playTrack 1 0" || call == "playTrack 2 0", qPrintable(call));
        QCOMPARE(m_window->rememberedTrack(), call.section(' ', 1, 1).toInt());
    }

    void noSoundOutput() {
        m_player.output = false;
        openWindow();
        m_window->tick();
        m_window->PlayClick();
        QCOMPARE(m_messages.messages().size(), 1);
        const Message& m = m_messages.messages().first();
        QCOMPARE(m.text, QString("Es ist keine Audioausgabe verfügbar."));
        QCOMPARE(m.kind, MessageKind::Error);
        QCOMPARE(m.buttons, MessageButton::Ok | MessageButton::Help);
        QCOMPARE(m.helpContext, 10005);
        QVERIFY(!m_player.calls.contains("play"));
        QVERIFY(m_window->playButton()->isEnabled());
    }

    void playFailureForgetsTheDisc() {
        addCode(7, 2, double(kHighDiscId));
        openWindow();
        m_window->tick();
        QCOMPARE(m_window->groupLabel()->text(), QString("Die Gruppe"));
        m_window->PlayClick();
        m_player.end(false);
        QCOMPARE(m_window->groupLabel()->text(), QString("Unbekannte Audio-CD eingelegt"));
        QVERIFY(m_window->titleLabel()->text().isEmpty());
        QVERIFY(m_window->playButton()->isEnabled());
        QVERIFY(!m_window->stopButton()->isEnabled());
    }

    void ledNotificationZeroesFirst() {
        openWindow();
        m_window->tick();
        m_state->settings.cdUseLed = true;
        m_state->settings.cdPlayerColor = 0x0000FF; // red in the lowest byte
        m_window->cdLedModeChanged();
        QCOMPARE(leds(), QStringList({"000", "000", "000:00", "000:00", "000:00", "000:00"}));
        QVERIFY(!m_window->ledDisplay(0)->isHidden());
        QVERIFY(m_window->textDisplay(0)->isHidden());
        QCOMPARE(m_window->trackButton(1)->color(), QColor(255, 0, 0));
        m_state->settings.cdPlayerColor = 0xFF0000;
        m_window->cdColoursChanged();
        QCOMPARE(m_window->trackButton(1)->color(), QColor(0, 0, 255));
    }

    void sources() {
        openWindow();
        // One drive: no list.
        QVERIFY(m_window->driveList()->isHidden());
        const QString image = m_dir->filePath("disc.cue");
        QFile(image).open(QIODevice::WriteOnly);
        m_messages.answerFile(image);
        for (QPushButton* b : m_window->findChildren<QPushButton*>()) {
            if (b->text() == QLatin1String("CD-&Abbild..."))
                b->click();
        }
        QCOMPARE(m_messages.fileChoices().last().title, QString("CD-Abbild öffnen"));
        QCOMPARE(m_messages.fileChoices().last().filter,
                 QString("CD-Abbilder (*.cue *.toc *.nrg);;Alle Dateien (*)"));
        QVERIFY(!m_window->driveList()->isHidden());
        QCOMPARE(m_player.calls.mid(m_player.calls.size() - 4, 3),
                 QStringList({"stop", "close", "open " + image}));
        QCOMPARE(m_state->settings.cdDriveLetter, image);
        // The next window opens the stored image again.
        m_window.reset();
        openWindow();
        QCOMPARE(m_window->driveList()->currentData().toString(), image);
    }

    void closing_data() {
        QTest::addColumn<int>("endStatus");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("closed");
        QTest::newRow("0 stops") << 0 << 0 << false << true << true;
        QTest::newRow("2 plays on") << 2 << 0 << false << false << true;
        QTest::newRow("1, Ja") << 1 << int(MessageButton::Yes) << true << true << true;
        QTest::newRow("1, Nein") << 1 << int(MessageButton::No) << true << false << true;
        QTest::newRow("1, Abbrechen") << 1 << int(MessageButton::Cancel) << true << false << false;
    }
    void closing() {
        QFETCH(int, endStatus);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, stopped);
        QFETCH(bool, closed);
        m_state->settings.cdPlayerEndStatus = endStatus;
        if (answer)
            m_messages.answer(MessageButton(answer));
        openWindow();
        m_window->show();
        m_player.state.mode = CdMode::Playing;
        QCOMPARE(m_window->close(), closed);
        QCOMPARE(m_messages.messages().size(), asked ? 1 : 0);
        if (asked) {
            const Message& m = m_messages.messages().first();
            QCOMPARE(m.text, QString("Soll das Abspielen der CD gestoppt werden?"));
            QCOMPARE(m.kind, MessageKind::Confirmation);
            QCOMPARE(m.buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel |
                                    MessageButton::Help);
            QCOMPARE(m.helpContext, 35001);
        }
        QCOMPARE(m_player.calls.contains("stop"), stopped);
        if (!closed) { // the displays keep running
            m_player.state.trackFrame = 50 * 75;
            QTest::qWait(1100);
            QCOMPARE(m_window->textDisplay(2)->text(), QString("0,50"));
        }
    }

    void playsAnImageThroughTheEngine() {
        auto sinkOwner = std::make_unique<RecordingSink>();
        RecordingSink* sink = sinkOwner.get();
        sink->setLimit(100 * 2352);
        CdPlayerEngine engine(std::move(sinkOwner));
        const QString cue =
            discimage::write(m_dir->path(), {{300, true}, {200, true}, {160, false}, {90, true}});
        TCDPlayerWindow window(*m_state, m_messages, engine);
        window.openImage(cue);
        QCOMPARE(m_state->settings.cdDriveLetter, cue);
        QTRY_VERIFY((window.tick(), !window.trackButton(4)->isHidden()));
        QVERIFY(!window.trackButton(3)->isEnabled());
        QVERIFY(window.trackButton(5)->isHidden());
        QCOMPARE(window.groupLabel()->text(), QString("Unbekannte Audio-CD eingelegt"));
        window.TrackClick(2);
        QTRY_COMPARE(sink->bytesTaken(), 100 * 2352);
        QVERIFY(sink->recorded() == discimage::sectors(300, 100));
        // What was heard, not what was read ahead: sector 99 of track 2 is second 1.
        QTRY_VERIFY((window.tick(), window.textDisplay(2)->text() == "0,01"));
        QCOMPARE(window.textDisplay(0)->text(), QString("002"));
        QCOMPARE(window.textDisplay(4)->text(), QString("0,05"));
        QVERIFY(window.trackButton(2)->isSwitchedOn());
    }

    void helpPages() {
        QCOMPARE(HelpViewer::pageFor("10005").toString(),
                 QString("qrc:/help/cd-player.html#10005"));
        QCOMPARE(HelpViewer::pageFor("35001").toString(),
                 QString("qrc:/help/cd-player.html#35001"));
        QVERIFY(QFile::exists(":/help/cd-player.html"));
    }

    void closingWhilePausedStops() {
        openWindow();
        m_player.state.mode = CdMode::Paused;
        QVERIFY(m_window->close());
        QCOMPARE(m_player.calls.last(), QString("stop"));
    }

    void commandOpensOneWindowAndCountsIt() {
        HintFilter hints;
        TMain main(*m_state, hints);
        auto* commands = new CdPlayerCommands(main, m_messages);
        auto owned = std::make_unique<ScriptedPlayer>();
        ScriptedPlayer* player = owned.get();
        player->state = disc();
        commands->setPlayer(std::move(owned));
        commands->install();
        m_state->cdDrives.clear();
        main.updateMenuItems();
        QVERIFY(main.action(MainCommand::CdPlayer)->isEnabled());
        m_state->cdDrives = {QStringLiteral("/dev/sr0")};
        main.action(MainCommand::CdPlayer)->trigger();
        QVERIFY(m_state->cdPlayerOpen);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(main.mdiArea()->subWindowList().first()->windowTitle(), QString("CD-Player"));
        main.action(MainCommand::CdPlayer)->trigger();
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        // A playing disc keeps playing when asked so; the next window finds it playing.
        m_state->settings.cdPlayerEndStatus = 2;
        player->state.mode = CdMode::Playing;
        QVERIFY(main.mdiArea()->subWindowList().first()->close());
        QTRY_VERIFY(!m_state->cdPlayerOpen);
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 0);
        TCDPlayerWindow* again = commands->open();
        QVERIFY(again);
        QVERIFY(!again->playButton()->isEnabledTo(again));
        QVERIFY(again->stopButton()->isEnabledTo(again));
        // The main window's closing asks the same question; Abbrechen keeps both open.
        m_state->settings.cdPlayerEndStatus = 1;
        m_messages.answer(MessageButton::Cancel);
        QVERIFY(!main.close());
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(m_messages.messages().last().helpContext, 35001);
    }
};

QTEST_MAIN(TestCdPlayerWindow)
#include "tst_cdplayerwindow.moc"
