#include "cdplayerlookup.h"

#include "core/db/database.h"
#include "core/db/dberror.h"
#include "core/db/statement.h"

namespace cdplayerlookup {

namespace {

std::optional<DiscMatch> findCode(Database& db, double code, double otherForm) {
    try {
        Statement s = db.prepare(
            u"SELECT i.\"Folgenummer Kopf\", i.\"CD Nummer\" FROM \"MUSIKINF\" i "
            u"WHERE i.\"CD Pruefcode\" IN (?1, ?2) AND EXISTS (SELECT 1 FROM \"MUSIKKOP\" k "
            u"WHERE k.\"Folgenummer Kopf\" = i.\"Folgenummer Kopf\") "
            u"ORDER BY i.\"Folgenummer Kopf\", i.\"CD Nummer\" LIMIT 1");
        s.bind(1, code).bind(2, otherForm);
        if (s.next())
            return DiscMatch{s.toDouble(0), s.toDouble(1)};
    } catch (const DbError&) {
    }
    return std::nullopt;
}

std::optional<Heading> heading(Statement&& s) {
    if (!s.next())
        return std::nullopt;
    return Heading{s.toString(0), s.toString(1)};
}

} // namespace

std::optional<DiscMatch> findDiscId(Database& db, quint32 discId) {
    return findCode(db, double(qint32(discId)), double(discId));
}

std::optional<DiscMatch> findLegacyCode(Database& db, qint64 code) {
    return findCode(db, double(code), double(code));
}

std::optional<Heading> carrier(Database& db, double carrier) {
    try {
        Statement s = db.prepare(u"SELECT \"Gruppe/Interpret/Text 1\", \"Text 2\" FROM "
                                 u"\"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = ?1");
        s.bind(1, carrier);
        return heading(std::move(s));
    } catch (const DbError&) {
        return std::nullopt;
    }
}

std::optional<Heading> song(Database& db, double carrier, double cdNumber, int track) {
    try {
        Statement s =
            db.prepare(u"SELECT \"Titel des Liedes\", \"Interpret des Liedes\" FROM \"MUSIKPOS\" "
                       u"WHERE \"Folgenummer Position\" = ?1 AND \"Seite der Schallplatte\" = ?2 "
                       u"AND \"Nr. des Liedes\" = ?3 LIMIT 1");
        s.bind(1, carrier).bind(2, cdNumber).bind(3, double(track));
        return heading(std::move(s));
    } catch (const DbError&) {
        return std::nullopt;
    }
}

} // namespace cdplayerlookup
