#include "startupchecks.h"

#include "dataset.h"
#include "schema.h"
#include "songindex.h"

#include <algorithm>

namespace startupchecks {
namespace {

const QString kCannotContinue =
    QStringLiteral("Die Programmausführung kann nicht fortgesetzt werden!");

// A message with the start-up dialog hidden meanwhile.
MessageButton ask(MessageService& messages, const Hooks& hooks, const Message& message) {
    if (hooks.setDialogVisible)
        hooks.setDialogVisible(false);
    const MessageButton answer = messages.show(message);
    if (hooks.setDialogVisible)
        hooks.setDialogVisible(true);
    return answer;
}

void showError(MessageService& messages, const Hooks& hooks, const QString& text, int helpContext) {
    ask(messages, hooks,
        {MessageKind::Error, text, MessageButton::Ok | MessageButton::Help, helpContext, {}});
}

struct RebuildEntry {
    const char* table;
    const char* messageName;
    int helpContext;
};

// The tables whose indexes are checked, in order, with the name the failure message uses.
constexpr RebuildEntry kRebuildTable[] = {
    {"MUSIKKOP", "MUSIKKOP.DB", 8010},
    {"MusikInformation", "MusikInformation.DB", 8},
    {"MUSIKPOS", "MUSIKPOS.DB", 8012},
    {"MusikPosInformation", "MusikPosInformation.DB", 8012},
    {"MUSIKSTA", "MUSIKSTA.DB", 8014},
    {"MusikTanzStil", "MusikTanzStil.DB", 8014},
    {"MUSIKDIR", "MUSIKDIR.DB", 8016},
    {"MUSIKART", "MUSIKART.DB", 8018},
    {"MUSIKTXT", "MUSIKTXT.DB", 8020},
    {"MUSIKVER", "MUSIKVER.DB", 8022},
    {"VERSTAMM", "VERSTAMM.DB", 8024},
    {"MPRTTEXT", "MPRTTEXT.DB", 8026},
    {"MUSIKINF", "MUSIKINF.DB", 8028},
    {"MUSIKHLP", "MUSIKHLP.DB", 8030},
    {"MUSIKGRF", "MUSIKGRF.DB", 8032},
    {"MUSIKCOV", "MUSIKCOV.DB", 8033},
    {"VideoKategorien", "VideoKategorien.DB", 0},
    {"VideoAudioarten", "VideoAudioarten.DB", 0},
    {"VideoKassettenarten", "Videokassettenarten.DB", 0},
    {"VideoSprachen", "VideoSprachen.DB", 0},
    {"FeldOriginal", "FeldOriginal.DB", 0},
    {"FeldKopie", "FeldKopie.DB", 0},
    {"Currency", "Currency.DB", 0},
    {"MUSIKEXT", "MUSIKEXT.DB", 0},
};

struct FormatEntry {
    const char* table;
    const char* messageName;
    int fields;
    int helpContext;
};

// The tables whose field count is checked, in order.
constexpr FormatEntry kFormatTable[] = {
    {"MUSIKKOP", "MUSIKKOP.DB", 13, 8003},
    {"MusikInformation", "MusikInformation.DB", 9, 8003},
    {"MUSIKPOS", "MUSIKPOS.DB", 11, 8011},
    {"MusikPosInformation", "MusikPosInformation.DB", 6, 8011},
    {"MUSIKSTA", "MUSIKSTA.DB", 4, 8013},
    {"MusikTanzStil", "MusikTanzStil.DB", 4, 8013},
    {"MUSIKDIR", "MUSIKDIR.DB", 4, 8015},
    {"MUSIKART", "MUSIKART.DB", 4, 8017},
    {"MUSIKTXT", "MUSIKTXT.DB", 2, 8019},
    {"MUSIKVER", "MUSIKVER.DB", 7, 8021},
    {"VERSTAMM", "VERSTAMM.DB", 9, 8023},
    {"MPRTTEXT", "MPRTTEXT.DB", 7, 8025},
    {"MUSIKINF", "MUSIKINF.DB", 3, 8027},
    {"MUSIKHLP", "MUSIKHLP.DB", 3, 8029},
    {"MUSIKGRF", "MUSIKGRF.DB", 4, 8031},
    {"MUSIKCOV", "MUSIKCOV.DB", 5, 8033},
    {"VideoAudioarten", "VideoAudioarten.DB", 4, 0},
    {"VideoKassettenarten", "VideoKassettenarten.DB", 4, 0},
    {"VideoKategorien", "VideoKategorien.DB", 4, 0},
    {"VideoSprachen", "VideoSprachen.DB", 4, 0},
    {"FeldOriginal", "FeldOriginal.DB", 7, 0},
    {"FeldKopie", "FeldKopie.DB", 3, 0},
    {"Currency", "Currency.DB", 4, 0},
    {"MUSIKEXT", "MUSIKEXT.DB", 3, 0},
};

// The data files of the start-up check in their order; the memo files (.MB) belong to
// the table of the same base name.
constexpr const char* kDataFiles[] = {
    "CURRENCY.DB",         "FELDKOPIE.DB",     "FELDORIGINAL.DB",    "MPRTTEXT.DB",
    "MPRTTEXT.MB",         "MUSIKART.DB",      "MUSIKCOV.DB",        "MUSIKDIR.DB",
    "MUSIKGRF.DB",         "MUSIKGRF.MB",      "MUSIKHLP.DB",        "MUSIKINF.DB",
    "MusikInformation.DB", "MUSIKKOP.DB",      "MUSIKPOS.DB",        "MusikPosInformation.DB",
    "MUSIKSTA.DB",         "MUSIKTIP.DB",      "MUSIKTXT.DB",        "MUSIKTXT.MB",
    "MUSIKVER.DB",         "VERSTAMM.DB",      "VideoKategorien.DB", "VideoKassettenarten.DB",
    "VideoAudioarten.DB",  "VideoSprachen.DB",
};

QStringList primaryKeyColumns(Database& db, const QString& table) {
    Statement s = db.prepare(
        QStringLiteral("SELECT name, pk FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk"));
    s.bind(1, table);
    QStringList columns;
    while (s.next())
        columns.append(s.toString(0));
    return columns;
}

// Indexes of the table made by us or by older versions (not SQLite's automatic ones).
QStringList namedIndexes(Database& db, const QString& table) {
    Statement s = db.prepare(u"SELECT name FROM pragma_index_list(?1) WHERE origin = 'c'");
    s.bind(1, table);
    QStringList names;
    while (s.next())
        names.append(s.toString(0));
    return names;
}

QStringList columnNames(Database& db, const QString& table) {
    Statement s = db.prepare(u"SELECT name FROM pragma_table_info(?1)");
    s.bind(1, table);
    QStringList names;
    while (s.next())
        names.append(s.toString(0));
    return names;
}

// The indexes whose fields the stored table has. One on a field an older format lacks waits
// for the conversion: SQLite would take the unknown quoted name for a constant text, and once
// the column is added that index no longer fits the rows.
std::vector<schema::Index> applicableIndexes(Database& db, const schema::Table& table) {
    const QStringList columns = columnNames(db, table.name);
    std::vector<schema::Index> indexes;
    for (const schema::Index& index : table.indexes) {
        if (std::all_of(index.fields.begin(), index.fields.end(),
                        [&](const QString& f) { return columns.contains(f, Qt::CaseInsensitive); }))
            indexes.push_back(index);
    }
    return indexes;
}

bool indexMatches(Database& db, const schema::Table& table, const schema::Index& index) {
    Statement s =
        db.prepare(u"SELECT name, coll FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno");
    s.bind(1, schema::indexSqlName(table, index));
    int i = 0;
    while (s.next()) {
        if (i >= index.fields.size() || s.toString(0) != index.fields[i])
            return false;
        const schema::Field& field = table.fields[table.fieldIndex(index.fields[i])];
        if (field.type == schema::FieldType::Alpha && s.toString(1) != index.collation)
            return false;
        ++i;
    }
    return i == index.fields.size();
}

bool quickCheckPasses(Database& db, const QString& table) {
    Statement s = db.prepare(QStringLiteral("PRAGMA quick_check(%1)").arg(schema::quoted(table)));
    return s.next() && s.toString(0) == QLatin1String("ok") && !s.next();
}

// One line for the user instead of a page of SQLite's findings.
QString summarised(const QStringList& findings) {
    if (findings.size() <= 1)
        return findings.value(0);
    return QStringLiteral("%1 (und %2 weitere Befunde)")
        .arg(findings.first())
        .arg(findings.size() - 1);
}

// A table whose primary key is missing or wrong is built anew with the right one; the
// values of the columns both versions have are copied over.
void recreateWithPrimaryKey(Database& db, const schema::Table& table) {
    const QString temporary = table.name + QStringLiteral("_rebuild");
    QStringList common;
    for (const QString& column : columnNames(db, table.name)) {
        if (table.fieldIndex(column) >= 0)
            common.append(schema::quoted(column));
    }
    schema::Table copy = table;
    copy.name = temporary;
    db.exec(schema::createTableSql(copy));
    db.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                .arg(schema::quoted(temporary), common.join(QStringLiteral(", ")),
                     schema::quoted(table.name)));
    db.exec(QStringLiteral("DROP TABLE %1").arg(schema::quoted(table.name)));
    db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                .arg(schema::quoted(temporary), schema::quoted(table.name)));
}

