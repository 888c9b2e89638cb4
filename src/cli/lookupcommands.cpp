#include "lookupcommands.h"

#include "console.h"
#include "core/common/germanformat.h"
#include "core/db/database.h"
#include "core/lookup/currencystore.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/lookup/priceconversion.h"
#include "core/settings/settings.h"
#include "usage.h"

namespace {

int lookupUsage() {
    return usagetext::show({QStringLiteral("lookup"), QStringLiteral("convert")});
}

QString stateText(EntryState state) {
    switch (state) {
    case EntryState::Reserved:
        return QStringLiteral("reserviert");
    case EntryState::InUse:
        return QStringLiteral("in Verwendung");
    case EntryState::Free:
        break;
    }
    return QStringLiteral("frei");
}

} // namespace

int runLookupCommand(const QStringList& args) {
    if (args.size() != 2)
        return lookupUsage();
    const int kind = lookup::parseKind(args[1]);
    if (kind < 0) {
        err() << "Fehler: Eine Tabelle \"" << args[1]
              << "\" gibt es nicht. Erlaubt sind die Arten 0 bis 7, ihre Tabellennamen und "
                 "\"Currency\"."
              << Qt::endl;
        return 2;
    }
    Database db;
    if (!openDataSet(args[0], db))
        return 1;
    try {
        if (kind == lookup::kCurrencies) {
            const Settings settings = dataSetSettings(args[0]);
            CurrencyStore store(db, settings);
            for (const CurrencyRecord& c : store.list())
                out() << tabRow({QString::number(c.index), c.currency, c.currencyLong,
                                 c.factor ? germanformat::formatNumber(*c.factor) : QString(),
                                 stateText(store.state(c.index))})
                      << '\n';
            out() << "Nächste Nummer: " << store.nextKey() << Qt::endl;
        } else {
            LookupStore store(db, kind);
            for (const LookupRecord& r : store.list())
                out() << tabRow({germanformat::formatNumber(r.indexNummer), r.kurzbezeichnung,
                                 r.langbezeichnung, stateText(store.state(r.indexNummer))})
                      << '\n';
            out() << "Nächste Nummer: " << germanformat::formatNumber(store.nextKey()) << Qt::endl;
        }
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}

int runConvertCommand(const QStringList& args) {
    if (args.size() < 2)
        return lookupUsage();
    const std::optional<double> price = germanformat::parseNumber(args[1]);
    if (!price) {
        err() << "Fehler: \"" << args[1] << "\" ist kein Preis." << Qt::endl;
        return 2;
    }
    std::optional<qint32> currency;
    QDate bought;
    for (int i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return lookupUsage();
        const QString& value = args[i + 1];
        if (args[i] == QLatin1String("--currency")) {
            bool ok = false;
            currency = value.toInt(&ok);
            if (!ok)
                return lookupUsage();
        } else if (args[i] == QLatin1String("--date")) {
            bought = germanformat::parseDate(value);
            if (!bought.isValid()) {
                err() << "Fehler: \"" << value << "\" ist kein Datum (TT.MM.JJJJ)." << Qt::endl;
                return 2;
            }
        } else {
            return lookupUsage();
        }
    }
    Database db;
    if (!openDataSet(args[0], db))
        return 1;
    try {
        const Settings settings = dataSetSettings(args[0]);
        const priceconversion::Rules rules = priceconversion::load(db, settings);
        const double value = priceconversion::convert(rules, *price, currency, bought);
        const std::optional<CurrencyRecord> current =
            CurrencyStore(db, settings).find(settings.currencyNew);
        QString text = QString::number(value, 'f', 2);
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        out() << text;
        if (current)
            out() << ' ' << current->currency;
        out() << Qt::endl;
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
