#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The fields a carrier or song search offers, in the order of its field list, with the value
// class that decides operators, input mask and how a typed value is written.
namespace search {

enum class Kind { Carriers, Songs };
enum class ValueClass { Text, Decimal, Date, Whole };

// A lookup field compares the short and long names of its table and selects by number.
struct Lookup {
    QString table;      // "MUSIKART"
    QString numberName; // "Index-Nummer"
    QString shortName;  // "Kurzbezeichnung"
    QString longName;   // "Langbezeichnung"
    int longestName;    // characters of the longer name field
};

// What a typed value may be besides its class: a playing time also as minutes:seconds
// ("4:35"), a side also as a letter (A = 1).
enum class Typing { Plain, TotalTime, SongTime, Side };

struct Field {
    QString name; // the fixed name the hidden condition lines use
    int labelKey; // for the user's own field names; 0: none
    ValueClass valueClass;
    QString target; // SQL of the compared column ("MUSIKKOP.\"Text 2\"")
    bool foldCase;  // "~" compares in lower case
    int size;       // characters a text column holds; 0 for other classes
    std::optional<Lookup> lookup;
    Typing typing = Typing::Plain;
};

const std::vector<Field>& fields(Kind kind);
// The field of that fixed name, letter case ignored; nullptr when there is none.
const Field* findField(Kind kind, const QString& name);

// "~", "=", "<>" for text; "=", "<>", ">", "<" for the others.
QStringList operators(ValueClass valueClass);
// The Qt input mask of the value edit: every position optional, as the search accepts empty
// values; empty for text and for the fields that take a pattern instead.
QString inputMask(const Field& field);
// The pattern the value edit accepts where a mask cannot hold what may be typed (a decimal
// comma, "4:35", "B"); empty where the mask applies.
QString inputPattern(const Field& field);

} // namespace search
