#include "support/discimage.h"
#include "support/processrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QList<discimage::Track> kDisc = {{300, true}, {200, true}, {160, false}};

ProcessRun play(const QStringList& args) {
    return runTool(QStringList{QStringLiteral("play")} + args);
}

} // namespace

class TestPlayCommand : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_cue;

private slots:
    void initTestCase() { m_cue = discimage::write(m_dir.path(), kDisc); }

    void wavHoldsTheTrack_data() {
        QTest::addColumn<int>("track");
        QTest::newRow("first") << 1;
        QTest::newRow("second") << 2;
    }
    void wavHoldsTheTrack() {
        QFETCH(int, track);
        const QString wav = m_dir.filePath(QStringLiteral("lied%1.wav").arg(track));
        const ProcessRun r = play({m_cue, "--track", QString::number(track), "--wav", wav});
        QCOMPARE(r.exitCode, 0);
        QFile file(wav);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QByteArray pcm =
            discimage::sectors(discimage::trackStarts(kDisc)[track - 1], kDisc[track - 1].sectors);
        QCOMPARE(bytes.size(), 44 + pcm.size());
        QCOMPARE(bytes.left(4), QByteArray("RIFF"));
        QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 20), quint16(1));     // PCM
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 22), quint16(2));     // stereo
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 24), quint32(44100)); // rate
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 34), quint16(16));    // bits
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 40), quint32(pcm.size()));
        QVERIFY(bytes.mid(44) == pcm);
    }

    void refused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString wav = m_dir.filePath("nie.wav");
        QTest::newRow("data track")
            << QStringList{m_cue, "--track", "3", "--wav", wav} << 1 << "Datentitel";
        QTest::newRow("missing track")
            << QStringList{m_cue, "--track", "4", "--wav", wav} << 1 << "kein Lied 4";
        QTest::newRow("missing file") << QStringList{m_dir.filePath("fehlt.cue"), "--wav", wav} << 1
                                      << "Keine Audio-CD eingelegt";
        QTest::newRow("track zero") << QStringList{m_cue, "--track", "0"} << 2 << "Aufruf";
        QTest::newRow("no source") << QStringList{"--wav", wav} << 2 << "Aufruf";
    }
    void refused() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ProcessRun r = play(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(m_dir.filePath("nie.wav")));
    }
};

QTEST_GUILESS_MAIN(TestPlayCommand)
#include "tst_playcommand.moc"
