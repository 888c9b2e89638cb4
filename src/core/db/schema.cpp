#include "schema.h"

#include <QHash>
#include <stdexcept>

namespace schema {
namespace {

using T = FieldType;

Field alpha(const char* name, int size) {
    return {QString::fromUtf8(name), T::Alpha, size};
}
Field of(const char* name, FieldType type) {
    return {QString::fromUtf8(name), type, 0};
}
Index index(const char* name, std::initializer_list<const char*> fields,
            const char* collation = "GERMAN") {
    Index i{QString::fromUtf8(name), {}, QString::fromLatin1(collation)};
    for (const char* f : fields)
        i.fields.append(QString::fromUtf8(f));
    return i;
}

Table lookup(const char* name, const char* fileName, const char* indexName) {
    return {QString::fromUtf8(name),
            QString::fromUtf8(fileName),
            {of("Index-Nummer", T::Number), alpha("Kurzbezeichnung", 10),
             alpha("Langbezeichnung", 50), of("Nummerierung", T::Number)},
            1,
            {index(indexName, {"Kurzbezeichnung"})}};
}

std::vector<Table> build() {
    std::vector<Table> t;
    t.push_back(
        {QStringLiteral("MUSIKKOP"),
         QStringLiteral("MUSIKKOP.DB"),
         {alpha("Gruppe/Interpret/Text 1", 50), alpha("Text 2", 50),
          of("Art der Schallplatte", T::Number), of("Nummerierung", T::Number),
          of("Folgenummer Kopf", T::Number), alpha("Erscheinungsjahr", 4),
          of("Musikrichtung", T::Number), of("Anzahl der Lieder", T::Number),
          of("Laufzeit der Schallplatte", T::Number), of("Status", T::Number),
          of("Kaufpreis", T::Money), of("Kaufdatum", T::Date), of("Bewertung", T::Number)},
         4,
         {index("Folgenummer Kopf", {"Folgenummer Kopf"}),
          index("Print Order", {"Art der Schallplatte", "Nummerierung"}),
          // The media list's orders, each ending in the carrier number.
          index("Liste Standard", {"Gruppe/Interpret/Text 1", "Text 2", "Art der Schallplatte",
                                   "Nummerierung", "Folgenummer Kopf"}),
          index("Liste Gruppe", {"Gruppe/Interpret/Text 1", "Folgenummer Kopf"}),
          index("Liste Titel", {"Text 2", "Folgenummer Kopf"}),
          index("Liste Art", {"Art der Schallplatte", "Folgenummer Kopf"}),
          index("Liste Nummerierung", {"Nummerierung", "Folgenummer Kopf"}),
          index("Liste Lieder", {"Anzahl der Lieder", "Folgenummer Kopf"}),
          index("Liste Laufzeit", {"Laufzeit der Schallplatte", "Folgenummer Kopf"}),
          index("Liste Musikrichtung", {"Musikrichtung", "Folgenummer Kopf"}),
          index("Liste Status", {"Status", "Folgenummer Kopf"}),
          index("Liste Jahr", {"Erscheinungsjahr", "Folgenummer Kopf"}),
          index("Liste Kaufpreis", {"Kaufpreis", "Folgenummer Kopf"}),
          index("Liste Kaufdatum", {"Kaufdatum", "Folgenummer Kopf"}),
          index("Liste Bewertung", {"Bewertung", "Folgenummer Kopf"}),
          // Finds a carrier the user may own already: equal as the lists compare, without
          // their tie-break.
          index("Gruppe und Titel", {"Gruppe/Interpret/Text 1", "Text 2"}, "GERMANPRIMARY")}});
    t.push_back({QStringLiteral("MusikInformation"),
                 QStringLiteral("MusikInformation.DB"),
                 {of("Folgenummer Info", T::Number), alpha("Pressung", 5), alpha("Zustand", 5),
                  alpha("Aufnahme", 5), alpha("Firma", 30), alpha("Bestellcode", 20),
                  of("Currency", T::Long), of("CreationDate", T::Date), of("ChangeDate", T::Date)},
                 1,
                 {}});
    t.push_back({QStringLiteral("MUSIKPOS"),
                 QStringLiteral("MUSIKPOS.DB"),
                 {of("Folgenummer Position", T::Number), of("Seite der Schallplatte", T::Number),
                  of("Nr. des Liedes", T::Number), alpha("Titel des Liedes", 50),
                  alpha("Interpret des Liedes", 50), of("Laufzeit des Liedes", T::Number),
                  of("Musikrichtung", T::Number), of("Zählwerkstand von", T::Number),
                  of("Zählwerkstand bis", T::Number), of("Bewertung", T::Number),
                  alpha("Erscheinungsjahr", 4)},
                 3,
                 {}});
    t.push_back({QStringLiteral("MusikPosInformation"),
                 QStringLiteral("MusikPosInformation.DB"),
                 {of("Folgenummer Pos Info", T::Number), of("Seite der Schallplatte", T::Number),
                  of("Nr. des Liedes", T::Number), of("BPM von", T::Short), of("BPM bis", T::Short),
                  of("Tanzstil", T::Number)},
                 3,
                 {}});
    t.push_back({QStringLiteral("MUSIKTXT"),
                 QStringLiteral("MUSIKTXT.DB"),
                 {of("Folgenummer Text", T::Number), of("Freier Text 2000 Zeichen", T::Memo)},
                 1,
                 {}});
    t.push_back({QStringLiteral("MUSIKGRF"),
                 QStringLiteral("MUSIKGRF.DB"),
                 {of("Tonträgernummer", T::Number), of("Grafiknummer", T::Number),
                  of("Grafik", T::Graphic), of("Stretch", T::Logical)},
                 2,
                 {}});
    t.push_back({QStringLiteral("MUSIKINF"),
                 QStringLiteral("MUSIKINF.DB"),
                 {of("Folgenummer Kopf", T::Number), of("CD Nummer", T::Number),
                  of("CD Pruefcode", T::Number)},
                 2,
                 {index("CD Pruefcode", {"CD Pruefcode"})}});
    t.push_back(lookup("MUSIKART", "MUSIKART.DB", "Kurzbezeichnung"));
    t.push_back(lookup("MUSIKDIR", "MUSIKDIR.DB", "Kurzbezeichnung"));
    t.push_back(lookup("MUSIKSTA", "MUSIKSTA.DB", "Kurzbezeichnung"));
    t.push_back(lookup("MusikTanzStil", "MusikTanzStil.DB", "Kurzbezeichnung"));
    t.push_back(
        {QStringLiteral("MUSIKCOV"),
         QStringLiteral("MUSIKCOV.DB"),
         {of("Index-Nummer", T::Number), of("Leerzeilen vor", T::Short),
          of("Leerzeilen nach", T::Short), alpha("Font Name", 50), of("Font Größe", T::Short)},
         1,
         {}});
    t.push_back(
        {QStringLiteral("MUSIKVER"),
         QStringLiteral("MUSIKVER.DB"),
         {of("Tonträgernummer", T::Number), of("Verleihstatus", T::Number),
          of("Folgenummer", T::Number), of("Verliehen an", T::Number), of("Verliehen am", T::Date),
          of("Zurück am", T::Date), of("Status alt", T::Number)},
         3,
         {index("Folgenummer", {"Folgenummer"})}});
    t.push_back({QStringLiteral("VERSTAMM"),
                 QStringLiteral("VERSTAMM.DB"),
                 {of("Folgenummer", T::Number), alpha("Name 1", 35), alpha("Name 2", 35),
                  alpha("Straße", 35), alpha("Postfach", 10), alpha("Postleitzahl", 8),
                  alpha("Ort", 26), alpha("Land", 35), alpha("Telefon", 20)},
                 1,
                 {index("Alpha", {"Name 1", "Name 2"})}});
    t.push_back({QStringLiteral("MUSIKHLP"),
                 QStringLiteral("MUSIKHLP.DB"),
                 {alpha("TableName", 20), of("Index", T::Number), alpha("Hilfstext", 100)},
                 2,
                 {}});
    t.push_back({QStringLiteral("MPRTTEXT"),
                 QStringLiteral("MPRTTEXT.DB"),
                 {of("Type", T::Number), of("Index-Nummer", T::Number), alpha("Bezeichnung", 50),
                  of("Seitenrand", T::Number), of("Kopf-Text", T::Memo), of("Seiten-Text", T::Memo),
                  of("Fuss-Text", T::Memo)},
                 2,
                 {}});
    t.push_back({QStringLiteral("Currency"),
                 QStringLiteral("Currency.DB"),
                 {of("Index", T::Long), alpha("Currency", 4), alpha("Currency long", 40),
                  of("Factor", T::Number)},
                 1,
                 {index("Currency", {"Currency"})}});
    t.push_back({QStringLiteral("FeldOriginal"),
                 QStringLiteral("FeldOriginal.DB"),
                 {alpha("Typ", 1), of("Feldindex", T::Long), alpha("Feldbezeichnung", 30),
                  alpha("Beschreibung", 60), alpha("Listentext", 30), of("Auffüllen", T::Logical),
                  of("Verwendung", T::Short)},
                 2,
                 {}});
    t.push_back({QStringLiteral("FeldKopie"),
                 QStringLiteral("FeldKopie.DB"),
                 {alpha("Typ", 1), of("Feldindex", T::Long), alpha("Feldbezeichnung", 30)},
                 2,
                 {}});
    t.push_back(lookup("VideoKategorien", "VideoKategorien.DB", "Kurz"));
    t.push_back(lookup("VideoKassettenarten", "VideoKassettenarten.DB", "Kurz"));
    t.push_back(lookup("VideoAudioarten", "VideoAudioarten.DB", "Kurz"));
    t.push_back(lookup("VideoSprachen", "VideoSprachen.DB", "Kurz"));
    t.push_back({QStringLiteral("MUSIKTIP"),
                 QStringLiteral("MUSIKTIP.DB"),
                 {alpha("Art", 1), alpha("Tip", 255)},
                 0,
                 {}});
    return t;
}

std::vector<Table> buildAdded() {
    std::vector<Table> t;
    // Where a carrier was taken from: a MusicBrainz release and release group, a Discogs
    // release. Keys are compared as stored (lower-case MBIDs, numbers).
    t.push_back({QStringLiteral("MUSIKEXT"),
                 QStringLiteral("MUSIKEXT.DB"),
                 {of("Folgenummer Kopf", T::Number), alpha("Quelle", 30), alpha("Kennung", 40)},
                 2,
                 {index("Quelle", {"Quelle", "Kennung"}, "BINARY")}});
    return t;
}

QString baseName(QStringView name) {
    QStringView n = name.trimmed();
    if (n.endsWith(u".db", Qt::CaseInsensitive))
        n.chop(3);
    return n.toString().toUpper();
}

} // namespace

int Table::fieldIndex(QStringView fieldName) const {
    for (int i = 0; i < int(fields.size()); ++i) {
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList Table::primaryKey() const {
    QStringList names;
    for (int i = 0; i < primaryKeyFields; ++i)
        names.append(fields[i].name);
    return names;
}

const std::vector<Table>& tables() {
    static const std::vector<Table> all = build();
    return all;
}

const std::vector<Table>& addedTables() {
    static const std::vector<Table> all = buildAdded();
    return all;
}

const Table* find(QStringView name) {
    static const QHash<QString, const Table*> byName = [] {
        QHash<QString, const Table*> h;
        for (const auto* list : {&tables(), &addedTables()})
            for (const Table& t : *list)
                h.insert(t.name.toUpper(), &t);
        return h;
    }();
    return byName.value(baseName(name), nullptr);
}

const Table& table(QStringView name) {
    const Table* t = find(name);
    if (!t)
        throw std::logic_error("unknown table " + name.toString().toStdString());
    return *t;
}

const QStringList& lookupTables() {
    static const QStringList names = {
        QStringLiteral("MUSIKART"),        QStringLiteral("MUSIKSTA"),
        QStringLiteral("MUSIKDIR"),        QStringLiteral("MusikTanzStil"),
        QStringLiteral("VideoKategorien"), QStringLiteral("VideoKassettenarten"),
        QStringLiteral("VideoAudioarten"), QStringLiteral("VideoSprachen")};
    return names;
}

QString quoted(QStringView identifier) {
    QString q = identifier.toString();
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString declaredType(const Field& field) {
    switch (field.type) {
    case T::Alpha:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case T::Number:
        return QStringLiteral("DOUBLE");
    case T::Money:
        return QStringLiteral("MONEY REAL");
    case T::Short:
        return QStringLiteral("SMALLINT");
    case T::Long:
        return QStringLiteral("INTEGER");
    case T::Date:
        return QStringLiteral("DATE");
    case T::Logical:
        return QStringLiteral("BOOLEAN");
    case T::Memo:
        return QStringLiteral("MEMO TEXT");
    case T::Graphic:
        return QStringLiteral("GRAPHIC BLOB");
    }
    return {};
}

QString createTableSql(const Table& table) {
    QStringList columns;
    for (const Field& f : table.fields)
        columns.append(quoted(f.name) + QLatin1Char(' ') + declaredType(f));
    if (table.primaryKeyFields > 0) {
        QStringList key;
        for (const QString& k : table.primaryKey())
            key.append(quoted(k));
        columns.append(QStringLiteral("PRIMARY KEY (%1)").arg(key.join(QStringLiteral(", "))));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoted(table.name), columns.join(QStringLiteral(", ")));
}

QString indexSqlName(const Table& table, const Index& index) {
    return table.name + QLatin1Char('.') + index.name;
}

QString createIndexSql(const Table& table, const Index& index) {
    QStringList columns;
    for (const QString& f : index.fields) {
        const Field& field = table.fields[table.fieldIndex(f)];
        // Secondary indexes are case-insensitive: text columns use the German collation.
        columns.append(quoted(f) + (field.type == T::Alpha
                                        ? QStringLiteral(" COLLATE ") + index.collation
                                        : QString()));
    }
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(quoted(indexSqlName(table, index)), quoted(table.name),
             columns.join(QStringLiteral(", ")));
}

} // namespace schema
