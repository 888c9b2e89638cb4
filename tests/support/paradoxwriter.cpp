#include "paradoxwriter.h"

#include "core/db/schema.h"
#include "core/paradox/codepage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstring>
extern "C" {
#include <paradox.h>
}

namespace paradoxwriter {

struct TableWriter::State {
    pxdoc_t* doc = nullptr;
    pxfield_t* fields = nullptr;
    std::vector<QByteArray> names;
    TableLayout layout;
    std::unique_ptr<CodePage> codePage;
    QByteArray record;
    QString memoPath;
};

namespace {

constexpr qint64 kJulianDayBeforeYear1 = 1721425;

bool isBlob(int type) {
    return type == pxfMemoBLOb || type == pxfBLOb || type == pxfFmtMemoBLOb || type == pxfOLE ||
           type == pxfGraphic;
}

void ignoreErrors(pxdoc_t*, int, const char*, void*) {}

} // namespace

TableLayout schemaLayout(const schema::Table& table, int codePage, int fieldCount) {
    using T = schema::FieldType;
    TableLayout layout;
    layout.fileName = table.fileName;
    layout.primaryKeyFields = table.primaryKeyFields;
    layout.codePage = codePage;
    const size_t count = fieldCount < 0 ? table.fields.size() : size_t(fieldCount);
    for (size_t i = 0; i < count; ++i) {
        const schema::Field& f = table.fields[i];
        Column c{f.name, 0, 0};
        switch (f.type) {
        case T::Alpha:
            c.type = pxfAlpha;
            c.size = f.size > 0 ? f.size : 20;
            break;
        case T::Number:
            c.type = pxfNumber;
            c.size = 8;
            break;
        case T::Money:
            c.type = pxfCurrency;
            c.size = 8;
            break;
        case T::Short:
            c.type = pxfShort;
            c.size = 2;
            break;
        case T::Long:
            c.type = pxfLong;
            c.size = 4;
            break;
        case T::Date:
            c.type = pxfDate;
            c.size = 4;
            break;
        case T::Logical:
            c.type = pxfLogical;
            c.size = 1;
            break;
        case T::Memo:
            c.type = pxfMemoBLOb;
            c.size = 110;
            break;
        case T::Graphic:
            c.type = pxfGraphic;
            c.size = 10;
            break;
        }
        layout.columns.push_back(c);
    }
    return layout;
}

TableWriter::TableWriter() : m(std::make_unique<State>()) {}

TableWriter::~TableWriter() {
    close();
}

bool TableWriter::open(const QString& directory, const TableLayout& layout, QString* error) {
    close();
    m->layout = layout;
    m->codePage = std::make_unique<CodePage>(layout.codePage);
    m->doc = PX_new2(ignoreErrors, nullptr, nullptr, nullptr);
    const int n = int(layout.columns.size());
    // pxlib frees the field array and its names when the document is deleted.
    m->fields =
        static_cast<pxfield_t*>(m->doc->malloc(m->doc, sizeof(pxfield_t) * size_t(n), "fields"));
    bool blobs = false;
    for (int i = 0; i < n; ++i) {
        const Column& c = layout.columns[size_t(i)];
        const QByteArray name = m->codePage->encode(c.name);
        m->fields[i].px_fname = PX_strdup(m->doc, name.constData());
        m->fields[i].px_ftype = char(c.type);
        m->fields[i].px_flen = c.size;
        m->fields[i].px_fdc = 0;
        blobs = blobs || isBlob(c.type);
    }
    const QString path = QDir(directory).filePath(layout.fileName);
    QFile::remove(path);
    if (PX_create_file(m->doc, m->fields, n, QFile::encodeName(path).constData(),
                       pxfFileTypIndexDB) < 0) {
        *error = QStringLiteral("pxlib cannot create %1").arg(path);
        return false;
    }
    PX_set_value(m->doc, "codepage", float(layout.codePage));
    PX_set_value(m->doc, "numprimkeys", float(layout.primaryKeyFields));
    PX_set_tablename(m->doc, QFile::encodeName(QFileInfo(path).completeBaseName()).constData());
    if (blobs) {
        m->memoPath = path.left(path.size() - 2) + QStringLiteral("MB");
        QFile::remove(m->memoPath);
        if (PX_set_blob_file(m->doc, QFile::encodeName(m->memoPath).constData()) < 0) {
            *error = QStringLiteral("pxlib cannot create %1").arg(m->memoPath);
            return false;
        }
    }
    m->record = QByteArray(PX_get_recordsize(m->doc), '\0');
    return true;
}

void TableWriter::addRow(const QVariantList& values) {
    char* rec = m->record.data();
    std::memset(rec, 0, size_t(m->record.size()));
    int offset = 0;
    for (size_t i = 0; i < m->layout.columns.size(); ++i) {
        const Column& c = m->layout.columns[i];
        char* p = rec + offset;
        offset += c.size;
        if (i >= size_t(values.size()) || values[qsizetype(i)].isNull())
            continue;
        const QVariant& v = values[qsizetype(i)];
        switch (c.type) {
        case pxfAlpha: {
            QByteArray text = m->codePage->encode(v.toString()).left(c.size);
            PX_put_data_alpha(m->doc, p, c.size, text.data());
            break;
        }
        case pxfDate:
            PX_put_data_long(m->doc, p, 4, int(v.toDate().toJulianDay() - kJulianDayBeforeYear1));
            break;
        case pxfShort:
            PX_put_data_short(m->doc, p, 2, short(v.toInt()));
            break;
        case pxfLong:
        case pxfAutoInc:
            PX_put_data_long(m->doc, p, 4, v.toInt());
            break;
        case pxfTime:
            PX_put_data_long(m->doc, p, 4, v.toTime().msecsSinceStartOfDay());
            break;
        case pxfTimestamp: {
            const QDateTime t = v.toDateTime();
            const double ms = double(t.date().toJulianDay() - kJulianDayBeforeYear1) * 86400000.0 +
                              t.time().msecsSinceStartOfDay();
            PX_put_data_double(m->doc, p, 8, ms);
            break;
        }
        case pxfNumber:
        case pxfCurrency:
            PX_put_data_double(m->doc, p, 8, v.toDouble());
            break;
        case pxfLogical:
            PX_put_data_byte(m->doc, p, 1, v.toBool() ? 1 : 0);
            break;
        case pxfBytes: {
            QByteArray bytes = v.toByteArray().leftJustified(c.size, '\0', true);
            PX_put_data_bytes(m->doc, p, c.size, bytes.data());
            break;
        }
        default: { // memo and blob fields
            QByteArray data = c.type == pxfMemoBLOb || c.type == pxfFmtMemoBLOb
                                  ? m->codePage->encode(v.toString())
                                  : v.toByteArray();
            if (c.type == pxfGraphic) {
                // A stored picture starts with a header of its own.
                QByteArray header(8, '\0');
                header[0] = 2;
                const quint32 size = quint32(data.size());
                std::memcpy(header.data() + 4, &size, 4);
                data.prepend(header);
            }
            PX_put_data_blob(m->doc, p, c.size, data.data(), int(data.size()));
            break;
        }
        }
    }
    PX_put_record(m->doc, rec);
}

void TableWriter::close() {
    if (!m->doc)
        return;
    PX_close(m->doc);
    PX_delete(m->doc);
    m->doc = nullptr;
    if (!m->memoPath.isEmpty()) {
        QFile memo(m->memoPath);
        if (memo.open(QIODevice::ReadWrite) && memo.size() % 4096 != 0)
            memo.resize((memo.size() / 4096 + 1) * 4096);
        m->memoPath.clear();
    }
}

bool writeTable(const QString& directory, const TableLayout& layout,
                const std::vector<QVariantList>& rows, QString* error) {
    TableWriter writer;
    if (!writer.open(directory, layout, error))
        return false;
    for (const QVariantList& row : rows)
        writer.addRow(row);
    writer.close();
    return true;
}

bool writeDataSet(const QString& directory,
                  const std::vector<std::pair<QString, std::vector<QVariantList>>>& rows,
                  int codePage, QString* error) {
    QString ignored;
    for (const schema::Table& table : schema::tables()) {
        std::vector<QVariantList> tableRows;
        for (const auto& [name, r] : rows)
            if (name == table.name)
                tableRows = r;
        if (!writeTable(directory, schemaLayout(table, codePage), tableRows,
                        error ? error : &ignored))
            return false;
    }
    return true;
}

} // namespace paradoxwriter
