#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

class Database;
class Statement;
struct Settings;

// Purchase prices expressed in the current currency. A carrier in the current currency
// counts unchanged; one in another currency is divided by that currency's factor; without a
// recorded currency (empty or 0) the currency is the current one from the changeover date
// on and the old one before it (or without a purchase date). A currency that is missing, or
// whose factor is empty or not above 0, counts with the factor 1.
namespace priceconversion {

struct Rules {
    qint32 newCurrency = 1;
    qint32 oldCurrency = 2;
    QDate firstNewDay;             // the first day of the current currency
    QHash<qint32, double> factors; // as stored; see factorOf
};

// The settings' currencies and changeover with the factors of "Currency.DB".
Rules load(Database& db, const Settings& settings);

double factorOf(const Rules& rules, qint32 currency);
// The currency a price counts in.
qint32 effectiveCurrency(const Rules& rules, std::optional<qint32> currency,
                         const QDate& purchaseDate);
double convert(const Rules& rules, double price, std::optional<qint32> currency,
               const QDate& purchaseDate);

// The same rule as an SQL expression over the given column expressions (for example
// "MUSIKKOP.\"Kaufpreis\""), with the parameters :ConvNew, :ConvOld and :ConvFirstNewDay
// that bind() sets. A NULL price gives NULL.
QString sqlExpression(const QString& price, const QString& currency, const QString& purchaseDate);
void bind(Statement& statement, const Rules& rules);

} // namespace priceconversion
