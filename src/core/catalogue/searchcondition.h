#pragma once

#include "searchfields.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The conditions of a search as the dialog builds them: each one a field's fixed name, an
// operator and the value as its class writes it, joined to the ones before by UND or ODER.
// Lines are only ever rendered from this structure, never parsed back.
namespace search {

enum class Connector { None, And, Or };

struct Condition {
    Connector connector = Connector::None;
    QString field; // fixed name
    QString op;    // "~", "=", "<>", ">", "<"
    QString value; // as written by the field's class ("0" for an empty decimal)
    ValueClass valueClass = ValueClass::Text;
};

// A typed value as its class writes it, or the German message why the class cannot hold it.
struct WrittenValue {
    QString value;
    QString error; // empty when the value is good
};
// Blanks are removed from numbers and dates; empty values take the class default
// ("0", "0.0" for a lone point, "01.01.1900"). Decimals accept a comma for the point, a
// playing time also minutes:seconds ("4:35" is written 4.35, "4:75" gets the entry window's
// seconds message), a side also a letter ("B" is written 2).
WrittenValue writeValue(const Field& field, const QString& typed);

// Conditions written as arguments: "FIELD:OP:VALUE", joined by "UND" (the default when none
// stands between two) or "ODER". The field is a fixed name (letter case ignored), the value as
// the dialog's edit holds it. nullopt with a German message naming the fault.
std::optional<std::vector<Condition>> parseConditions(Kind kind, const QStringList& arguments,
                                                      QString* error);

// "UND Gruppe ~ 'beat'": connector, name, operator, value (text between single quotes).
QString conditionLine(const Condition& condition, const QString& shownName);

// The condition list of one dialog: the visible lines use the shown names, the hidden ones
// the fixed names.
class ConditionList {
public:
    // Adds a condition; the connector is dropped for the first one. Returns the German message
    // when the value does not fit its class (nothing is added then).
    QString add(const Field& field, const QString& shownName, const QString& op,
                const QString& typed, Connector connector);
    // Removes one; a new first condition loses its connector.
    void remove(int index);
    void clear();

    bool isEmpty() const { return m_conditions.empty(); }
    int size() const { return int(m_conditions.size()); }
    const std::vector<Condition>& conditions() const { return m_conditions; }
    QStringList visibleLines() const;
    QStringList hiddenLines() const;

private:
    std::vector<Condition> m_conditions;
    QStringList m_shownNames;
};

} // namespace search