// The reason (a full disk, a file that cannot be written) is named when the database gave a
// German one; the engine's own lower-case texts say nothing the user can act on.
QString indexFailureText(const QString& table, const DbError& error) {
    const QString& reason = error.message();
    const bool german = !reason.isEmpty() && !reason.front().isLower();
    return QStringLiteral("Ein Index für die Datenbank %1 konnte nicht generiert werden! \n%2%3")
        .arg(table, german ? reason + QLatin1Char('\n') : QString(), kCannotContinue);
}

void rebuildIndexes(Database& db, const schema::Table& table) {
    Transaction transaction(db);
    if (!dataset::hasTable(db, table.name))
        throw DbError(DbError::Kind::Other, QStringLiteral("no such table: %1").arg(table.name));
    for (const QString& name : namedIndexes(db, table.name))
        db.exec(QStringLiteral("DROP INDEX %1").arg(schema::quoted(name)));
    if (primaryKeyColumns(db, table.name) != table.primaryKey())
        recreateWithPrimaryKey(db, table);
    else
        db.exec(QStringLiteral("REINDEX %1").arg(schema::quoted(table.name)));
    for (const schema::Index& index : applicableIndexes(db, table))
        db.exec(schema::createIndexSql(table, index));
    transaction.commit();
}

// The table's indexes are built anew around the change: those on the new fields only now
// can be, and one an earlier start built on a missing field would not fit the rows.
void addColumns(Database& db, const schema::Table& table, int from, int to, const QString& fill) {
    Transaction transaction(db);
    for (const QString& name : namedIndexes(db, table.name))
        db.exec(QStringLiteral("DROP INDEX %1").arg(schema::quoted(name)));
    QStringList assignments;
    for (int i = from; i < to; ++i) {
        const schema::Field& f = table.fields[i];
        db.exec(
            QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                .arg(schema::quoted(table.name), schema::quoted(f.name), schema::declaredType(f)));
        assignments.append(schema::quoted(f.name) + QStringLiteral(" = ") +
                           (f.type == schema::FieldType::Alpha ? QStringLiteral("''") : fill));
    }
    db.exec(QStringLiteral("UPDATE %1 SET %2")
                .arg(schema::quoted(table.name), assignments.join(QStringLiteral(", "))));
    for (const schema::Index& index : applicableIndexes(db, table))
        db.exec(schema::createIndexSql(table, index));
    transaction.commit();
}

