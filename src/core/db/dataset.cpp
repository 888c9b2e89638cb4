#include "dataset.h"

#include "core/common/atomicfile.h"
#include "core/common/germanformat.h"
#include "core/common/windows1252.h"
#include "core/shell/datadirectory.h"
#include "csvreader.h"
#include "schema.h"
#include "songindex.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace dataset {
namespace {

void bindCsvValue(Statement& s, int index, const QString& text, const schema::Field& field) {
    using T = schema::FieldType;
    if (text.isEmpty() && field.type != T::Alpha && field.type != T::Memo) {
        s.bindNull(index);
        return;
    }
    switch (field.type) {
    case T::Alpha:
        s.bind(index, text.left(field.size));
        break;
    case T::Memo:
        s.bind(index, QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        break;
    case T::Number:
    case T::Money:
        s.bind(index, text.toDouble());
        break;
    case T::Short:
    case T::Long:
        s.bind(index, text.toLongLong());
        break;
    case T::Logical:
        s.bind(index,
               text == QLatin1String("1") || text.compare(u"true", Qt::CaseInsensitive) == 0);
        break;
    case T::Date:
        s.bind(index, germanformat::parseDate(text));
        break;
    case T::Graphic:
        s.bindNull(index);
        break;
    }
}

void loadTable(Database& db, const schema::Table& table, const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("Die mitgelieferten Daten %1 fehlen.").arg(resource));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(file.readAll()));
    if (rows.isEmpty())
        return;
    std::vector<int> fieldOf;
    QStringList columns, marks;
    for (const QString& name : rows.first()) {
        const int f = table.fieldIndex(name);
        if (f < 0)
            throw DbError(DbError::Kind::Other,
                          QStringLiteral("%1: unbekanntes Feld %2").arg(resource, name));
        fieldOf.push_back(f);
        columns.append(schema::quoted(table.fields[f].name));
        marks.append(QStringLiteral("?"));
    }
    Statement insert =
        db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(schema::quoted(table.name), columns.join(QStringLiteral(", ")),
                            marks.join(QStringLiteral(", "))));
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        if (row.size() != qsizetype(fieldOf.size()))
            throw DbError(
                DbError::Kind::Other,
                QStringLiteral("%1, Zeile %2: falsche Spaltenzahl").arg(resource).arg(r + 1));
        for (int c = 0; c < int(fieldOf.size()); ++c)
            bindCsvValue(insert, c + 1, row[c], table.fields[fieldOf[c]]);
        insert.run();
    }
}

void createTable(Database& db, const schema::Table& table) {
    db.exec(schema::createTableSql(table));
    for (const schema::Index& i : table.indexes)
        db.exec(schema::createIndexSql(table, i));
}

} // namespace

QString databasePath(const QString& dataDirectory) {
    return QDir(dataDirectory).filePath(QString::fromLatin1(Database::kFileName));
}

bool exists(const QString& dataDirectory) {
    return QFile::exists(databasePath(dataDirectory));
}

void createSchema(Database& db) {
    for (const auto* list : {&schema::tables(), &schema::addedTables()})
        for (const schema::Table& t : *list)
            createTable(db, t);
    songindex::rebuild(db);
}

bool hasTable(Database& db, const QString& table) {
    Statement s = db.prepare(
        u"SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    s.bind(1, table);
    return s.next();
}

void addMissingTables(Database& db) {
    std::vector<const schema::Table*> missing;
    for (const schema::Table& t : schema::addedTables()) {
        if (!hasTable(db, t.name))
            missing.push_back(&t);
    }
    if (missing.empty())
        return;
    std::optional<Transaction> transaction;
    if (!db.inTransaction())
        transaction.emplace(db);
    for (const schema::Table* t : missing)
        createTable(db, *t);
    if (transaction)
        transaction->commit();
}

void loadDeliveredData(Database& db) {
    for (const schema::Table& t : schema::tables()) {
        const QString resource =
            datadirectory::deliveredPath(QStringLiteral("delivered/%1.csv").arg(t.name));
        if (QFile::exists(resource))
            loadTable(db, t, resource);
    }
}

void create(const QString& dataDirectory) {
    const QString target = databasePath(dataDirectory);
    if (QFile::exists(target))
        throw DbError(
            DbError::Kind::Other,
            QStringLiteral("In %1 ist bereits eine Datenbank vorhanden.").arg(dataDirectory));
    // The folders this call makes, innermost first: a failure leaves none of them behind.
    QStringList made;
    for (QString d = QDir::cleanPath(QDir(dataDirectory).absolutePath());
         !QFileInfo::exists(d) && d != QFileInfo(d).path(); d = QFileInfo(d).path())
        made.append(d);
    if (!QDir().mkpath(dataDirectory))
        throw DbError(
            DbError::Kind::Other,
            QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.").arg(dataDirectory));
    const QString building = target + QStringLiteral(".new");
    const auto cleanUp = [&] {
        QFile::remove(building);
        QFile::remove(building + QStringLiteral("-journal"));
        for (const QString& dir : made)
            QDir().rmdir(dir);
    };
    QFile::remove(building);
    try {
        Database db;
        db.open(building, Database::OpenMode::CreateIfMissing);
        Transaction transaction(db);
        createSchema(db);
        loadDeliveredData(db);
        transaction.commit();
        db.close();
    } catch (const DbError&) {
        cleanUp();
        throw;
    }
    if (!QFile::rename(building, target)) {
        cleanUp();
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("Die Datenbank %1 kann nicht angelegt werden.").arg(target));
    }
}

void installDeliveredFiles(const QString& dataDirectory) {
    QDirIterator it(datadirectory::deliveredPath(QStringLiteral("files")), QDir::Files);
    while (it.hasNext()) {
        const QString resource = it.next();
        const QString target = QDir(dataDirectory).filePath(it.fileName());
        if (QFile::exists(target))
            continue;
        QFile source(resource);
        if (source.open(QIODevice::ReadOnly))
            atomicfile::write(target,
                              windows1252::encodeTextFile(QString::fromUtf8(source.readAll())));
    }
}

} // namespace dataset
