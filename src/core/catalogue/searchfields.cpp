#include "searchfields.h"

#include "core/db/schema.h"

namespace search {
namespace {

QString column(const char* alias, const char* name) {
    return QString::fromUtf8(alias) + QLatin1Char('.') + schema::quoted(QString::fromUtf8(name));
}

int sizeOf(const char* table, const char* name) {
    const schema::Table& t = schema::table(QString::fromUtf8(table));
    return t.fields[size_t(t.fieldIndex(QString::fromUtf8(name)))].size;
}

Field text(const char* name, int key, const char* alias, const char* table, const char* column_) {
    return {QString::fromUtf8(name), key,         ValueClass::Text, column(alias, column_), true,
            sizeOf(table, column_),  std::nullopt};
}

Field other(const char* name, int key, ValueClass c, const char* alias, const char* column_) {
    return {QString::fromUtf8(name), key, c, column(alias, column_), false, 0, std::nullopt};
}

Field lookup(const char* name, int key, const char* alias, const char* column_, const char* table,
             const char* number, const char* shortName, const char* longName) {
    Field f{QString::fromUtf8(name), key, ValueClass::Text, column(alias, column_), true, 0, {}};
    f.lookup = Lookup{QString::fromUtf8(table), QString::fromUtf8(number),
                      QString::fromUtf8(shortName), QString::fromUtf8(longName),
                      std::max(sizeOf(table, shortName), sizeOf(table, longName))};
    f.size = f.lookup->longestName;
    return f;
}

Field year(Field f) {
    f.foldCase = false; // digits; never lower-cased
    return f;
}

Field typed(Field f, Typing typing) {
    f.typing = typing;
    return f;
}

} // namespace

const std::vector<Field>& fields(Kind kind) {
    static const std::vector<Field> carriers = {
        text("Gruppe", 10110, "MUSIKKOP", "MUSIKKOP", "Gruppe/Interpret/Text 1"),
        text("Titel", 10115, "MUSIKKOP", "MUSIKKOP", "Text 2"),
        lookup("Art", 10120, "MUSIKKOP", "Art der Schallplatte", "MUSIKART", "Index-Nummer",
               "Kurzbezeichnung", "Langbezeichnung"),
        other("Lfd. Nr.", 10125, ValueClass::Whole, "MUSIKKOP", "Nummerierung"),
        year(text("Erscheinungsjahr", 10155, "MUSIKKOP", "MUSIKKOP", "Erscheinungsjahr")),
        lookup("Musikrichtung", 10140, "MUSIKKOP", "Musikrichtung", "MUSIKDIR", "Index-Nummer",
               "Kurzbezeichnung", "Langbezeichnung"),
        other("Anzahl Lieder", 10130, ValueClass::Whole, "MUSIKKOP", "Anzahl der Lieder"),
        typed(other("Gesamtlaufzeit", 10135, ValueClass::Decimal, "MUSIKKOP",
                    "Laufzeit der Schallplatte"),
              Typing::TotalTime),
        lookup("Status", 10150, "MUSIKKOP", "Status", "MUSIKSTA", "Index-Nummer", "Kurzbezeichnung",
               "Langbezeichnung"),
        other("Kaufpreis", 10160, ValueClass::Decimal, "MUSIKKOP", "Kaufpreis"),
        lookup("Währung", 0, "MUSIKINFO", "Currency", "Currency", "Index", "Currency",
               "Currency long"),
        other("Kaufdatum", 10165, ValueClass::Date, "MUSIKKOP", "Kaufdatum"),
        other("Bewertung", 10145, ValueClass::Whole, "MUSIKKOP", "Bewertung"),
        text("Pressung", 10170, "MUSIKINFO", "MusikInformation", "Pressung"),
        text("Zustand", 10180, "MUSIKINFO", "MusikInformation", "Zustand"),
        text("Aufnahme", 10175, "MUSIKINFO", "MusikInformation", "Aufnahme"),
        text("Hersteller", 10190, "MUSIKINFO", "MusikInformation", "Firma"),
        text("Bestellcode", 10185, "MUSIKINFO", "MusikInformation", "Bestellcode"),
        other("Erfassungsdatum", 0, ValueClass::Date, "MUSIKINFO", "CreationDate"),
        other("Änderungsdatum", 0, ValueClass::Date, "MUSIKINFO", "ChangeDate"),
    };
    static const std::vector<Field> songs = {
        text("Titel", 10525, "MUSIKPOS", "MUSIKPOS", "Titel des Liedes"),
        text("Interpret", 10530, "MUSIKPOS", "MUSIKPOS", "Interpret des Liedes"),
        typed(other("Laufzeit", 10520, ValueClass::Decimal, "MUSIKPOS", "Laufzeit des Liedes"),
              Typing::SongTime),
        lookup("Musikrichtung", 10535, "MUSIKPOS", "Musikrichtung", "MUSIKDIR", "Index-Nummer",
               "Kurzbezeichnung", "Langbezeichnung"),
        other("Zählwerkstand von", 10545, ValueClass::Whole, "MUSIKPOS", "Zählwerkstand von"),
        other("Zählwerkstand bis", 10550, ValueClass::Whole, "MUSIKPOS", "Zählwerkstand bis"),
        other("Bewertung", 10540, ValueClass::Whole, "MUSIKPOS", "Bewertung"),
        year(text("Erscheinungsjahr", 10555, "MUSIKPOS", "MUSIKPOS", "Erscheinungsjahr")),
        typed(other("Seite der Schallplatte", 10510, ValueClass::Whole, "MUSIKPOS",
                    "Seite der Schallplatte"),
              Typing::Side),
        other("Nr. des Liedes", 10515, ValueClass::Whole, "MUSIKPOS", "Nr. des Liedes"),
        other("BPM von", 10560, ValueClass::Whole, "MUSIKPOSINFORMATION", "BPM von"),
        other("BPM bis", 10565, ValueClass::Whole, "MUSIKPOSINFORMATION", "BPM bis"),
        lookup("Tanzstil", 10570, "MUSIKPOSINFORMATION", "Tanzstil", "MusikTanzStil",
               "Index-Nummer", "Kurzbezeichnung", "Langbezeichnung"),
    };
    return kind == Kind::Carriers ? carriers : songs;
}

const Field* findField(Kind kind, const QString& name) {
    for (const Field& f : fields(kind)) {
        if (f.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QStringList operators(ValueClass valueClass) {
    if (valueClass == ValueClass::Text)
        return {QStringLiteral("~"), QStringLiteral("="), QStringLiteral("<>")};
    return {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"), QStringLiteral("<")};
}

QString inputMask(const Field& field) {
    if (!inputPattern(field).isEmpty())
        return {};
    // Qt's "0" is an optional digit, "9" a required one; "_" shows the free places.
    switch (field.valueClass) {
    case ValueClass::Date:
        return QStringLiteral("00.00.0000;_");
    case ValueClass::Whole:
        return QStringLiteral("0000000;_");
    case ValueClass::Decimal:
    case ValueClass::Text:
        break;
    }
    return {};
}

QString inputPattern(const Field& field) {
    switch (field.typing) {
    case Typing::TotalTime:
    case Typing::SongTime:
        return QStringLiteral("[0-9]{0,5}([.,:][0-9]{0,2})?");
    case Typing::Side:
        return QStringLiteral("[0-9]{0,7}|[A-Za-z]");
    case Typing::Plain:
        break;
    }
    // A mask's fixed point would drop the decimal comma a German user types: "3,45" became 345.
    if (field.valueClass == ValueClass::Decimal)
        return QStringLiteral("[0-9]{0,5}([.,][0-9]{0,2})?");
    return {};
}

} // namespace search
