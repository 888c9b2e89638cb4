#pragma once

#include "core/db/database.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

// The names of the carrier and song fields: delivered ("FeldOriginal") and the user's own
// ("FeldKopie"), both in group "T" and known by their label key. Windows take their captions
// from here; a user's name is only ever shown text, never a field name in a query.
namespace fieldlabels {

constexpr int kMaxNameLength = 30; // "Feldbezeichnung"

// The label keys of the carrier and song fields, ascending.
const std::vector<int>& labelKeys();
bool isLabelKey(int key);

// The caption of a keyed label of the entry window ("&Gruppe:" for 10110); empty for an
// unknown key.
QString caption(int key);

// The user's names of the carrier and song fields by label key, in one query. An empty stored
// name counts as none.
QHash<int, QString> renamed(Database& db);
// The user's name of a key; empty when there is none.
QString userName(Database& db, int key);
// The delivered "Feldbezeichnung" of a key, none without a delivered row.
std::optional<QString> deliveredName(Database& db, int key);
// The delivered "Beschreibung" of a key; empty without a delivered row.
QString description(Database& db, int key);

// Why a new name cannot be stored; empty when it can. Names are stored as typed.
QString nameRefusal(const QString& name);
// Stores the user's name of a key: updates its row or adds one.
void rename(Database& db, int key, const QString& name);
// Drops the user's name of a key, when there is one; gives the delivered name.
std::optional<QString> reset(Database& db, int key);
// Drops every label the user gave the carrier and song fields; the delivered ones apply again.
void deleteAllRenamed(Database& db);

// A name as a label: "Label" becomes "Label:" ("&" stays a mnemonic).
QString labelCaption(const QString& name);
// A name as a column title or list entry: every "&" removed.
QString columnTitle(const QString& name);

// A field a print template of a kind may name, as the field selection offers it.
struct SelectableField {
    qint32 index = 0;
    QString description; // "Beschreibung"
    QString name;        // "Listentext": the name in the template
    QString renamed;     // the user's name, empty when none
    bool padded = false; // "Auffüllen": the value has a field width
    int usage = 0;       // "Verwendung"; -1: no style codes
};

// The fields of the group for a template kind (1 list, 2 carrier, 3 reminder, 4 lending),
// ordered by key: those every template knows (usage 0 and 9999) and, in group "T", those of
// the kind. Only delivered fields are offered.
std::vector<SelectableField> selectableFields(Database& db, const QString& group, int kind);

enum class Alignment { Normal, PadAfter, PadBefore };
struct Styles {
    bool bold = false, italic = false, underline = false, normal = false;
};

// "$F$&NAME&$N$" and the like.
QString placeholder(const QString& name, const Styles& styles, Alignment alignment);

} // namespace fieldlabels
