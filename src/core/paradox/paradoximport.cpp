#include "paradoximport.h"

#include "tablecopy.h"

#include "core/backup/databackup.h"
#include "core/common/atomicfile.h"
#include "core/common/windows1252.h"
#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/db/soundness.h"
#include "core/db/startupchecks.h"
#include "core/shell/datadirectorylock.h"

#include <QDir>
#include <QFile>

namespace paradoximport {
namespace {

const QString kStagingFolder = QStringLiteral(".uebernahme");

// Which tables make up each count of the summary.
struct CountGroup {
    const char* label;
    QStringList tables;
};

std::vector<CountGroup> countGroups() {
    return {
        {"Tonträger", {QStringLiteral("MUSIKKOP")}},
        {"Lieder", {QStringLiteral("MUSIKPOS")}},
        {"Texte", {QStringLiteral("MUSIKTXT")}},
        {"Grafiken", {QStringLiteral("MUSIKGRF")}},
        {"Entleiher", {QStringLiteral("VERSTAMM")}},
        {"Verleihvorgänge", {QStringLiteral("MUSIKVER")}},
        {"Druckvorlagen", {QStringLiteral("MPRTTEXT")}},
        {"Hilfstabellen", schema::lookupTables() + QStringList{QStringLiteral("Currency")}},
    };
}

// Older program versions had fewer fields in these tables; the format check converts them.
int oldLayoutFields(const schema::Table& table, int declared) {
    if ((table.name == QLatin1String("MUSIKKOP") && declared == 12) ||
        (table.name == QLatin1String("MUSIKPOS") && (declared == 9 || declared == 10)) ||
        (table.name == QLatin1String("MusikInformation") && declared == 6))
        return declared;
    return int(table.fields.size());
}

QString memoFileName(const schema::Table& table) {
    return table.fileName.left(table.fileName.size() - 2) + QStringLiteral("MB");
}

bool hasBlobFields(const schema::Table& table) {
    for (const schema::Field& f : table.fields)
        if (f.type == schema::FieldType::Memo || f.type == schema::FieldType::Graphic)
            return true;
    return false;
}

// Records the first message of a check and answers its questions through the user's
// service, so a conversion is asked as at the start of the program.
class CheckMessages : public MessageService {
public:
    explicit CheckMessages(MessageService& user) : m_user(user) {}
    QString first;
    MessageButton show(const Message& m) override {
        if (m.kind == MessageKind::Confirmation)
            return m_user.show(m);
        if (first.isEmpty())
            first = m.text;
        return MessageButton::Ok;
    }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }

private:
    MessageService& m_user;
};

void writeReport(const QString& path, const Result& result) {
    QString text = QStringLiteral("Übernahme eines Paradox-Datenbestands\r\n\r\n");
    text += summary(result).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!result.damage.isEmpty()) {
        text += QStringLiteral("\r\nDer Datenbestand wurde nicht übernommen. Fehler:\r\n");
        for (const QString& line : result.damage)
            text += line + QStringLiteral("\r\n");
    }
    if (!result.notes.isEmpty()) {
        text += QStringLiteral("\r\nHinweise:\r\n");
        for (const QString& note : result.notes)
            text += note + QStringLiteral("\r\n");
    }
    atomicfile::write(path, windows1252::encodeTextFile(text));
}

} // namespace

QString findSourceFile(const QString& sourceDirectory, const QString& fileName) {
    const QDir dir(sourceDirectory);
    if (dir.exists(fileName))
        return dir.filePath(fileName);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return {};
}

QString firstMissingFile(const QString& sourceDirectory) {
    QStringList required = startupchecks::dataFileNames();
    for (const schema::Table& t : schema::tables()) {
        bool listed = false;
        for (const QString& name : required)
            listed = listed || name.compare(t.fileName, Qt::CaseInsensitive) == 0;
        if (!listed)
            required.append(t.fileName);
    }
    for (const QString& name : required)
        if (findSourceFile(sourceDirectory, name).isEmpty())
            return name;
    return {};
}

qint64 presentCarriers(const QString& dataDirectory) {
    const QString path = QDir(dataDirectory).filePath(QString::fromLatin1(Database::kFileName));
    if (!QFile::exists(path))
        return 0;
    try {
        Database db;
        db.open(path);
        return db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong();
    } catch (const DbError&) {
        return 0; // a damaged or incomplete data set holds nothing to keep
    }
}

QString summary(const Result& result) {
    QString text = QStringLiteral("%1%2%3\n")
                       .arg(QStringLiteral("Daten"), -18)
                       .arg(QStringLiteral("Quelle"), 12)
                       .arg(QStringLiteral("Übernommen"), 12);
    for (const Count& c : result.counts)
        text += QStringLiteral("%1%2%3\n").arg(c.label, -18).arg(c.source, 12).arg(c.result, 12);
    return text;
}

