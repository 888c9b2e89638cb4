// The search conditions of `diskarium-tool search` as anyone may type them: refused with a
// message or turned into a query that the database accepts, with every value bound.
#include "core/catalogue/medialist.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/catalogue/songlist.h"
#include "core/db/dataset.h"
#include "fuzzsupport.h"

#include <stdexcept>

namespace {
Database* database = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::start(argc, argv);
    const QString folder = fuzzsupport::workspace().filePath(QStringLiteral("daten"));
    dataset::create(folder);
    database = new Database;
    database->open(dataset::databasePath(folder));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte chooses the list, the rest are the arguments, one per line.
    const auto kind = (data[0] & 1) ? search::Kind::Songs : search::Kind::Carriers;
    const QStringList arguments =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1))
            .split(QLatin1Char('\n'));
    QString error;
    const auto conditions = search::parseConditions(kind, arguments, &error);
    if (!conditions) {
        FUZZ_REQUIRE(!error.isEmpty());
        return 0;
    }
    medialist::Filter filter;
    search::TranslateOptions options;
    options.songIndex = kind == search::Kind::Songs; // a new data set has the song index
    try {
        filter = search::translate(kind, *conditions, options);
    } catch (const std::invalid_argument&) {
        std::abort(); // parsed conditions are always ones the list offers
    }
    FUZZ_REQUIRE(filter.sql.count(QLatin1Char('?')) == filter.values.size());
    FUZZ_REQUIRE(filter.unindexedSql.count(QLatin1Char('?')) == filter.unindexedValues.size());
    // The database takes the statement with its values (an empty collection answers fast).
    try {
        if (kind == search::Kind::Carriers)
            FUZZ_REQUIRE(medialist::Query(*database, {}, filter).count() == 0);
        else {
            // The count takes the index's candidates, the rows are read without them.
            const songlist::Query query(*database, {}, filter);
            FUZZ_REQUIRE(query.count() == 0);
            FUZZ_REQUIRE(query.rows(0, 10).empty());
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        std::abort();
    }
    return 0;
}
