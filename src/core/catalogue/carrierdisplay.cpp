#include "carrierdisplay.h"

#include "core/common/germanformat.h"

namespace carrierdisplay {
namespace {

QString whole(const Statement& s, int c) {
    if (s.isNull(c))
        return {};
    const double v = s.toDouble(c);
    return v == qint64(v) ? QString::number(qint64(v)) : germanformat::formatNumber(v);
}

QString decimal(const Statement& s, int c) {
    if (s.isNull(c))
        return {};
    return QString::number(s.toDouble(c), 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString date(const Statement& s, int c) {
    return germanformat::formatDate(s.toDate(c));
}

} // namespace

const std::vector<SongColumn>& songColumns() {
    static const std::vector<SongColumn> columns = {
        {QStringLiteral("Seite"), 10510, true},
        {QStringLiteral("Nr."), 10515, true},
        {QStringLiteral("Titel"), 10525, false},
        {QStringLiteral("Interpret"), 10530, false},
        {QStringLiteral("Laufzeit"), 10520, true},
        {QStringLiteral("Musikrichtung"), 10535, false},
        {QStringLiteral("Zählwerkstand von"), 10545, true},
        {QStringLiteral("Zählwerkstand bis"), 10550, true},
        {QStringLiteral("Bewertung"), 10540, true},
        {QStringLiteral("Erscheinungsjahr"), 10555, true},
        {QStringLiteral("BPM von"), 10560, true},
        {QStringLiteral("BPM bis"), 10565, true},
        {QStringLiteral("Tanzstil"), 10570, false},
    };
    return columns;
}

std::optional<Carrier> load(Database& db, double carrierNumber) {
    Statement k = db.prepare(
        u"SELECT A.\"Kurzbezeichnung\", K.\"Nummerierung\", K.\"Gruppe/Interpret/Text 1\", "
        u"K.\"Text 2\", K.\"Anzahl der Lieder\", K.\"Laufzeit der Schallplatte\", K.\"Bewertung\", "
        u"K.\"Erscheinungsjahr\", S.\"Kurzbezeichnung\", D.\"Kurzbezeichnung\", I.\"Pressung\", "
        u"I.\"Aufnahme\", I.\"Zustand\", I.\"Bestellcode\", I.\"Firma\", I.\"CreationDate\", "
        u"I.\"ChangeDate\" FROM \"MUSIKKOP\" K "
        u"LEFT JOIN \"MUSIKART\" A ON A.\"Index-Nummer\" = K.\"Art der Schallplatte\" "
        u"LEFT JOIN \"MUSIKSTA\" S ON S.\"Index-Nummer\" = K.\"Status\" "
        u"LEFT JOIN \"MUSIKDIR\" D ON D.\"Index-Nummer\" = K.\"Musikrichtung\" "
        u"LEFT JOIN \"MusikInformation\" I ON I.\"Folgenummer Info\" = K.\"Folgenummer Kopf\" "
        u"WHERE K.\"Folgenummer Kopf\" = ?");
    k.bind(1, carrierNumber);
    if (!k.next())
        return std::nullopt;
    Carrier c;
    c.number = carrierNumber;
    Header& h = c.header;
    h.typeName = k.toString(0);
    h.numbering = whole(k, 1);
    h.group = k.toString(2);
    h.title = k.toString(3);
    h.songCount = whole(k, 4);
    h.totalTime = decimal(k, 5);
    h.rating = whole(k, 6);
    h.year = k.toString(7);
    h.stateName = k.toString(8);
    h.directionName = k.toString(9);
    h.pressing = k.toString(10);
    h.recording = k.toString(11);
    h.condition = k.toString(12);
    h.orderCode = k.toString(13);
    h.company = k.toString(14);
    h.created = date(k, 15);
    h.changed = date(k, 16);

    Statement p = db.prepare(u"SELECT \"Grafik\" FROM \"MUSIKGRF\" WHERE \"Tonträgernummer\" = ? "
                             u"ORDER BY \"Grafiknummer\" LIMIT 1");
    p.bind(1, carrierNumber);
    if (p.next())
        c.picture = p.toBlob(0);

    Statement s = db.prepare(
        u"SELECT P.\"Seite der Schallplatte\", P.\"Nr. des Liedes\", P.\"Titel des Liedes\", "
        u"P.\"Interpret des Liedes\", P.\"Laufzeit des Liedes\", D.\"Kurzbezeichnung\", "
        u"P.\"Zählwerkstand von\", P.\"Zählwerkstand bis\", P.\"Bewertung\", "
        u"P.\"Erscheinungsjahr\", I.\"BPM von\", I.\"BPM bis\", T.\"Kurzbezeichnung\" "
        u"FROM \"MUSIKPOS\" P "
        u"LEFT JOIN \"MUSIKDIR\" D ON D.\"Index-Nummer\" = P.\"Musikrichtung\" "
        u"LEFT JOIN \"MusikPosInformation\" I ON I.\"Folgenummer Pos Info\" = "
        u"P.\"Folgenummer Position\" AND I.\"Seite der Schallplatte\" = P.\"Seite der "
        u"Schallplatte\" AND I.\"Nr. des Liedes\" = P.\"Nr. des Liedes\" "
        u"LEFT JOIN \"MusikTanzStil\" T ON T.\"Index-Nummer\" = I.\"Tanzstil\" "
        u"WHERE P.\"Folgenummer Position\" = ? "
        u"ORDER BY P.\"Seite der Schallplatte\", P.\"Nr. des Liedes\"");
    s.bind(1, carrierNumber);
    while (s.next()) {
        c.songs.push_back({whole(s, 0), whole(s, 1), s.toString(2), s.toString(3), decimal(s, 4),
                           s.toString(5), whole(s, 6), whole(s, 7), whole(s, 8), s.toString(9),
                           whole(s, 10), whole(s, 11), s.toString(12)});
    }
    return c;
}

} // namespace carrierdisplay
