#include "core/cd/cdplayerengine.h"
#include "core/cd/recordingsink.h"
#include "support/discimage.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// Audio, data, audio, audio: the data track must never be heard.
const QList<discimage::Track> kDisc = {{300, true}, {160, false}, {200, true}, {150, true}};
const QList<int> kStarts = discimage::trackStarts(kDisc);

QByteArray track(int number, int fromFrame = 0) {
    const int i = number - 1;
    return discimage::sectors(kStarts[i] + fromFrame, kDisc[i].sectors - fromFrame);
}

constexpr qint64 kSector = 2352;

} // namespace

class TestCdPlayerEngine : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_cue;
    RecordingSink* m_sink = nullptr;
    std::unique_ptr<CdPlayerEngine> m_engine;

    void openEngine(const QString& cue) {
        auto sink = std::make_unique<RecordingSink>();
        m_sink = sink.get();
        m_engine = std::make_unique<CdPlayerEngine>(std::move(sink));
        m_engine->setRandomSeed(7);
        m_engine->open(cue);
        m_engine->waitForCommands();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_cue = discimage::write(m_dir.path(), kDisc);
    }
    void init() { openEngine(m_cue); }
    void cleanup() { m_engine.reset(); }

    void status() {
        const CdPlayerStatus s = m_engine->status();
        QCOMPARE(s.mode, CdMode::Stopped);
        QCOMPARE(s.trackFrames, QList<int>({300, 160, 200, 150}));
        QCOMPARE(s.audio, QList<bool>({true, false, true, true}));
        QCOMPARE(s.discFrames, 810);
        QCOMPARE(s.track, 1);
        QVERIFY(s.legacyCode != -1);
        QVERIFY(s.discId != 0);
    }

    // What is played, from a start, until the end or the sink's limit.
    void playing_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("track");
        QTest::addColumn<int>("frame"); // -1: play() from the start
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("ends");
        const int none = int(PlayOption::None);
        QTest::newRow("whole disc without the data track")
            << none << 0 << -1 << qint64(0) << track(1) + track(3) + track(4) << true;
        QTest::newRow("from track 3 at its first sector")
            << none << 3 << 0 << qint64(0) << track(3) + track(4) << true;
        QTest::newRow("second 1, frame 30 of track 3")
            << none << 3 << 105 << qint64(0) << track(3, 105) + track(4) << true;
        QTest::newRow("a data track plays the next audio track")
            << none << 2 << 0 << qint64(0) << track(3) + track(4) << true;
        const QByteArray repeated = track(4) + track(4) + track(4).left(50 * kSector);
        QTest::newRow("repeat the last track") << int(PlayOption::RepeatTrack) << 4 << 0
                                               << qint64(repeated.size()) << repeated << false;
        const QByteArray all = track(4) + track(1) + track(3).left(20 * kSector);
        QTest::newRow("repeat all wraps over the data track")
            << int(PlayOption::RepeatAll) << 4 << 0 << qint64(all.size()) << all << false;
    }
    void playing() {
        QFETCH(int, option);
        QFETCH(int, track);
        QFETCH(int, frame);
        QFETCH(qint64, limit);
        QFETCH(QByteArray, expected);
        QFETCH(bool, ends);
        QSignalSpy ended(m_engine.get(), &CdPlayer::playEnded);
        m_sink->setLimit(limit);
        m_engine->setPlayOption(PlayOption(option));
        if (frame < 0)
            m_engine->play();
        else if (frame == 0)
            m_engine->playTrack(track);
        else {
            m_engine->seek(track, frame); // stopped: seeks and stays stopped
            m_engine->waitForCommands();
            QCOMPARE(m_engine->status().mode, CdMode::Stopped);
            QCOMPARE(m_engine->status().trackFrame, frame);
            m_engine->play();
        }
        if (ends) {
            QTRY_COMPARE(ended.size(), 1);
            QCOMPARE(ended[0][0].toBool(), true);
            // Play again starts from the beginning.
            QTRY_COMPARE(m_engine->status().mode, CdMode::Stopped);
            QCOMPARE(m_engine->status().track, 1);
            QCOMPARE(m_engine->status().discFrame, 0);
        } else {
            QTRY_COMPARE(m_sink->bytesTaken(), limit);
        }
        const QByteArray got = m_sink->recorded();
        QCOMPARE(got.size(), expected.size());
        QVERIFY(got == expected);
    }

    void positionIsWhatWasHeard() {
        m_sink->setLimit(40 * kSector);
        m_engine->playTrack(3);
        QTRY_COMPARE(m_sink->bytesTaken(), 40 * kSector);
        m_engine->waitForCommands();
        // The reader is far ahead; the position is the sector the sink took last.
        QTRY_COMPARE(m_engine->status().trackFrame, 39);
        const CdPlayerStatus s = m_engine->status();
        QCOMPARE(s.track, 3);
        QCOMPARE(s.discFrame, kStarts[2] + 39);
    }

    void pauseLosesAndRepeatsNothing() {
        QSignalSpy ended(m_engine.get(), &CdPlayer::playEnded);
        m_sink->setLimit(100 * kSector);
        m_engine->play();
        QTRY_COMPARE(m_sink->bytesTaken(), 100 * kSector);
        m_engine->pause();
        m_engine->waitForCommands();
        QTRY_COMPARE(m_engine->status().mode, CdMode::Paused);
        m_sink->setLimit(0);
        QTest::qWait(50);
        QCOMPARE(m_sink->bytesTaken(), 100 * kSector);
        m_engine->play();
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY(m_sink->recorded() == track(1) + track(3) + track(4));
    }

    void stopHalts() {
        QSignalSpy ended(m_engine.get(), &CdPlayer::playEnded);
        m_sink->setLimit(120 * kSector);
        m_engine->play();
        QTRY_COMPARE(m_sink->bytesTaken(), 120 * kSector);
        m_engine->stop();
        m_engine->waitForCommands();
        m_sink->setLimit(0);
        QTest::qWait(50);
        QCOMPARE(m_sink->bytesTaken(), 120 * kSector);
        const CdPlayerStatus s = m_engine->status();
        QCOMPARE(s.mode, CdMode::Stopped);
        QCOMPARE(s.trackFrame, 119);
        QCOMPARE(ended.size(), 0);
    }

    void randomPlaysWholeAudioTracks() {
        auto record = [this] {
            m_sink->setLimit(8000 * kSector);
            m_engine->setPlayOption(PlayOption::Random);
            m_engine->playTrack(1);
            [&] { QTRY_COMPARE(m_sink->bytesTaken(), 8000 * kSector); }();
            return m_sink->recorded();
        };
        const QByteArray first = record();
        // Every boundary leads to the first sector of an audio track, never to the data.
        QSet<int> heard;
        for (qsizetype at = 0; at < first.size();) {
            const int lsn = qFromLittleEndian<qint32>(first.constData() + at);
            const int index = int(kStarts.indexOf(lsn));
            QVERIFY2(index >= 0 && kDisc[index].audio, qPrintable(QString::number(lsn)));
            const QByteArray whole = track(index + 1);
            QVERIFY(first.mid(at, whole.size()) == whole.left(first.size() - at));
            heard.insert(index + 1);
            at += whole.size();
        }
        QCOMPARE(heard, QSet<int>({1, 3, 4}));
        // The same seed, the same order.
        openEngine(m_cue);
        QVERIFY(record() == first);
    }

    void truncatedImageFails() {
        // The image ends inside track 3: track 4 lies beyond the end of the file.
        QTemporaryDir dir;
        openEngine(discimage::write(dir.path(), kDisc, 200));
        QSignalSpy ended(m_engine.get(), &CdPlayer::playEnded);
        m_engine->play();
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].toBool(), false);
        QCOMPARE(m_engine->status().mode, CdMode::Stopped);
    }

    void ejectAndCloseAnImage() {
        m_engine->eject();
        m_engine->waitForCommands();
        QCOMPARE(m_engine->status().mode, CdMode::Open);
        QVERIFY(!m_engine->status().hasDisc());
        const int serial = m_engine->status().discSerial;
        m_engine->closeDoor();
        m_engine->waitForCommands();
        QCOMPARE(m_engine->status().mode, CdMode::Stopped);
        QVERIFY(m_engine->status().discSerial != serial);
    }

    void noDisc() {
        QTemporaryDir dir;
        openEngine(dir.filePath("fehlt.cue"));
        QCOMPARE(m_engine->status().mode, CdMode::NotReady);
        // Only a data track: no audio CD.
        openEngine(discimage::write(dir.path(), {{100, false}}));
        QCOMPARE(m_engine->status().mode, CdMode::NotReady);
        m_engine->play();
        m_engine->waitForCommands();
        QCOMPARE(m_engine->status().mode, CdMode::NotReady);
    }
};

QTEST_GUILESS_MAIN(TestCdPlayerEngine)
#include "tst_cdplayerengine.moc"
