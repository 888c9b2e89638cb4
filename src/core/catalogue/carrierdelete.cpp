#include "carrierdelete.h"

#include "carrierorigins.h"

namespace carrierdelete {

void deleteCarrier(Database& db, double carrierNumber) {
    // The order of the detail tables: songs first, the carrier last.
    static const char* const kTables[][2] = {
        {"MUSIKPOS", "Folgenummer Position"}, {"MusikPosInformation", "Folgenummer Pos Info"},
        {"MUSIKVER", "Tonträgernummer"},      {"MUSIKINF", "Folgenummer Kopf"},
        {"MUSIKGRF", "Tonträgernummer"},      {"MUSIKTXT", "Folgenummer Text"},
        {"MUSIKEXT", "Folgenummer Kopf"},     {"MusikInformation", "Folgenummer Info"},
        {"MUSIKKOP", "Folgenummer Kopf"},
    };
    Transaction transaction(db);
    carrierorigins::ensureTable(db); // an older data set the start-up could not complete
    for (const auto& t : kTables) {
        Statement s = db.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = ?")
                                     .arg(QString::fromUtf8(t[0]), QString::fromUtf8(t[1])));
        s.bind(1, carrierNumber);
        s.run();
    }
    db.notifier().announce(Change::Carriers, int(carrierNumber));
    transaction.commit();
}

std::optional<QString> describe(Database& db, double carrierNumber) {
    Statement s = db.prepare(u"SELECT \"Gruppe/Interpret/Text 1\", \"Text 2\" FROM \"MUSIKKOP\" "
                             u"WHERE \"Folgenummer Kopf\" = ?");
    s.bind(1, carrierNumber);
    if (!s.next())
        return std::nullopt;
    return s.toString(0) + QStringLiteral(" / ") + s.toString(1);
}

} // namespace carrierdelete
