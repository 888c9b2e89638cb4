#include "core/cd/cdtoc.h"
#include "support/discimage.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

TCDToc tocOf(const QList<qint32>& offsets, qint32 leadOutFrames) {
    TCDToc toc{};
    for (int i = 0; i < offsets.size(); ++i)
        toc[size_t(i)] = TCDTocEntry::fromFrames(offsets[i]);
    toc[size_t(offsets.size())] = TCDTocEntry::fromFrames(leadOutFrames);
    return toc;
}

} // namespace

class TestCdToc : public QObject {
    Q_OBJECT
private slots:
    void discIds_data() {
        QTest::addColumn<QList<qint32>>("offsets");
        QTest::addColumn<qint32>("leadOutSeconds");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("shown");
        QTest::newRow("published ten-track disc")
            << QList<qint32>(
                   {150, 12860, 23460, 37067, 54250, 70892, 90637, 107507, 124742, 139870})
            << 2059 << "7908090A"
            << "7908090A";
        // One track at 2 s, lead-out at 300 s: digit sum 2, length 298 (0x12A), 1 track.
        QTest::newRow("top byte below 0x10") << QList<qint32>({150}) << 300 << "02012A01"
                                             << "2012A01";
        // Digit sums 2 + 6 (60 s) + 3 (120 s) = 11, length 598 (0x256), 3 tracks.
        QTest::newRow("three tracks") << QList<qint32>({150, 4500, 9000}) << 600 << "0B025603"
                                      << "B025603";
    }
    void discIds() {
        QFETCH(QList<qint32>, offsets);
        QFETCH(qint32, leadOutSeconds);
        QFETCH(QString, query);
        QFETCH(QString, shown);
        const quint32 id = CDDiscId(tocOf(offsets, leadOutSeconds * 75), int(offsets.size()));
        QCOMPARE(discIdForQuery(id), query);
        QCOMPARE(discIdForDisplay(id), shown);
    }

    void tocEntries() {
        const TCDTocEntry e = TCDTocEntry::fromFrames(139870);
        QCOMPARE(e.minutes, 31); // 139870 div 4500
        QCOMPARE(e.seconds, 4);  // (139870 div 75) mod 60 = 1864 mod 60
    }

    void legacyCode() {
        // 3 tracks of 45:30 in all: 3 * (45 * 60 * 30) + 3
        QCOMPARE(::legacyCode(45.30, 3), 3 * (45 * 60 * 30) + 3);
        QVERIFY(::legacyCode(0.0, 1) != -1);
    }

    void readImage() {
        QTemporaryDir dir;
        const QString cue =
            discimage::write(dir.path(), {discimage::seconds(180), discimage::seconds(125),
                                          discimage::seconds(60, false)});
        QList<TCDList> list;
        CdTocResult result;
        const qint64 code = ReadCDToc(2, cue, &list, result);
        QVERIFY(code != -1);
        QCOMPARE(result.tracks, 3);
        QCOMPARE(result.toc[0].frameOffset, 150);
        QCOMPARE(result.toc[1].frameOffset, 150 + 180 * 75);
        QCOMPARE(result.toc[2].frameOffset, 150 + 305 * 75);
        QCOMPARE(result.toc[3].frameOffset, 150 + 365 * 75);
        QCOMPARE(result.leadOutSeconds, 367);
        QVERIFY(result.hasAudio);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].cdNumber, qint16(2));
        QCOMPARE(list[0].length, 3.00);
        QCOMPARE(list[1].length, 2.05);
        QVERIFY(list[1].audio);
        QVERIFY(!list[2].audio);
        QCOMPARE(result.totalTime, 6.05);
        QCOMPARE(result.discId, CDDiscId(result.toc, 3));
        QCOMPARE(code, ::legacyCode(6.05, 3));
    }

    void noDisc() {
        QTemporaryDir dir;
        CdTocResult result;
        QCOMPARE(ReadCDToc(1, dir.filePath("fehlt.cue"), nullptr, result), -1);
        QFile junk(dir.filePath("junk.cue"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("das ist kein cue sheet\n");
        junk.close();
        QCOMPARE(ReadCDToc(1, junk.fileName(), nullptr, result), -1);
        // libcdio's own error handler would end the program here.
        QCOMPARE(ReadCDToc(1, dir.path(), nullptr, result), -1);
    }

    // A pipe as image or as the data file of a cue sheet used to block the reader forever; an
    // empty data file used to give a track of negative length.
    void unreadableImages_data() {
        QTest::addColumn<QString>("dataFile");
        QTest::addColumn<bool>("fifo");
        QTest::addColumn<QByteArray>("sheet"); // %1: the data file
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = "FILE \"%1\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
        QTest::newRow("pipe") << "daten.bin" << true << good << QByteArray();
        QTest::newRow("leer") << "daten.bin" << false << good << QByteArray();
        // A broken FILE line and no index: the reader falls back to the sheet's own name and
        // places the track before the first sector.
        QTest::newRow("ohne Index, ein Byte")
            << "bild.bin" << false << QByteArray("FILE .bin\" BINARY\r\n  TRACK 01 AUDIO\n  ")
            << QByteArray("X");
    }

    void unreadableImages() {
        QFETCH(QString, dataFile);
        QFETCH(bool, fifo);
        QFETCH(QByteArray, sheet);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString data = dir.filePath(dataFile);
        if (fifo) {
            QCOMPARE(::mkfifo(QFile::encodeName(data).constData(), 0600), 0);
        } else {
            QFile f(data);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QFile cue(dir.filePath("bild.cue"));
        QVERIFY(cue.open(QIODevice::WriteOnly));
        cue.write(sheet.replace("%1", dataFile.toUtf8()));
        cue.close();
        CdTocResult result;
        QCOMPARE(ReadCDToc(1, cue.fileName(), nullptr, result), -1);
        QCOMPARE(ReadCDToc(1, data, nullptr, result), -1);
    }
};

QTEST_GUILESS_MAIN(TestCdToc)
#include "tst_cdtoc.moc"
