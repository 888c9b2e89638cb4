// CSV files as other programs write them: read row by row without crashing, and rows
// written by the program's writer are read back exactly.
#include "core/common/csvwriter.h"
#include "core/db/csvreader.h"
#include "fuzzsupport.h"

#include <QBuffer>
#include <QDebug>

DISKARIUM_FUZZ_INIT

namespace {

QList<QStringList> readAll(QByteArray bytes, char separator) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer, separator);
    QList<QStringList> rows;
    QStringList row;
    while (reader.next(row))
        rows.append(row);
    FUZZ_REQUIRE(!reader.failed());
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzsupport::bytes(data, size);
    readAll(bytes, ',');
    const QList<QStringList> rows = readAll(bytes, ';');
    // Whatever was read, written again and read back is the same (a row of one empty field
    // is a blank line, which gives no row; a CR inside a field is dropped on reading).
    QByteArray written = csv::kByteOrderMark; // as the program's files begin
    QList<QStringList> expected;
    for (const QStringList& row : rows) {
        if (row.size() == 1 && row.first().isEmpty())
            continue;
        written += csv::row(row);
        // Line ends inside a field are read as LF alone.
        QStringList cells = row;
        for (QString& cell : cells)
            cell.remove(QLatin1Char('\r'));
        expected.append(cells);
    }
    const QList<QStringList> readBack = readAll(written, ';');
    if (readBack != expected) {
        for (qsizetype i = 0; i < std::max(readBack.size(), expected.size()); ++i) {
            const QStringList a = expected.value(i), b = readBack.value(i);
            if (a != b)
                qWarning() << "row" << i << "written" << a << "read back" << b;
        }
        std::abort();
    }
    parseCsv(QString::fromUtf8(bytes));
    return 0;
}
