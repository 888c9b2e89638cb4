#include "searchcommands.h"
#include "console.h"

#include "core/catalogue/listcsv.h"
#include "core/catalogue/medialist.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/db/songindex.h"

#include "core/catalogue/songlist.h"
#include "usage.h"
#include <type_traits>

namespace {

const QString kNothingFound = QStringLiteral("Es wurden keine Daten gefunden!");

int searchUsage() {
    return usagetext::show(
        {QStringLiteral("search")},
        QStringLiteral("BEDINGUNG ist FELD:VERGLEICH:WERT, etwa Gruppe:~:beatles "
                       "oder Kaufdatum:>:1.1.2000.\n"));
}

template <class Query, class Columns, class Format>
int list(const Query& query, const Columns& columns, int carrierColumn, Format format,
         bool countOnly) {
    const qint64 count = query.count();
    if (countOnly) {
        out() << count << Qt::endl;
    } else if (count > 0) {
        QStringList header{QStringLiteral("Tonträgernummer")};
        for (const auto& c : columns)
            header.append(c.title);
        out() << header.join(QLatin1Char('\t')) << '\n';
        auto print = [&](const auto& row) {
            QStringList cells{QString::number(qint64(row[size_t(carrierColumn)].toDouble()))};
            for (const auto& c : columns)
                cells.append(format(c, row[c.source]));
            out() << cells.join(QLatin1Char('\t')) << '\n';
        };
        if constexpr (std::is_same_v<Query, songlist::Query>) {
            query.forEach(print); // one statement: the matches are found and sorted once
        } else {
            constexpr int kPage = 500;
            auto rows = query.rows(0, kPage);
            while (!rows.empty()) {
                for (const auto& row : rows)
                    print(row);
                if (int(rows.size()) < kPage)
                    break;
                rows = query.rowsAfter(rows.back(), kPage);
            }
        }
        out().flush();
    }
    if (count == 0) {
        err() << kNothingFound << Qt::endl;
        return 1;
    }
    return 0;
}

// The found rows as the result window shows them and saves them: its sort order and, when
// its switch is on, the user's field names as titles. Nothing found is an empty list.
int writeCsv(Database& db, const Settings& settings, search::Kind kind,
             const std::vector<search::Condition>& conditions) {
    return writeToStandardOutput([&](QIODevice* output) {
        if (kind == search::Kind::Carriers) {
            const medialist::Query query(db,
                                         medialist::validSortExpression(settings.singerSortOrder),
                                         search::translate(kind, conditions));
            return listcsv::write(db, query, listcsv::carrierTitles(db, settings.ttRename[0]),
                                  output);
        }
        search::TranslateOptions options;
        options.songIndex = songindex::isUsable(db);
        const songlist::Query query(db, songlist::validSortExpression(settings.searchSortOrder),
                                    search::translate(kind, conditions, options));
        return listcsv::write(db, query, listcsv::songTitles(db, settings.ttRename[5]), output);
    });
}

} // namespace

int runSearchCommand(const QStringList& args) {
    if (args.size() < 3)
        return searchUsage();
    search::Kind kind;
    if (args[1] == QLatin1String("carriers"))
        kind = search::Kind::Carriers;
    else if (args[1] == QLatin1String("songs"))
        kind = search::Kind::Songs;
    else
        return searchUsage();
    QStringList conditionArgs = args.mid(2);
    const bool countOnly = conditionArgs.removeAll(QStringLiteral("--count")) > 0;
    const bool csvOutput = conditionArgs.removeAll(QStringLiteral("--csv")) > 0;
    if (countOnly && csvOutput)
        return searchUsage();
    QString error;
    const auto conditions = search::parseConditions(kind, conditionArgs, &error);
    if (!conditions) {
        err() << "Fehler: " << error << Qt::endl;
        return 2;
    }
    Database db;
    if (!openDataSet(args[0], db))
        return 2;
    if (csvOutput)
        return writeCsv(db, dataSetSettings(args[0]), kind, *conditions) == 0 ? 0 : 2;
    try {
        if (kind == search::Kind::Carriers) {
            const medialist::Query query(db, {}, search::translate(kind, *conditions));
            return list(
                query, medialist::gridColumns(), medialist::Number,
                [](const medialist::GridColumn& c, const QVariant& v) {
                    return medialist::displayText(c, v);
                },
                countOnly);
        }
        search::TranslateOptions options;
        options.songIndex = songindex::isUsable(db);
        const songlist::Query query(db, {}, search::translate(kind, *conditions, options));
        return list(
            query, songlist::gridColumns(), songlist::Carrier,
            [](const songlist::GridColumn& c, const QVariant& v) {
                return songlist::displayText(c, v);
            },
            countOnly);
    } catch (const DbError& e) {
        out().flush();
        err() << "Fehler: " << e.message() << Qt::endl;
        return 2;
    }
}