Result importDataSet(const QString& sourceDirectory, const QString& dataDirectory,
                     MessageService& messages, const Progress& progress) {
    Result result;
    if (const QString missing = firstMissingFile(sourceDirectory); !missing.isEmpty()) {
        result.failure = QStringLiteral("Die Datendatei %1 konnte nicht gefunden werden. "
                                        "Hierdurch kann die Übernahme nicht fortgesetzt werden!")
                             .arg(missing);
        return result;
    }
    QDir data(dataDirectory);
    if (!data.mkpath(QStringLiteral("."))) {
        result.failure =
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(dataDirectory);
        return result;
    }
    // Files replaced under a running program would be lost to it.
    DataDirectoryLock lock(dataDirectory, DataDirectoryLock::Mode::Replace);
    if (!lock.tryLock(&result.failure)) {
        result.inUse = true;
        return result;
    }
    QDir staging(data.filePath(kStagingFolder));
    staging.removeRecursively();
    if (!data.mkpath(kStagingFolder)) {
        result.failure =
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(staging.path());
        return result;
    }
    const auto giveUp = [&]() -> Result& {
        staging.removeRecursively();
        return result;
    };

    std::map<QString, std::pair<qint64, qint64>> perTable; // read, duplicates
    QStringList oldLayouts;
    {
        Database db;
        try {
            db.open(staging.filePath(QString::fromLatin1(Database::kFileName)),
                    Database::OpenMode::CreateIfMissing);
            // The file is thrown away on any failure, so it needs no journal while it is built.
            db.exec(u"PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF");
            Transaction transaction(db);
            for (const schema::Table& table : schema::tables()) {
                const QString path = findSourceFile(sourceDirectory, table.fileName);
                const int fields = oldLayoutFields(table, paradox::declaredFieldCount(path));
                schema::Table layout = table;
                layout.fields.resize(size_t(fields));
                if (fields != int(table.fields.size()))
                    oldLayouts.append(table.name);
                db.exec(schema::createTableSql(layout));
                const QString memo = hasBlobFields(table)
                                         ? findSourceFile(sourceDirectory, memoFileName(table))
                                         : QString();
                const paradox::TableCopy copy =
                    paradox::copyTable(db, table, fields, path, memo, [&](qint64 records) {
                        return !progress || progress(table.fileName, records);
                    });
                result.notes += copy.notes;
                if (copy.cancelled) {
                    result.cancelled = true;
                    return giveUp();
                }
                if (!copy.failure.isEmpty()) {
                    result.failure = copy.failure;
                    return giveUp();
                }
                perTable[table.name] = {copy.read, copy.duplicates};
                if (progress && !progress(table.fileName, copy.read)) {
                    result.cancelled = true;
                    return giveUp();
                }
            }
            // Indexes are built once the rows are in: much faster than row by row. Tables
            // of an older layout get theirs from the index check after their conversion.
            for (const schema::Table& table : schema::tables())
                if (!oldLayouts.contains(table.name))
                    for (const schema::Index& index : table.indexes)
                        db.exec(schema::createIndexSql(table, index));
            transaction.commit();
            // The checks may convert tables: that needs the journal again.
            db.exec(u"PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL");

            CheckMessages checks(messages);
            if (!startupchecks::checkDataFiles(db, checks) ||
                !startupchecks::checkAndUpgradeFormats(db, checks) ||
                !startupchecks::checkAndRebuildIndexes(db, false, checks)) {
                if (checks.first.isEmpty())
                    result.cancelled = true; // a conversion question was declined
                else
                    result.failure = QStringLiteral("Der übernommene Datenbestand ist nicht "
                                                    "verwendbar: %1")
                                         .arg(checks.first);
                return giveUp();
            }
            if (const qint64 leftOver = soundness::removeLeftOverInformation(db); leftOver > 0)
                result.notes += QStringLiteral("%1 Informationsdatensätze ohne Tonträger wurden "
                                               "nicht übernommen.")
                                    .arg(leftOver);
            // Damage that still reads as records must not replace sound data.
            for (const soundness::Violation& v : soundness::check(db))
                result.damage += v.describe();
            if (!result.damage.isEmpty()) {
                result.failure =
                    QStringLiteral("Der Datenbestand ist beschädigt und wird nicht "
                                   "übernommen (%1 Fehler, alle stehen in %2). "
                                   "Der erste: %3")
                        .arg(result.damage.size())
                        .arg(QString::fromUtf8(kReportFileName), result.damage.first());
                result.reportPath = data.filePath(QString::fromUtf8(kReportFileName));
                db.close();
                writeReport(result.reportPath, result);
                return giveUp();
            }
            for (const CountGroup& group : countGroups()) {
                Count count{QString::fromUtf8(group.label), 0, 0};
                for (const QString& name : group.tables) {
                    count.source += perTable[schema::table(name).name].first;
                    count.result += db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1")
                                                  .arg(schema::quoted(schema::table(name).name)))
                                        .toLongLong();
                }
                result.counts.push_back(count);
            }
            db.close();
        } catch (const DbError& e) {
            result.failure = QStringLiteral("Der neue Datenbestand kann nicht angelegt werden: %1")
                                 .arg(e.message());
            return giveUp();
        }
    }
    // The settings file and the server list come along under the names the program uses.
    for (const char* name : {"WinDsKm.InI", "cddbhosts.txt"}) {
        const QString from = findSourceFile(sourceDirectory, QString::fromLatin1(name));
        if (!from.isEmpty() && !QFile::copy(from, staging.filePath(QString::fromLatin1(name)))) {
            result.failure = QStringLiteral("Die Datei %1 kann nicht kopiert werden.").arg(from);
            return giveUp();
        }
    }
    if (!databackup::replaceFromStaging(staging.path(), dataDirectory, &result.failure))
        return result;
    result.reportPath = data.filePath(QString::fromUtf8(kReportFileName));
    writeReport(result.reportPath, result);
    result.ok = true;
    return result;
}

} // namespace paradoximport