QString conversionQuestion(const char* table, const char* version) {
    return QStringLiteral(
               "Die Datenbank %1 hat das Format der Diskarium (DOS) vor %2. Wenn die Datenbank "
               "jetzt in das neue Format umgesetzt wird, kann sie nur noch mit der DOS-Version "
               "3.1.5 und höher oder der Windows-Version 1.0.0 und höher verwendet werden.")
        .arg(QLatin1String(table), QLatin1String(version));
}

bool confirmConversion(MessageService& messages, const Hooks& hooks, const QString& question,
                       int helpContext) {
    const Message message{MessageKind::Confirmation,
                          question,
                          MessageButton::Ok | MessageButton::Cancel | MessageButton::Help,
                          helpContext,
                          {}};
    return ask(messages, hooks, message) == MessageButton::Ok;
}

QString conversionFailed(const char* table, const QString& engineText) {
    return QStringLiteral(
               "Die Datenbank %1 konnte nicht in das neue Format umgesetzt werden: %2 %3")
        .arg(QLatin1String(table), engineText, kCannotContinue);
}

QString unknownFormat(const char* table) {
    return QStringLiteral("Die Datenbank %1 hat ein unbekanntes Format! %2")
        .arg(QLatin1String(table), kCannotContinue);
}

bool upgradeCarriers(Database& db, MessageService& messages, const Hooks& hooks) {
    const schema::Table& table = schema::table(u"MUSIKKOP");
    const int fields = fieldCount(db, table.name).value_or(0);
    if (fields == 13)
        return true;
    if (fields != 12) {
        showError(messages, hooks, unknownFormat("MUSIKKOP.DB"), 8003);
        return false;
    }
    if (!confirmConversion(messages, hooks, conversionQuestion("MUSIKKOP.DB", "V3.0.2"), 8001))
        return false;
    try {
        addColumns(db, table, 12, 13, QStringLiteral("0"));
    } catch (const DbError& e) {
        showError(messages, hooks, conversionFailed("MUSIKKOP.DB", e.message()), 8002);
        return false;
    }
    return true;
}

