#include "core/cd/musicbrainzsides.h"

#include <QTest>

using musicbrainz::MediumLayout;

namespace {

// "12\" Vinyl@1:A1,A2,B1" is one medium: format, position and its track numbers.
QList<MediumLayout> media(const QStringList& texts) {
    QList<MediumLayout> list;
    for (const QString& text : texts) {
        const QString head = text.section(QLatin1Char(':'), 0, 0);
        const QString numbers = text.section(QLatin1Char(':'), 1);
        list.append({head.section(QLatin1Char('@'), 0, 0),
                     head.section(QLatin1Char('@'), 1).toInt(), numbers.split(QLatin1Char(','))});
    }
    return list;
}

// "1/1 1/2 2/1": side/number of every song.
QString places(const QList<musicbrainz::SongPlace>& list) {
    QStringList out;
    for (const auto& p : list)
        out << QStringLiteral("%1/%2").arg(p.side).arg(p.number);
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestMusicBrainzSides : public QObject {
    Q_OBJECT
private slots:
    void sides_data() {
        QTest::addColumn<QStringList>("media");
        QTest::addColumn<QString>("places");
        QTest::newRow("LP: letter and digits")
            << QStringList{"12\" Vinyl@1:A1,A2,A3,B1,B2"} << "1/1 1/2 1/3 2/1 2/2";
        QTest::newRow("letters only: counted on their side")
            << QStringList{"Vinyl@1:A,A,B,B,B"} << "1/1 1/2 2/1 2/2 2/3";
        QTest::newRow("lower-case letters") << QStringList{"12\" Vinyl@1:a1,b1"} << "1/1 2/1";
        QTest::newRow("digits as printed, not counted")
            << QStringList{"12\" Vinyl@1:A2,A5,B10"} << "1/2 1/5 2/10";
        QTest::newRow("C is side 3") << QStringList{"12\" Vinyl@1:C1,C2,E1"} << "3/1 3/2 5/1";
        QTest::newRow("2xLP A-D keeps its letters")
            << QStringList{"12\" Vinyl@1:A1,B1", "12\" Vinyl@2:C1,D1"} << "1/1 2/1 3/1 4/1";
        QTest::newRow("A-B twice gives 1-4")
            << QStringList{"12\" Vinyl@1:A1,A2,B1", "12\" Vinyl@2:A1,B1,B2"}
            << "1/1 1/2 2/1 3/1 4/1 4/2";
        QTest::newRow("double A: the side the single letters leave free")
            << QStringList{"7\" Vinyl@1:A,AA"} << "1/1 2/1";
        QTest::newRow("double A behind A and B")
            << QStringList{"7\" Vinyl@1:A1,AA1,B1,AA2"} << "1/1 3/1 2/1 3/2";
        QTest::newRow("two doubled letters take the free sides in turn")
            << QStringList{"7\" Vinyl@1:AA,BB,A"} << "2/1 3/1 1/1";
        QTest::newRow("cassette sides") << QStringList{"Cassette@1:A1,A2,B1"} << "1/1 1/2 2/1";
        QTest::newRow("CD numbered A1: medium and track position")
            << QStringList{"CD@1:A1,A2,B1"} << "1/1 1/2 1/3";
        QTest::newRow("two CDs") << QStringList{"CD@1:1,2", "CD@2:1,2,3"} << "1/1 1/2 2/1 2/2 2/3";
        QTest::newRow("CD after an LP moves behind its sides")
            << QStringList{"12\" Vinyl@1:A1,B1", "CD@2:1,2"} << "1/1 2/1 3/1 3/2";
        QTest::newRow("LP after a CD moves behind it")
            << QStringList{"CD@1:1,2", "12\" Vinyl@2:A1,B1"} << "1/1 1/2 2/1 3/1";
        QTest::newRow("vinyl numbered 1, 2: plain")
            << QStringList{"12\" Vinyl@1:1,2,3"} << "1/1 1/2 1/3";
        QTest::newRow("one number not lettered: the medium is plain")
            << QStringList{"12\" Vinyl@2:A1,A2,3"} << "2/1 2/2 2/3";
        QTest::newRow("a letter with other text is no side")
            << QStringList{"12\" Vinyl@1:A1,B-1"} << "1/1 1/2";
        QTest::newRow("repeated side and number: the next free number")
            << QStringList{"12\" Vinyl@1:A1,A1,A2,B1"} << "1/1 1/2 1/3 2/1";
        QTest::newRow("empty medium between two")
            << QStringList{"CD@1:1", "CD@2:", "CD@3:1"} << "1/1 3/1";
    }
    void sides() {
        QFETCH(QStringList, media);
        QFETCH(QString, places);
        QList<MediumLayout> layouts = ::media(media);
        for (MediumLayout& m : layouts)
            m.numbers.removeAll(QString());
        QCOMPARE(::places(musicbrainz::songPlaces(layouts)), places);
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainzSides)
#include "tst_musicbrainzsides.moc"
