#include "newcarrier.h"
#include "console.h"

#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/cataloguetexts.h"

#include <QDir>

namespace {

// Carriers the collection may hold already, each on its own line; false when there is none
// or the carrier comes from no web source.
bool reportOwned(Database& db, const CarrierRecord& carrier, const CdReading& reading) {
    if (reading.origins.isEmpty())
        return false;
    const QList<carrierorigins::Owned> owned =
        carrierorigins::findOwned(db, carrierorigins::candidateFor(carrier.gruppeInterpretText1,
                                                                   carrier.text2, reading.origins));
    for (const carrierorigins::Owned& o : owned)
        err() << "Schon vorhanden: " << carrierorigins::describe(o) << Qt::endl;
    return !owned.isEmpty();
}

} // namespace

std::optional<double> mediaTypeByShortName(CarrierStore& store, const QString& name) {
    for (const LookupRecord& row : store.lookupRows(QStringLiteral("MUSIKART"))) {
        if (row.kurzbezeichnung.compare(name, Qt::CaseInsensitive) == 0)
            return row.indexNummer;
    }
    return std::nullopt;
}

void proposeNumber(CarrierStore& store, const Settings& settings, CarrierRecord& carrier) {
    if (settings.globalNumbering)
        return;
    const int counter = store.typeCounter(carrier.artDerSchallplatte);
    if (counter > 0)
        carrier.nummerierung = counter;
}

int saveNewCarrier(Database& db, const QString& directory, Settings& settings, CarrierData& data,
                   const CdReading& reading, bool allowDuplicate) {
    CarrierStore store(db);
    const QDate today = QDate::currentDate();
    int number = 0;
    try {
        const CarrierCheck check = store.check(data.carrier);
        if (!check.ok())
            return fail(check.message);
        if (!allowDuplicate && reportOwned(db, data.carrier, reading))
            return 1;
        number = store.saveNew(data, &reading, settings.globalNumbering, today);
    } catch (const DbError& e) {
        return fail(e.isKeyViolation() ? cataloguetexts::kCarrierKeyViolation : e.message());
    }
    if (settings.globalNumbering) {
        ++settings.globalNumber;
        QString error;
        if (!settingsfile::write(
                QDir(directory).filePath(QString::fromLatin1(settingsfile::kFileName)), settings,
                &error))
            err() << "Warnung: " << error << Qt::endl;
    }
    out() << number << Qt::endl;
    return 0;
}