bool upgradeSongs(Database& db, MessageService& messages, const Hooks& hooks) {
    const schema::Table& table = schema::table(u"MUSIKPOS");
    const int fields = fieldCount(db, table.name).value_or(0);
    if (fields == 11)
        return true;
    if (fields != 9 && fields != 10) {
        showError(messages, hooks, unknownFormat("MUSIKPOS.DB"), 8008);
        return false;
    }
    const QString question = conversionQuestion("MUSIKPOS.DB", fields == 9 ? "V3.0.2" : "V3.1.5");
    if (!confirmConversion(messages, hooks, question, 8004))
        return false;
    try {
        addColumns(db, table, fields, 11, QStringLiteral("0"));
    } catch (const DbError& e) {
        showError(messages, hooks, conversionFailed("MUSIKPOS.DB", e.message()), 8005);
        return false;
    }
    return true;
}

bool upgradeInformation(Database& db, MessageService& messages, const Hooks& hooks) {
    try {
        Transaction transaction(db);
        db.exec(u"ALTER TABLE \"MusikInformation\" ADD COLUMN \"Currency\" INTEGER");
        db.exec(u"ALTER TABLE \"MusikInformation\" ADD COLUMN \"CreationDate\" DATE");
        db.exec(u"ALTER TABLE \"MusikInformation\" ADD COLUMN \"ChangeDate\" DATE");
        db.exec(
            u"UPDATE \"MusikInformation\" SET \"Currency\" = 0, \"CreationDate\" = '1970-01-01', "
            u"\"ChangeDate\" = '1970-01-01'");
        transaction.commit();
    } catch (const DbError&) {
        showError(
            messages, hooks,
            QStringLiteral("Die Datenbank MusikInformation.DB konnte nicht aktualisiert werden! %1")
                .arg(kCannotContinue),
            0);
        return false;
    }
    return true;
}

// Tables a later version added appear in an older data set without a message.
void addMissingTables(Database& db) {
    try {
        dataset::addMissingTables(db);
    } catch (const DbError&) {
        // A read-only or busy file: the first change that needs the table creates it.
    }
}

bool isMissingAddedTable(Database& db, const schema::Table& table) {
    return std::any_of(schema::addedTables().begin(), schema::addedTables().end(),
                       [&](const schema::Table& t) { return &t == &table; }) &&
           !dataset::hasTable(db, table.name);
}

bool checkPages(Database& db, const QString& table, const Hooks& hooks) {
    bool passes = false;
    try {
        passes = quickCheckPasses(db, table);
    } catch (const DbError&) {
        passes = false;
    }
    if (hooks.pageChecked)
        hooks.pageChecked(table, passes);
    return passes;
}

} // namespace

QString pageCheckFindings(Database& db) {
    QStringList findings;
    try {
        Statement s = db.prepare(u"PRAGMA quick_check");
        while (s.next()) {
            // One row may hold several findings, each on its own line, under a heading.
            for (const QString& line : s.toString(0).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                if (!line.startsWith(QLatin1String("*** ")))
                    findings.append(line.trimmed());
            }
        }
    } catch (const DbError& e) {
        findings.append(e.message()); // the check gave up on a page it could not read
    }
    if (findings == QStringList{QStringLiteral("ok")})
        return {};
    return summarised(findings);
}

std::optional<int> fieldCount(Database& db, const QString& table) {
    if (!dataset::hasTable(db, table))
        return std::nullopt;
    Statement s = db.prepare(u"SELECT COUNT(*) FROM pragma_table_info(?1)");
    s.bind(1, table);
    s.next();
    return int(s.toInt64(0));
}

