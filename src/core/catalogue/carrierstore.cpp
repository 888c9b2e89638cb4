#include "carrierstore.h"

#include "cataloguetexts.h"
#include "core/common/laufzeit.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"
#include "songstore.h"

namespace {

const schema::Table& carrierTable() {
    return records::tableOf<CarrierRecord>();
}

// Rethrows any error but the carrier's own key violation as a plain database error, so
// only a duplicate carrier reads as one.
template <class F> void asPlainError(F&& f) {
    try {
        f();
    } catch (const DbError& e) {
        if (!e.isKeyViolation())
            throw;
        throw DbError(DbError::Kind::Other, e.message(), e.sqliteCode());
    }
}

} // namespace

CarrierData CarrierStore::newCarrier(const Settings& settings, const QDate& today) {
    CarrierData d;
    CarrierRecord& c = d.carrier;
    c.artDerSchallplatte = 0;
    c.nummerierung = settings.globalNumbering ? settings.globalNumber : 0;
    c.anzahlDerLieder = 0;
    c.laufzeitDerSchallplatte = 0;
    c.musikrichtung = 0;
    c.bewertung = 0;
    c.status = 1;
    c.kaufpreis = 0;
    c.kaufdatum = today;
    d.info.currency = settings.currencyNew;
    return d;
}

bool CarrierStore::stored(Database& db, int number) {
    Statement s = db.prepare(u"SELECT 1 FROM \"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = ?1");
    s.bind(1, number);
    return s.next();
}

std::optional<CarrierData> CarrierStore::load(int number) {
    const auto carriers =
        records::select<CarrierRecord>(m_db, u"WHERE \"Folgenummer Kopf\" = ?1", {number});
    if (carriers.empty())
        return std::nullopt;
    CarrierData d;
    d.carrier = carriers.front();
    CarrierInfoRecord key;
    key.folgenummerInfo = number;
    if (auto info = records::find(m_db, key)) {
        d.info = *info;
        d.infoStored = true;
    } else {
        d.info.folgenummerInfo = number;
    }
    return d;
}

bool CarrierStore::lookupExists(const char* table, const OptNumber& key) {
    if (!key)
        return false;
    Statement s = m_db.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE \"Index-Nummer\" = ?1")
                                   .arg(schema::quoted(QString::fromLatin1(table))));
    s.bind(1, *key);
    return s.next();
}

CarrierCheck CarrierStore::check(const CarrierRecord& carrier) {
    using namespace cataloguetexts;
    if (!laufzeit::isValid(carrier.laufzeitDerSchallplatte.value_or(0)))
        return {CarrierField::TotalTime, kTotalTimeSeconds, kTotalTimeSecondsHelp};
    if (carrier.gruppeInterpretText1.isEmpty())
        return {CarrierField::Group, kGroupEmpty, kFieldEmptyHelp};
    // A carrier whose lookups are missing would drop out of every list.
    if (!lookupExists("MUSIKART", carrier.artDerSchallplatte))
        return {CarrierField::MediaType, fieldEmpty(QStringLiteral("Art")), kFieldEmptyHelp};
    if (!lookupExists("MUSIKDIR", carrier.musikrichtung))
        return {CarrierField::MusicDirection, fieldEmpty(QStringLiteral("Musikrichtung")),
                kFieldEmptyHelp};
    if (!lookupExists("MUSIKSTA", carrier.status))
        return {CarrierField::Status, fieldEmpty(QStringLiteral("Status")), kFieldEmptyHelp};
    return {};
}

void CarrierStore::saveInfo(int number, CarrierData& data, const QDate& today) {
    CarrierInfoRecord info = data.info;
    info.folgenummerInfo = number;
    info.changeDate = today;
    CarrierInfoRecord key;
    key.folgenummerInfo = number;
    if (records::find(m_db, key)) {
        records::update(m_db, key, info);
    } else {
        info.creationDate = today;
        records::insert(m_db, info);
    }
    data.info = info;
    data.infoStored = true;
}

int CarrierStore::saveNew(CarrierData& data, const CdReading* reading, bool globalNumbering,
                          const QDate& today) {
    Transaction t(m_db);
    CarrierData stored = data;
    const int number = insertNew(stored, reading, globalNumbering, today);
    t.commit();
    data = stored;
    return number;
}

