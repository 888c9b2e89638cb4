#include "carrierexport.h"

#include "core/db/recordaccess.h"

namespace carrierexport {
namespace {

QString shortName(Database& db, const char* table, const std::optional<double>& key) {
    if (!key)
        return {};
    Statement s = db.prepare(
        QStringLiteral("SELECT \"Kurzbezeichnung\" FROM \"%1\" WHERE \"Index-Nummer\" = ?")
            .arg(QLatin1String(table)));
    s.bind(1, *key);
    return s.next() ? s.toString(0) : QString();
}

qint64 whole(const std::optional<double>& v) {
    return v ? qint64(*v) : 0;
}

} // namespace

std::optional<carrierfile::Carrier> read(Database& db, double carrierNumber, bool withPurchase) {
    const auto carriers =
        records::select<CarrierRecord>(db, u"WHERE \"Folgenummer Kopf\" = ?1", {carrierNumber});
    if (carriers.empty())
        return std::nullopt;
    const CarrierRecord& k = carriers.front();
    CarrierInfoRecord infoKey;
    infoKey.folgenummerInfo = carrierNumber;
    const CarrierInfoRecord info = records::find(db, infoKey).value_or(CarrierInfoRecord{});

    carrierfile::Carrier c;
    c.text1 = k.gruppeInterpretText1;
    c.text2 = k.text2;
    c.numbering = qint64(k.nummerierung);
    c.year = k.erscheinungsjahr;
    c.songCount = whole(k.anzahlDerLieder);
    c.time = k.laufzeitDerSchallplatte.value_or(0);
    c.withPurchase = withPurchase;
    if (withPurchase) {
        c.price = k.kaufpreis.value_or(0);
        c.purchaseDate = k.kaufdatum;
        if (info.currency) {
            Statement s = db.prepare(u"SELECT \"Currency\" FROM \"Currency\" WHERE \"Index\" = ?");
            s.bind(1, qint64(*info.currency));
            if (s.next())
                c.currency = s.toString(0);
        }
    }
    c.rating = whole(k.bewertung);
    c.type = shortName(db, "MUSIKART", k.artDerSchallplatte);
    c.direction = shortName(db, "MUSIKDIR", k.musikrichtung);
    c.state = shortName(db, "MUSIKSTA", k.status);
    c.pressing = info.pressung;
    c.condition = info.zustand;
    c.recording = info.aufnahme;
    c.company = info.firma;
    c.orderCode = info.bestellcode;

    CarrierTextRecord textKey;
    textKey.folgenummerText = carrierNumber;
    if (const auto text = records::find(db, textKey)) {
        c.hasText = true;
        c.textLines = carrierfile::memoLines(text->freierText);
    }

    const auto songs = records::select<SongRecord>(
        db,
        u"WHERE \"Folgenummer Position\" = ?1 ORDER BY \"Seite der Schallplatte\", "
        u"\"Nr. des Liedes\"",
        {carrierNumber});
    for (const SongRecord& r : songs) {
        carrierfile::Song s;
        s.side = qint64(r.seiteDerSchallplatte);
        s.number = qint64(r.nrDesLiedes);
        s.title = r.titelDesLiedes;
        s.interpret = r.interpretDesLiedes;
        s.time = r.laufzeitDesLiedes.value_or(0);
        s.direction = shortName(db, "MUSIKDIR", r.musikrichtung);
        s.counterFrom = whole(r.zaehlwerkstandVon);
        s.counterTo = whole(r.zaehlwerkstandBis);
        s.rating = whole(r.bewertung);
        s.year = r.erscheinungsjahr;
        SongInfoRecord songKey;
        songKey.folgenummerPosInfo = carrierNumber;
        songKey.seiteDerSchallplatte = r.seiteDerSchallplatte;
        songKey.nrDesLiedes = r.nrDesLiedes;
        if (const auto songInfo = records::find(db, songKey)) {
            s.hasInfo = true;
            s.bpmFrom = songInfo->bpmVon.value_or(0);
            s.bpmTo = songInfo->bpmBis.value_or(0);
            s.danceStyle = shortName(db, "MusikTanzStil", songInfo->tanzstil);
        }
        c.songs.push_back(std::move(s));
    }
    return c;
}

bool exportToFile(Database& db, double carrierNumber, bool withPurchase, const QString& path,
                  QString* error) {
    std::optional<carrierfile::Carrier> carrier;
    try {
        carrier = read(db, carrierNumber, withPurchase);
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return false;
    }
    if (!carrier) {
        if (error)
            *error = QStringLiteral("Der Tonträger ist nicht mehr vorhanden.");
        return false;
    }
    return carrierfile::write(path, *carrier, error);
}

} // namespace carrierexport
