#include "discogsexport.h"

#include "carrierorigins.h"
#include "core/common/atomicfile.h"
#include "core/common/csvwriter.h"
#include "core/db/database.h"
#include "discogsformat.h"

namespace discogs {
namespace {

constexpr qsizetype kBlock = 64 * 1024;
constexpr int kExportProgressRows = 256;

CarrierFields fieldsOf(const Statement& s) {
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
    if (!text.isEmpty()) {
        // Lines end with CR LF; one with LF alone reads the same.
        f.textLines = text.split(QLatin1Char('\n'));
        for (QString& line : f.textLines)
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
    }
    return f;
}

} // namespace

const QString& exportSelect() {
    // Every carrier with what the export needs, by carrier number.
    static const QString sql =
        QStringLiteral(
            "SELECT k.\"Gruppe/Interpret/Text 1\", k.\"Text 2\", a.\"Kurzbezeichnung\", "
            "i.\"Firma\", i.\"Bestellcode\", k.\"Bewertung\", k.\"Erscheinungsjahr\", "
            "i.\"Zustand\", e.\"Kennung\", t.\"Freier Text 2000 Zeichen\" "
            "FROM \"MUSIKKOP\" k "
            "LEFT JOIN \"MUSIKART\" a ON a.\"Index-Nummer\" = k.\"Art der Schallplatte\" "
            "LEFT JOIN \"MusikInformation\" i ON i.\"Folgenummer Info\" = k.\"Folgenummer Kopf\" "
            "LEFT JOIN \"MUSIKTXT\" t ON t.\"Folgenummer Text\" = k.\"Folgenummer Kopf\" "
            "LEFT JOIN \"MUSIKEXT\" e ON e.\"Folgenummer Kopf\" = k.\"Folgenummer Kopf\" "
            "AND e.\"Quelle\" = '%1' ORDER BY k.\"Folgenummer Kopf\"")
            .arg(carrierorigins::kDiscogsRelease);
    return sql;
}

ExportOutcome exportCollection(Database& db, const QString& path, const ExportProgress& progress) {
    ExportOutcome o;
    atomicfile::Stream file(path);
    if (!file.open(&o.error))
        return o;
    try {
        const qint64 total = db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong();
        Statement s = db.prepare(exportSelect());
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
            if (progress && o.rows % kExportProgressRows == 0 && !progress(o.rows, total)) {
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
