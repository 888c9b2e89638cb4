#pragma once

#include "core/common/messageservice.h"
#include "database.h"

#include <QStringList>
#include <functional>
#include <optional>

// The checks that make the data set usable before any window opens a table: every table
// present, indexes present and usable (rebuilt when not, or on request), and tables of
// older program versions converted to the current format.
namespace startupchecks {

// What the checks need of the start-up dialog: hidden while a message is on screen, and
// pending events processed between the tables.
struct Hooks {
    std::function<void(bool visible)> setDialogVisible;
    std::function<void()> processEvents;
    std::function<void(const QString& table, bool passed)> pageChecked; // after a page check
};

// SQLite's page-level check reads the whole table. It is needed after an unclean end or on
// request; a clean start looks at the catalogue only.
enum class PageCheck { Skip, Run };

// The file name of the first table missing from the database, in the order of the start-up
// check, or nullopt when all are there.
std::optional<QString> firstMissingDataFile(Database& db);

// The data files the start-up check requires, in its order ("CURRENCY.DB", ...).
QStringList dataFileNames();

// Shows "Die Datendatei ... konnte nicht gefunden werden..." for the first missing table.
bool checkDataFiles(Database& db, MessageService& messages, const Hooks& hooks = {});

// True when the indexes of the table exist with the right fields and, unless skipped, the
// table passes SQLite's quick check.
bool indexesUsable(Database& db, const QString& table, PageCheck pages = PageCheck::Run,
                   const Hooks& hooks = {});

// Rebuilds the indexes of every table whose indexes are not usable, or of all tables when
// rebuildRequested. The names of the rebuilt tables go to rebuilt. False after the
// message of a failed rebuild. With the page check, every rebuilt table is checked again.
bool checkAndRebuildIndexes(Database& db, bool rebuildRequested, MessageService& messages,
                            const Hooks& hooks = {}, QStringList* rebuilt = nullptr,
                            PageCheck pages = PageCheck::Run);

// SQLite's quick check of the whole file: empty when it passes, otherwise its first finding
// and how many more there are.
QString pageCheckFindings(Database& db);

// Converts older carrier, song and information tables and checks the field count of every
// table. False after a refused conversion or a failure message.
bool checkAndUpgradeFormats(Database& db, MessageService& messages, const Hooks& hooks = {});

// The number of fields of a table, or nullopt when it does not exist.
std::optional<int> fieldCount(Database& db, const QString& table);

} // namespace startupchecks
