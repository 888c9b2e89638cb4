#pragma once

#include <QString>
#include <vector>

class Database;

// The fields a template of a kind may name, with the user's own labels, and the
// placeholder text the field selection inserts into a template.
namespace templatefields {

struct Field {
    qint32 index = 0;
    QString description; // "Beschreibung"
    QString name;        // "Listentext": the name in the template
    QString renamed;     // the user's label, empty when none
    bool padded = false; // "Auffüllen": the value has a field width
    int usage = 0;       // "Verwendung"; -1: no style codes
};

// The fields of the group for a template kind (1 list, 2 carrier, 3 reminder, 4 lending):
// those every template knows (usage 0 and 9999) and those of the kind.
std::vector<Field> fieldsFor(Database& db, const QString& group, int kind);

enum class Alignment { Normal, PadAfter, PadBefore };
struct Styles {
    bool bold = false, italic = false, underline = false, normal = false;
};

// "$F$&NAME&$N$" and the like.
QString placeholder(const QString& name, const Styles& styles, Alignment alignment);

} // namespace templatefields