QStringList dataFileNames() {
    QStringList names;
    for (const char* file : kDataFiles)
        names.append(QString::fromLatin1(file));
    return names;
}

std::optional<QString> firstMissingDataFile(Database& db) {
    for (const char* file : kDataFiles) {
        const QString name = QString::fromLatin1(file);
        if (!dataset::hasTable(db, schema::table(name.section(QLatin1Char('.'), 0, 0)).name))
            return name;
    }
    return std::nullopt;
}

bool checkDataFiles(Database& db, MessageService& messages, const Hooks& hooks) {
    const auto missing = firstMissingDataFile(db);
    if (!missing)
        return true;
    showError(
        messages, hooks,
        QStringLiteral("Die Datendatei ") + *missing +
            QStringLiteral(" konnte nicht gefunden werden. Hierdurch kann die Programmausführung "
                           "nicht fortgesetzt werden!"),
        5501);
    return false;
}

bool indexesUsable(Database& db, const QString& tableName, PageCheck pages, const Hooks& hooks) {
    try {
        const schema::Table& table = schema::table(tableName);
        if (!dataset::hasTable(db, table.name) ||
            primaryKeyColumns(db, table.name) != table.primaryKey())
            return false;
        const std::vector<schema::Index> indexes = applicableIndexes(db, table);
        for (const schema::Index& index : indexes) {
            if (!indexMatches(db, table, index))
                return false;
        }
        // Indexes left by older versions are replaced too.
        if (namedIndexes(db, table.name).size() != qsizetype(indexes.size()))
            return false;
        return pages == PageCheck::Skip || checkPages(db, table.name, hooks);
    } catch (const DbError&) {
        return false;
    }
}

bool checkAndRebuildIndexes(Database& db, bool rebuildRequested, MessageService& messages,
                            const Hooks& hooks, QStringList* rebuilt, PageCheck pages) {
    addMissingTables(db);
    bool songsRebuilt = false;
    for (const RebuildEntry& entry : kRebuildTable) {
        const schema::Table& table = schema::table(QString::fromLatin1(entry.table));
        if ((!rebuildRequested && indexesUsable(db, table.name, pages, hooks)) ||
            isMissingAddedTable(db, table))
            continue;
        if (hooks.processEvents)
            hooks.processEvents();
        try {
            rebuildIndexes(db, table);
        } catch (const DbError& e) {
            showError(messages, hooks, indexFailureText(QLatin1String(entry.messageName), e),
                      entry.helpContext);
            return false;
        }
        if (rebuilt)
            rebuilt->append(table.name);
        songsRebuilt = songsRebuilt || table.name == QLatin1String("MUSIKPOS");
        // Damage of the table's own pages outlives a rebuild; it is reported, and queries
        // that meet it later give the database's error message.
        if (pages == PageCheck::Run)
            checkPages(db, table.name, hooks);
    }
    // The song search index is derived from MUSIKPOS: built when missing (older files,
    // restored backups) and anew with the table's indexes, whose rebuild may renumber rows.
    try {
        if (rebuildRequested || songsRebuilt || !songindex::isUsable(db)) {
            if (hooks.processEvents)
                hooks.processEvents();
            songindex::rebuild(db);
        }
    } catch (const DbError& e) {
        showError(messages, hooks, indexFailureText(QStringLiteral("MUSIKPOS.DB"), e), 8012);
        return false;
    }
    return true;
}

bool checkAndUpgradeFormats(Database& db, MessageService& messages, const Hooks& hooks) {
    addMissingTables(db);
    if (!upgradeCarriers(db, messages, hooks) || !upgradeSongs(db, messages, hooks))
        return false;
    for (const FormatEntry& entry : kFormatTable) {
        std::optional<int> fields;
        try {
            fields = fieldCount(db, QLatin1String(entry.table));
        } catch (const DbError&) {
            continue; // an engine error while checking one table is ignored
        }
        if (!fields)
            continue;
        if (QLatin1String(entry.table) == QLatin1String("MusikInformation") && *fields == 6) {
            if (!upgradeInformation(db, messages, hooks))
                return false;
            continue;
        }
        if (*fields != entry.fields) {
            showError(messages, hooks,
                      QStringLiteral("Die Datenbank %1 ist ungültig (falsche Feldanzahl)! \n%2")
                          .arg(QLatin1String(entry.messageName), kCannotContinue),
                      entry.helpContext);
            return false;
        }
    }
    return true;
}

} // namespace startupchecks
