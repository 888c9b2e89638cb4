#include "priceconversion.h"

#include "core/common/germanformat.h"
#include "core/db/database.h"
#include "core/settings/settings.h"

namespace priceconversion {

Rules load(Database& db, const Settings& settings) {
    Rules rules;
    rules.newCurrency = settings.currencyNew;
    rules.oldCurrency = settings.currencyOld;
    rules.firstNewDay = germanformat::dateFromDayNumber(settings.currencyDate2);
    Statement s = db.prepare(QStringLiteral("SELECT \"Index\", \"Factor\" FROM \"Currency\""));
    while (s.next()) {
        if (!s.isNull(1))
            rules.factors.insert(qint32(s.toInt64(0)), s.toDouble(1));
    }
    return rules;
}

double factorOf(const Rules& rules, qint32 currency) {
    const auto it = rules.factors.constFind(currency);
    return it == rules.factors.cend() || !(*it > 0) ? 1.0 : *it;
}

qint32 effectiveCurrency(const Rules& rules, std::optional<qint32> currency,
                         const QDate& purchaseDate) {
    if (currency && *currency != 0)
        return *currency;
    const bool afterChangeover =
        purchaseDate.isValid() && rules.firstNewDay.isValid() && purchaseDate >= rules.firstNewDay;
    return afterChangeover ? rules.newCurrency : rules.oldCurrency;
}

double convert(const Rules& rules, double price, std::optional<qint32> currency,
               const QDate& purchaseDate) {
    if (currency && *currency != 0 && *currency == rules.newCurrency)
        return price;
    return price / factorOf(rules, effectiveCurrency(rules, currency, purchaseDate));
}

QString sqlExpression(const QString& price, const QString& currency, const QString& purchaseDate) {
    const QString recorded = QStringLiteral("COALESCE(%1, 0)").arg(currency);
    const QString effective =
        QStringLiteral("(CASE WHEN %1 <> 0 THEN %1 WHEN %2 >= :ConvFirstNewDay THEN :ConvNew "
                       "ELSE :ConvOld END)")
            .arg(recorded, purchaseDate);
    const QString factor =
        QStringLiteral("COALESCE((SELECT CASE WHEN cf.\"Factor\" > 0 THEN cf.\"Factor\" ELSE 1 "
                       "END FROM \"Currency\" cf WHERE cf.\"Index\" = %1), 1)")
            .arg(effective);
    return QStringLiteral("(CASE WHEN %1 <> 0 AND %1 = :ConvNew THEN %2 ELSE %2 / (1.0 * %3) END)")
        .arg(recorded, price, factor);
}

void bind(Statement& statement, const Rules& rules) {
    statement.bind(":ConvNew", qint64(rules.newCurrency));
    statement.bind(":ConvOld", qint64(rules.oldCurrency));
    statement.bind(":ConvFirstNewDay", rules.firstNewDay);
}

} // namespace priceconversion
