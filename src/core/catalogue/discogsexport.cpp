#include "discogsexport.h"

#include "carrierorigins.h"
#include "core/common/atomicfile.h"
#include "core/common/csvwriter.h"
#include "core/db/database.h"
#include "discogsformat.h"

#include <QRegularExpression>

namespace discogs {
namespace {

constexpr qsizetype kBlock = 64 * 1024;
constexpr int kProgressRows = 256;

// Every carrier with what the export needs, by carrier number.
const char16_t kCarriersSql[] =
    u"SELECT k.\"Gruppe/Interpret/Text 1\", k.\"Text 2\", a.\"Kurzbezeichnung\", i.\"Firma\", "
    u"i.\"Bestellcode\", k.\"Bewertung\", k.\"Erscheinungsjahr\", i.\"Zustand\", e.\"Kennung\", "
    u"t.\"Freier Text 2000 Zeichen\" "
    u"FROM \"MUSIKKOP\" k "
    u"LEFT JOIN \"MUSIKART\" a ON a.\"Index-Nummer\" = k.\"Art der Schallplatte\" "
    u"LEFT JOIN \"MusikInformation\" i ON i.\"Folgenummer Info\" = k.\"Folgenummer Kopf\" "
    u"LEFT JOIN \"MUSIKTXT\" t ON t.\"Folgenummer Text\" = k.\"Folgenummer Kopf\" "
    u"LEFT JOIN \"MUSIKEXT\" e ON e.\"Folgenummer Kopf\" = k.\"Folgenummer Kopf\" "
    u"AND e.\"Quelle\" = ?1 "
    u"ORDER BY k.\"Folgenummer Kopf\"";

CarrierFields fieldsOf(const Statement& s) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    CarrierFields f;
    f.group = s.toString(0);
    f.title = s.toString(1);
    f.typeName = s.toString(2);
    f.company = s.toString(3);
    f.orderCode = s.toString(4);
    f.rating = int(s.toDouble(5));
    f.year = s.toString(6);
    f.condition = s.toString(7);
    f.releaseId = s.toString(8);
    const QString text = s.toString(9);
    if (!text.isEmpty())
        f.textLines = text.split(lineBreak);
    return f;
}

} // namespace

ExportOutcome exportCollection(Database& db, const QString& path, const ExportProgress& progress) {
    ExportOutcome o;
    atomicfile::Stream file(path);
    if (!file.open(&o.error))
        return o;
    try {
        const qint64 total = db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong();
        Statement s = db.prepare(kCarriersSql);
        s.bind(1, carrierorigins::kDiscogsRelease);
        QString pending;
        pending.reserve(kBlock + 4096);
        csv::appendRow(pending, columnTitles(), u',');
        bool written = true;
        while (written && s.next()) {
            csv::appendRow(pending, cells(toRow(fieldsOf(s))), u',');
            ++o.rows;
            if (pending.size() >= kBlock) {
                written = file.write(pending.toUtf8());
                pending.clear();
            }
            if (progress && o.rows % kProgressRows == 0 && !progress(o.rows, total)) {
                o.cancelled = true;
                return o; // the stream removes its temporary file
            }
        }
        if (written)
            file.write(pending.toUtf8());
    } catch (const DbError& e) {
        o.error = e.message();
        return o;
    }
    o.ok = file.commit(&o.error);
    if (o.ok && progress)
        progress(o.rows, o.rows);
    return o;
}

} // namespace discogs