int CarrierStore::insertNew(CarrierData& data, const CdReading* reading, bool globalNumbering,
                            const QDate& today) {
    CarrierRecord carrier = data.carrier;
    const int number = int(records::nextKey(m_db, carrierTable(), u"Folgenummer Kopf"));
    carrier.folgenummerKopf = number;
    records::insert(m_db, carrier);
    CarrierData stored = data;
    stored.carrier = carrier;
    asPlainError([&] {
        // An information record left behind by a deleted carrier of this number goes.
        CarrierInfoRecord key;
        key.folgenummerInfo = number;
        records::remove(m_db, key);
        saveInfo(number, stored, today);
        if (reading) {
            records::Inserter<DiscCodeRecord> codes(m_db);
            for (const TCDCode& code : reading->codes)
                codes.insert({double(number), double(code.cdNumber), double(qint32(code.discId))});
            if (reading->found) {
                const QString text = reading->textLines.join(QStringLiteral("\r\n"));
                if (!text.isEmpty())
                    records::insert(m_db, CarrierTextRecord{double(number), text});
                SongStore::createFromReading(m_db, number, carrier, *reading);
                if (!reading->cover.isEmpty())
                    records::insert(m_db, PictureRecord{double(number), 1, reading->cover, false});
            }
            carrierorigins::write(m_db, number, reading->origins);
        }
        if (!globalNumbering) {
            const int counter = typeCounter(carrier.artDerSchallplatte);
            if (counter > 0) {
                Statement s = m_db.prepare(u"UPDATE \"MUSIKART\" SET \"Nummerierung\" = ?1 "
                                           u"WHERE \"Index-Nummer\" = ?2");
                s.bind(1, double(counter + 1));
                s.bind(2, carrier.artDerSchallplatte);
                s.run();
            }
        }
    });
    m_db.notifier().announce(Change::Carriers, number);
    data = stored;
    return number;
}

void CarrierStore::saveExisting(int number, CarrierData& data, const OptNumber& loadedStatus,
                                const QDate& today) {
    const schema::Table& table = carrierTable();
    const bool writeStatus = data.carrier.status != loadedStatus;
    QStringList assignments;
    for (int i = 0; i < int(table.fields.size()); ++i) {
        const QString& name = table.fields[i].name;
        if (name == QLatin1String("Folgenummer Kopf") ||
            (name == QLatin1String("Status") && !writeStatus))
            continue;
        assignments.append(schema::quoted(name) + QStringLiteral(" = ?%1").arg(i + 1));
    }
    CarrierRecord carrier = data.carrier;
    carrier.folgenummerKopf = number;
    Transaction t(m_db);
    Statement s =
        m_db.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE \"Folgenummer Kopf\" = ?%3")
                         .arg(schema::quoted(table.name), assignments.join(QStringLiteral(", ")))
                         .arg(table.fields.size() + 1));
    records::bindRecord(s, carrier, table);
    s.bind(int(table.fields.size()) + 1, number);
    s.run();
    CarrierData stored = data;
    stored.carrier = carrier;
    asPlainError([&] { saveInfo(number, stored, today); });
    m_db.notifier().announce(Change::Carriers, number);
    t.commit();
    data = stored;
}

void CarrierStore::touch(Database& db, int number, const QDate& today) {
    Statement s = db.prepare(
        u"UPDATE \"MusikInformation\" SET \"ChangeDate\" = ?1 WHERE \"Folgenummer Info\" = ?2");
    s.bind(1, today);
    s.bind(2, number);
    s.run();
    if (db.changes() == 0) {
        CarrierInfoRecord info;
        info.folgenummerInfo = number;
        info.creationDate = today;
        info.changeDate = today;
        records::insert(db, info);
    }
    db.notifier().announce(Change::Carriers, number);
}

std::vector<LookupRecord> CarrierStore::lookupRows(const QString& table) {
    return records::select<LookupRecord>(m_db, u"ORDER BY \"Kurzbezeichnung\" COLLATE GERMAN", {},
                                         schema::table(table));
}

std::vector<CurrencyRecord> CarrierStore::currencies() {
    return records::select<CurrencyRecord>(m_db, u"ORDER BY \"Currency\" COLLATE GERMAN");
}

int CarrierStore::typeCounter(double mediaType) {
    Statement s =
        m_db.prepare(u"SELECT \"Nummerierung\" FROM \"MUSIKART\" WHERE \"Index-Nummer\" = ?1");
    s.bind(1, mediaType);
    if (!s.next() || s.isNull(0))
        return 0;
    return int(s.toDouble(0));
}
