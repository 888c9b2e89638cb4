#include "core/cd/cdtoc.h"
#include "core/cd/musicbrainz.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The example disc of the disc ID documentation: six tracks, lead-out at frame 95462.
const QList<qint32> kOffsets = {150, 15363, 32314, 46592, 63414, 80489};
constexpr qint32 kLeadOut = 95462;
const QString kDiscId = QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A .cue image of that disc over a sparse .bin (nothing is written but its size).
QString writeImage(const QString& dir) {
    auto msf = [](qint32 frames) {
        return QStringLiteral("%1:%2:%3")
            .arg(frames / 4500, 2, 10, QLatin1Char('0'))
            .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
            .arg(frames % 75, 2, 10, QLatin1Char('0'));
    };
    QFile bin(dir + "/disc.bin");
    bin.open(QIODevice::WriteOnly);
    bin.resize(qint64(kLeadOut - 150) * 2352);
    QString cue = QStringLiteral("FILE \"disc.bin\" BINARY\n");
    for (int i = 0; i < kOffsets.size(); ++i)
        cue += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(msf(kOffsets[i] - 150));
    QFile cueFile(dir + "/disc.cue");
    cueFile.open(QIODevice::WriteOnly);
    cueFile.write(cue.toLatin1());
    return cueFile.fileName();
}

} // namespace

class TestMusicBrainz : public QObject {
    Q_OBJECT
private slots:
    void discIdOfAnImage() {
        QTemporaryDir dir;
        CdTocResult disc;
        QVERIFY(ReadCDToc(1, writeImage(dir.path()), nullptr, disc) != -1);
        QCOMPARE(disc.tracks, 6);
        QCOMPARE(disc.toc[6].frameOffset, kLeadOut);
        const auto identity = musicbrainz::discIdentity(disc.toc, disc.tracks);
        QVERIFY(identity);
        QCOMPARE(identity->id, kDiscId);
        QCOMPARE(identity->toc, QStringLiteral("1 6 95462 150 15363 32314 46592 63414 80489"));
        QVERIFY(!musicbrainz::discIdentity(disc.toc, 0));
    }

    void replies_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("firstTracks"); // interpreter|title of the first release
        QTest::addColumn<QString>("firstGroup");      // its release group
        QTest::newRow("one disc, two releases")
            << fixture("discid_two_releases.json")
            << QStringList({"Die Ärzte / Debil (1984, DE, Medium 1 von 1)",
                            "Die Ärzte / Debil (Remastered) (Medium 1 von 1)"})
            << QStringList({"Die Ärzte|Łódź", "Die Ärzte feat. Nena|Zu spät", "Die Ärzte|Paul",
                            "Die Ärzte|Schlaflos", "Die Ärzte|Wie am ersten Tag",
                            "Die Ärzte|100 €"})
            << "22222222-aaaa-4bbb-8ccc-000000000001";
        QTest::newRow("the disc is the second medium")
            << fixture("discid_two_media.json")
            << QStringList({"Kapela / Live (1999, PL, Medium 2 von 2)"})
            << QStringList({"Kapela|Łódź", "Kapela|Zu spät", "Kapela|Paul", "Kapela|Schlaflos",
                            "Kapela|Wie am ersten Tag", "Kapela|100 €"})
            << QString();
        QTest::newRow("table of contents: the medium with as many tracks")
            << fixture("toc_lookup.json")
            << QStringList({"Jemand / Ähnlich (2001, AT, Medium 2 von 2)"})
            << QStringList({"Jemand|Łódź", "Jemand|Zu spät", "Jemand|Paul", "Jemand|Schlaflos",
                            "Jemand|Wie am ersten Tag", "Jemand|100 €"})
            << QString();
        QTest::newRow("no releases") << QByteArray(R"({"release-count":0,"releases":[]})")
                                     << QStringList() << QStringList() << QString();
    }
    void replies() {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, firstTracks);
        QFETCH(QString, firstGroup);
        QVERIFY(!json.isEmpty());
        const auto releases = musicbrainz::parseDiscReply(json, kDiscId, 6);
        QVERIFY(releases);
        QStringList got;
        for (const auto& release : *releases)
            got << release.label();
        QCOMPARE(got, labels);
        QStringList tracks;
        if (!releases->isEmpty()) {
            const cddb::DiscRecord record = releases->first().toDiscRecord();
            QCOMPARE(record.title, releases->first().title);
            QCOMPARE(record.year, releases->first().year());
            QCOMPARE(releases->first().releaseGroup, firstGroup);
            for (const TCDTitleList& t : record.tracks)
                tracks << t.interpreter + '|' + t.title;
        }
        QCOMPARE(tracks, firstTracks);
    }

    void notTheServicesJson_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("html") << QByteArray("<html><body>502 Bad Gateway</body></html>");
        QTest::newRow("cut off") << fixture("discid_two_releases.json").left(500);
        QTest::newRow("error object") << fixture("not_found.json");
    }
    void notTheServicesJson() {
        QFETCH(QByteArray, body);
        QVERIFY(!musicbrainz::parseDiscReply(body, kDiscId, 6));
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainz)
#include "tst_musicbrainz.moc"
