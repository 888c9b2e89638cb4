#include "tablecopy.h"

#include "blobfile.h"
#include "fieldvalue.h"
#include "paradoxtable.h"

#include "core/common/germanformat.h"
#include "core/db/database.h"

#include <QDateTime>
#include <QFile>
#include <cmath>

namespace paradox {
namespace {

using T = schema::FieldType;

// Binds a value of the file to a column of the given type; false when it does not fit.
bool bindConverted(Statement& s, int index, const QVariant& v, const schema::Field& target) {
    if (v.isNull()) {
        s.bindNull(index);
        return true;
    }
    const int type = v.typeId();
    switch (target.type) {
    case T::Alpha:
    case T::Memo:
        if (type == QMetaType::QByteArray)
            return false;
        if (type == QMetaType::QDate)
            s.bind(index, germanformat::formatDate(v.toDate()));
        else
            s.bind(index, v.toString());
        return true;
    case T::Number:
    case T::Money:
        if (type == QMetaType::Double || type == QMetaType::LongLong) {
            s.bind(index, v.toDouble());
            return true;
        }
        if (type == QMetaType::Bool) {
            s.bind(index, v.toBool() ? 1.0 : 0.0);
            return true;
        }
        return false;
    case T::Short:
    case T::Long: {
        if (type != QMetaType::Double && type != QMetaType::LongLong && type != QMetaType::Bool)
            return false;
        const double d = v.toDouble();
        if (d != std::floor(d) || std::abs(d) > (target.type == T::Short ? 32767.0 : 2147483647.0))
            return false;
        s.bind(index, qint64(d));
        return true;
    }
    case T::Date:
        if (type == QMetaType::QDate)
            s.bind(index, v.toDate());
        else if (type == QMetaType::QDateTime)
            s.bind(index, v.toDateTime().date());
        else
            return false;
        return true;
    case T::Logical:
        if (type != QMetaType::Bool)
            return false;
        s.bind(index, v.toBool());
        return true;
    case T::Graphic:
        if (type != QMetaType::QByteArray)
            return false;
        s.bind(index, v.toByteArray());
        return true;
    }
    return false;
}

QString keyText(const schema::Table& table, const std::vector<int>& sourceOf,
                const std::vector<QVariant>& values) {
    QStringList parts;
    for (int i = 0; i < table.primaryKeyFields && i < int(sourceOf.size()); ++i) {
        const QVariant& v = values[size_t(i)];
        QString shown = v.isNull()                        ? QStringLiteral("leer")
                        : v.typeId() == QMetaType::Double ? germanformat::formatNumber(v.toDouble())
                                                          : v.toString();
        if (v.typeId() == QMetaType::QString)
            shown = QLatin1Char('"') + shown + QLatin1Char('"');
        parts.append(table.fields[size_t(i)].name + QStringLiteral(" = ") + shown);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

int declaredFieldCount(const QString& sourcePath) {
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    Table source;
    QString error;
    return source.open(&file, &error) ? int(source.fields().size()) : -1;
}

TableCopy copyTable(Database& db, const schema::Table& table, int fieldCount,
                    const QString& sourcePath, const QString& memoPath,
                    const CopyProgress& progress) {
    TableCopy result;
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.failure = QStringLiteral("%1: Die Datei kann nicht gelesen werden (%2).")
                             .arg(table.fileName, file.errorString());
        return result;
    }
    Table source;
    QString error;
    if (!source.open(&file, &error)) {
        result.failure = table.fileName + QStringLiteral(": ") + error;
        return result;
    }
    QFile memo(memoPath);
    const bool hasMemo = !memoPath.isEmpty() && memo.open(QIODevice::ReadOnly);
    BlobFile blobs(hasMemo ? &memo : nullptr);
    if (!source.codePage().known())
        result.notes.append(QStringLiteral("%1: Die Codeseite %2 ist unbekannt; die Texte werden "
                                           "als Windows-1252 gelesen.")
                                .arg(table.fileName)
                                .arg(source.codePage().number()));

    // Each target field takes the source field of the same name; the rest stay empty.
    std::vector<int> sourceOf(size_t(fieldCount), -1);
    QStringList columns, marks;
    for (int i = 0; i < fieldCount; ++i) {
        sourceOf[size_t(i)] = source.fieldIndex(table.fields[size_t(i)].name);
        columns.append(schema::quoted(table.fields[size_t(i)].name));
        marks.append(QStringLiteral("?"));
    }
    for (const FieldInfo& f : source.fields()) {
        bool known = false;
        for (int i = 0; i < fieldCount && !known; ++i)
            known = f.name.compare(table.fields[size_t(i)].name, Qt::CaseInsensitive) == 0;
        if (!known)
            result.notes.append(
                QStringLiteral("%1: Das Feld \"%2\" ist unbekannt und wird nicht übernommen.")
                    .arg(table.fileName, f.name));
    }
    Statement insert =
        db.prepare(QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)")
                       .arg(schema::quoted(table.name), columns.join(QStringLiteral(", ")),
                            marks.join(QStringLiteral(", "))));
    std::vector<QVariant> values;
    values.resize(size_t(fieldCount));
    const auto fail = [&](const QString& reason) {
        result.failure = QStringLiteral("%1, Datensatz %2: %3")
                             .arg(table.fileName)
                             .arg(source.recordNumber())
                             .arg(reason);
        return result;
    };
    while (const char* record = source.next(&error)) {
        for (int i = 0; i < fieldCount; ++i) {
            const int from = sourceOf[size_t(i)];
            if (from < 0) {
                values[size_t(i)] = QVariant();
                insert.bindNull(i + 1);
                continue;
            }
            const FieldInfo& f = source.fields()[size_t(from)];
            auto value = fieldValue(f, record, source.codePage(), blobs, &error);
            if (!value)
                return fail(error);
            if (!bindConverted(insert, i + 1, *value, table.fields[size_t(i)]))
                return fail(QStringLiteral("Der Wert des Feldes \"%1\" passt nicht zum Feldtyp.")
                                .arg(f.name));
            values[size_t(i)] = std::move(*value);
        }
        try {
            insert.run();
        } catch (const DbError& e) {
            return fail(e.message());
        }
        ++result.read;
        if (db.changes() == 0) {
            ++result.duplicates;
            result.notes.append(
                QStringLiteral(
                    "%1, Datensatz %2: Der Schlüssel (%3) kommt schon vor; der Datensatz "
                    "wird übergangen.")
                    .arg(table.fileName)
                    .arg(source.recordNumber())
                    .arg(keyText(table, sourceOf, values)));
        }
        if (progress && result.read % 512 == 0 && !progress(result.read)) {
            result.cancelled = true;
            return result;
        }
    }
    if (!error.isEmpty())
        result.failure = table.fileName + QStringLiteral(": ") + error;
    return result;
}

} // namespace paradox
