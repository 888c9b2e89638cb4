#include "settingsreferences.h"

#include "core/db/database.h"

namespace settingsreferences {
namespace {

std::optional<QString> currencyName(Database& db, int index) {
    Statement s = db.prepare(u"SELECT \"Currency\" FROM \"Currency\" WHERE \"Index\" = ?1");
    s.bind(1, index);
    if (!s.next())
        return std::nullopt;
    return s.toString(0);
}

std::optional<int> lowestCurrency(Database& db) {
    const QVariant v = db.scalar(u"SELECT MIN(\"Index\") FROM \"Currency\"");
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toInt();
}

void repairCurrency(Database& db, int& value, int delivered, const QString& key,
                    QStringList& warnings) {
    if (currencyName(db, value))
        return;
    std::optional<int> replacement =
        currencyName(db, delivered) ? std::optional<int>(delivered) : lowestCurrency(db);
    if (!replacement)
        return; // no currency at all: nothing better to offer
    warnings.append(QStringLiteral("Die Währung Nr. %1 aus den Einstellungen (%2) ist nicht "
                                   "vorhanden; es gilt die Währung %3.")
                        .arg(value)
                        .arg(key, *currencyName(db, *replacement)));
    value = *replacement;
}

} // namespace

QStringList repair(Database& db, Settings& settings) {
    const Settings delivered;
    QStringList warnings;
    repairCurrency(db, settings.currencyNew, delivered.currencyNew,
                   QStringLiteral("[Currency] New"), warnings);
    repairCurrency(db, settings.currencyOld, delivered.currencyOld,
                   QStringLiteral("[Currency] Old"), warnings);
    return warnings;
}

} // namespace settingsreferences
