#include "discogscommands.h"

#include "console.h"
#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/discogsexport.h"
#include "core/catalogue/discogsimport.h"
#include "core/db/database.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

#include <QDir>
#include <QFileInfo>

namespace {

int discogsUsage() {
    return usagetext::show({QStringLiteral("import-discogs"), QStringLiteral("export-discogs")});
}

// Splits the arguments into the two plain ones and the flags; false for anything else.
bool parse(const QStringList& args, const QStringList& known, QStringList& plain,
           QStringList& flags) {
    for (const QString& a : args) {
        if (!a.startsWith(QLatin1String("--")))
            plain.append(a);
        else if (known.contains(a) && !flags.contains(a))
            flags.append(a);
        else
            return false;
    }
    return plain.size() == 2;
}

void printRows(const discogs::Outcome& o) {
    for (const discogs::RowOutcome& r : o.rows)
        out() << r.line << '\t' << discogs::resultText(r.result) << '\t' << tabCell(r.group) << '\t'
              << tabCell(r.title) << '\t' << tabCell(r.type) << '\t' << tabCell(r.note) << '\n';
    if (!o.rows.isEmpty() || o.ok)
        out() << discogs::summaryText(o.counts) << '\n';
    out().flush();
}

} // namespace

int runImportDiscogsCommand(const QStringList& args) {
    QStringList plain, flags;
    if (!parse(args, {QStringLiteral("--dry-run"), QStringLiteral("--allow-duplicate")}, plain,
               flags))
        return discogsUsage();
    const QString& directory = plain[0];
    const QString& path = plain[1];
    discogs::Options options;
    options.allowDuplicate = flags.contains(QStringLiteral("--allow-duplicate"));
    Database db;
    discogs::Outcome outcome;
    if (flags.contains(QStringLiteral("--dry-run"))) {
        // Reads only: neither the lock file nor a missing table gets written.
        if (!openDataSet(directory, db))
            return 1;
        outcome = discogs::plan(db, path, options);
    } else {
        // New carriers are numbered from what the running program may be writing meanwhile.
        DataDirectoryLock lock(directory);
        if (!openDataSetForWriting(directory, lock, db))
            return 1;
        Settings settings = dataSetSettings(directory);
        try {
            carrierorigins::ensureTable(db);
        } catch (const DbError& e) {
            return fail(e.message());
        }
        outcome = discogs::import(db, path, settings, options);
        if (outcome.ok && settings.globalNumbering && outcome.stored > 0) {
            settings.globalNumber += outcome.stored;
            QString error;
            if (!settingsfile::write(
                    QDir(directory).filePath(QString::fromLatin1(settingsfile::kFileName)),
                    settings, &error))
                err() << "Warnung: " << error << Qt::endl;
        }
    }
    printRows(outcome);
    if (!outcome.ok)
        return fail(outcome.error);
    return 0;
}

int runExportDiscogsCommand(const QStringList& args) {
    QStringList plain, flags;
    if (!parse(args, {QStringLiteral("--overwrite")}, plain, flags))
        return discogsUsage();
    const QString& path = plain[1];
    if (QFileInfo::exists(path) && !flags.contains(QStringLiteral("--overwrite")))
        return fail(path + QStringLiteral(" ist schon vorhanden (--overwrite ersetzt die Datei)."));
    // Reads beside a running program; only an older data set gets its table of origins.
    DataDirectoryLock lock(plain[0], DataDirectoryLock::Mode::Writer);
    Database db;
    if (!openDataSetForWriting(plain[0], lock, db))
        return 1;
    try {
        carrierorigins::ensureTable(db);
    } catch (const DbError& e) {
        return fail(e.message());
    }
    const discogs::ExportOutcome outcome = discogs::exportCollection(db, path);
    if (!outcome.ok)
        return fail(outcome.error);
    out() << "Exportiert: " << outcome.rows << " Tonträger -> " << path << Qt::endl;
    return 0;
}
