#include "soundness.h"

#include "database.h"
#include "schema.h"

namespace soundness {
namespace {

// A detail table and the field that names its carrier.
struct CarrierReference {
    const char* table;
    const char* field;
    const char* what;
};
constexpr CarrierReference kCarrierReferences[] = {
    {"MUSIKPOS", "Folgenummer Position", "Das Lied"},
    {"MUSIKTXT", "Folgenummer Text", "Der Text"},
    {"MUSIKGRF", "Tonträgernummer", "Das Bild"},
    {"MUSIKINF", "Folgenummer Kopf", "Der CD-Prüfcode"},
    {"MUSIKVER", "Tonträgernummer", "Der Verleih"},
};

// A number field that must hold a whole number within a range when it holds anything.
struct WholeNumber {
    const char* table;
    const char* field;
    double lowest;
    bool required;
};
constexpr WholeNumber kWholeNumbers[] = {
    {"MUSIKKOP", "Folgenummer Kopf", 1, true},
    {"MUSIKKOP", "Anzahl der Lieder", 0, false},
    {"MUSIKPOS", "Seite der Schallplatte", 0, true},
    {"MUSIKPOS", "Nr. des Liedes", 0, true},
};
constexpr double kHighestNumber = 2147483647;

QString q(const char* name) {
    return schema::quoted(QString::fromUtf8(name));
}

// A number as a person writes it (9, not 9.0); anything else as stored.
QString shown(const Statement& s, int column) {
    const QVariant v = s.toVariant(column);
    return v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString();
}

class Collector {
public:
    Collector(Database& db, int limit) : m_db(db), m_limit(limit) {}

    bool full() const { return m_limit > 0 && int(m_found.size()) >= m_limit; }

    // sql selects the rowid and one value that the text shows (%1).
    void collect(const QString& table, const QString& sql, const QString& text) {
        if (full())
            return;
        Statement s = m_db.prepare(sql);
        const QString fileName = schema::table(table).fileName;
        while (!full() && s.next())
            m_found.push_back(
                {fileName, s.toInt64(0),
                 text.contains(QLatin1String("%1")) ? text.arg(shown(s, 1)) : text});
    }

    std::vector<Violation> take() { return std::move(m_found); }

private:
    Database& m_db;
    int m_limit;
    std::vector<Violation> m_found;
};

} // namespace

QString Violation::describe() const {
    return QStringLiteral("%1, Datensatz %2: %3").arg(fileName).arg(record).arg(text);
}

std::vector<Violation> check(Database& db, int limit) {
    Collector c(db, limit);
    for (const WholeNumber& n : kWholeNumbers) {
        const QString f = q(n.field);
        c.collect(QString::fromUtf8(n.table),
                  QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 OR (%1 IS NOT NULL AND "
                                 "(typeof(%1) NOT IN ('integer', 'real') OR %1 <> "
                                 "CAST(%1 AS INTEGER) OR %1 < %4 OR %1 > %5)) ORDER BY rowid")
                      .arg(f, q(n.table),
                           n.required ? QStringLiteral("%1 IS NULL").arg(f) : QStringLiteral("0"))
                      .arg(n.lowest)
                      .arg(kHighestNumber, 0, 'f', 0),
                  QStringLiteral("Das Feld \"%1\" hat den ungültigen Wert \"%2\".")
                      .arg(QString::fromUtf8(n.field), QStringLiteral("%1")));
    }
    for (const CarrierReference& r : kCarrierReferences) {
        c.collect(QString::fromUtf8(r.table),
                  QStringLiteral("SELECT rowid, %1 FROM %2 AS d WHERE NOT EXISTS (SELECT 1 FROM "
                                 "\"MUSIKKOP\" AS k WHERE k.\"Folgenummer Kopf\" = d.%1) "
                                 "ORDER BY rowid")
                      .arg(q(r.field), q(r.table)),
                  QStringLiteral("%1 gehört zu keinem Tonträger (Tonträger %2).")
                      .arg(QString::fromUtf8(r.what), QStringLiteral("%1")));
    }
    c.collect(QStringLiteral("MUSIKVER"),
              QStringLiteral("SELECT rowid, \"Verliehen an\" FROM \"MUSIKVER\" AS v WHERE NOT "
                             "EXISTS (SELECT 1 FROM \"VERSTAMM\" AS e WHERE e.\"Folgenummer\" = "
                             "v.\"Verliehen an\") ORDER BY rowid"),
              QStringLiteral("Der Verleih nennt keinen vorhandenen Entleiher (Entleiher %1)."));
    // Control characters: what random bytes become in a text field. A tab may come from
    // pasted text and is left alone.
    const QString controls = QStringLiteral(
        "'*[' || char(1) || '-' || char(8) || char(10) || '-' || char(31) || char(127) || ']*'");
    for (const schema::Table& t : schema::tables()) {
        for (const schema::Field& f : t.fields) {
            const QString field = schema::quoted(f.name);
            if (f.type == schema::FieldType::Date)
                c.collect(t.name,
                          QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 IS NOT NULL AND "
                                         "(typeof(%1) <> 'text' OR date(julianday(%1)) IS NOT %1) "
                                         "ORDER BY rowid")
                              .arg(field, schema::quoted(t.name)),
                          QStringLiteral("Das Feld \"%1\" enthält kein gültiges Datum (\"%2\").")
                              .arg(f.name, QStringLiteral("%1")));
            else if (f.type == schema::FieldType::Alpha)
                c.collect(t.name,
                          QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 GLOB %3 "
                                         "ORDER BY rowid")
                              .arg(field, schema::quoted(t.name), controls),
                          // The garbage itself is not worth showing.
                          QStringLiteral("Das Feld \"%1\" enthält Steuerzeichen.").arg(f.name));
        }
    }
    return c.take();
}

qint64 removeLeftOverInformation(Database& db) {
    qint64 removed = 0;
    db.exec(u"DELETE FROM \"MusikInformation\" WHERE NOT EXISTS (SELECT 1 FROM \"MUSIKKOP\" "
            u"AS k WHERE k.\"Folgenummer Kopf\" = \"MusikInformation\".\"Folgenummer Info\")");
    removed += db.changes();
    db.exec(u"DELETE FROM \"MusikPosInformation\" WHERE NOT EXISTS (SELECT 1 FROM \"MUSIKKOP\" "
            u"AS k WHERE k.\"Folgenummer Kopf\" = "
            u"\"MusikPosInformation\".\"Folgenummer Pos Info\")");
    removed += db.changes();
    return removed;
}

} // namespace soundness
