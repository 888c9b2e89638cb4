#include "carrierimport.h"

#include "core/db/recordaccess.h"

#include <QFile>
#include <QFileInfo>

namespace carrierimport {
namespace {

constexpr double kLentState = -1;     // set by lending, never chosen
constexpr double kAvailableState = 1; // "Vorhanden" of the delivered states

// The key of a lookup entry with this short name, compared as the lists compare ("lp" is
// "LP"); the entry written exactly so first, then the lowest; none adds one.
double lookupKey(Database& db, const QString& table, const QString& name) {
    const schema::Table& t = schema::table(table);
    const QString value = name.left(t.fields[1].size);
    Statement s = db.prepare(
        QStringLiteral("SELECT \"Index-Nummer\" FROM %1 WHERE \"Kurzbezeichnung\" = ?1 COLLATE "
                       "GERMANPRIMARY ORDER BY \"Kurzbezeichnung\" = ?1 DESC, \"Index-Nummer\" "
                       "LIMIT 1")
            .arg(schema::quoted(t.name)));
    s.bind(1, value);
    if (s.next())
        return s.toDouble(0);
    LookupRecord r;
    r.indexNummer = records::nextKey(db, t, u"Index-Nummer");
    r.kurzbezeichnung = value;
    r.langbezeichnung = value;
    r.nummerierung = 0;
    records::insert(db, r, t);
    return r.indexNummer;
}

qint32 currencyKey(Database& db, const QString& name) {
    const schema::Table& t = schema::table(u"Currency");
    const QString value = name.left(t.fields[1].size);
    Statement s = db.prepare(
        u"SELECT \"Index\" FROM \"Currency\" WHERE \"Currency\" = ? ORDER BY \"Index\" LIMIT 1");
    s.bind(1, value);
    if (s.next())
        return qint32(s.toInt64(0));
    CurrencyRecord r;
    r.index = qint32(records::nextKey(db, t, u"Index"));
    r.currency = value;
    r.currencyLong = value;
    r.factor = 1; // a factor of 0 would make every conversion divide by zero
    records::insert(db, r);
    return r.index;
}

bool carrierKeyTaken(Database& db, const CarrierRecord& k) {
    const schema::Table& t = records::tableOf<CarrierRecord>();
    Statement s = db.prepare(QStringLiteral("SELECT 1 FROM \"MUSIKKOP\" WHERE ") +
                             records::keyCondition(t, 1));
    records::bindKey(s, k, t);
    return s.next();
}

} // namespace

int store(Database& db, const carrierfile::Carrier& c, int newCurrency, QString* note) {
    Transaction transaction(db);
    const double number =
        records::nextKey(db, records::tableOf<CarrierRecord>(), u"Folgenummer Kopf");
    CarrierRecord k;
    k.folgenummerKopf = number;
    k.gruppeInterpretText1 = c.text1;
    k.text2 = c.text2;
    k.nummerierung = double(c.numbering);
    k.erscheinungsjahr = c.year;
    k.anzahlDerLieder = double(c.songCount);
    k.laufzeitDerSchallplatte = c.time;
    k.kaufpreis = c.price;
    k.kaufdatum = c.purchaseDate;
    k.bewertung = double(c.rating);
    k.artDerSchallplatte = lookupKey(db, QStringLiteral("MUSIKART"), c.type);
    k.musikrichtung = lookupKey(db, QStringLiteral("MUSIKDIR"), c.direction);
    k.status = lookupKey(db, QStringLiteral("MUSIKSTA"), c.state);
    // The lent state without its lending could never be returned.
    if (k.status == kLentState) {
        k.status = kAvailableState;
        if (note)
            *note = QStringLiteral("Der Tonträger war beim Export verliehen; er wurde mit dem "
                                   "Status \"Vorhanden\" übernommen.");
    }
    while (carrierKeyTaken(db, k))
        k.nummerierung += 1;
    records::insert(db, k);

    CarrierInfoRecord info;
    info.folgenummerInfo = number;
    info.currency = c.currency.isEmpty() ? newCurrency : currencyKey(db, c.currency);
    info.pressung = c.pressing;
    info.zustand = c.condition;
    info.aufnahme = c.recording;
    info.firma = c.company;
    info.bestellcode = c.orderCode;
    info.creationDate = info.changeDate = QDate::currentDate();
    records::insert(db, info);

    if (c.hasText && !c.textLines.isEmpty()) {
        CarrierTextRecord text;
        text.folgenummerText = number;
        for (const QString& line : c.textLines)
            text.freierText += line + QStringLiteral("\r\n");
        records::insert(db, text);
    }

    records::Inserter<SongRecord> songs(db);
    records::Inserter<SongInfoRecord> songInfos(db);
    for (const carrierfile::Song& s : c.songs) {
        SongRecord r;
        r.folgenummerPosition = number;
        r.seiteDerSchallplatte = double(s.side);
        r.nrDesLiedes = double(s.number);
        r.titelDesLiedes = s.title;
        r.interpretDesLiedes = s.interpret;
        r.laufzeitDesLiedes = s.time;
        r.musikrichtung = lookupKey(db, QStringLiteral("MUSIKDIR"), s.direction);
        r.zaehlwerkstandVon = double(s.counterFrom);
        r.zaehlwerkstandBis = double(s.counterTo);
        r.bewertung = double(s.rating);
        r.erscheinungsjahr = s.year;
        songs.insert(r);
        SongInfoRecord i;
        i.folgenummerPosInfo = number;
        i.seiteDerSchallplatte = r.seiteDerSchallplatte;
        i.nrDesLiedes = r.nrDesLiedes;
        i.bpmVon = qint16(s.bpmFrom);
        i.bpmBis = qint16(s.bpmTo);
        i.tanzstil = s.danceStyle.isEmpty()
                         ? 0.0
                         : lookupKey(db, QStringLiteral("MusikTanzStil"), s.danceStyle);
        songInfos.insert(i);
    }
    db.notifier().announce(Change::Carriers, int(number));
    transaction.commit();
    return int(number);
}

Outcome importFile(Database& db, const QString& path, int newCurrency) {
    Outcome outcome;
    const QString prefix =
        QStringLiteral("Die Datei [") + path + QStringLiteral("] konnte nicht importiert werden");
    if (!QFileInfo(path).isFile()) {
        outcome.message = prefix + QStringLiteral(", da sie nicht vorhanden ist!");
        return outcome;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.message = prefix + QStringLiteral(": ") + file.errorString();
        return outcome;
    }
    const carrierfile::Parsed parsed = carrierfile::parse(file.readAll());
    if (!parsed.ok) {
        outcome.message = prefix + QStringLiteral(": ") + parsed.error.text();
        return outcome;
    }
    try {
        outcome.number = store(db, parsed.carrier, newCurrency, &outcome.note);
    } catch (const DbError& e) {
        outcome.message = prefix + QStringLiteral(": ") + e.message();
        return outcome;
    }
    outcome.ok = true;
    outcome.group = parsed.carrier.text1;
    outcome.title = parsed.carrier.text2;
    return outcome;
}

} // namespace carrierimport
