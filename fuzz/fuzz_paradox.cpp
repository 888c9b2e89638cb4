// Feeds arbitrary bytes to the Paradox table reader: the first two bytes give the length of
// the table file, the rest is its memo file. Whatever the input, reading every field of every
// record must neither crash nor read outside the two files.
#include "core/paradox/blobfile.h"
#include "core/paradox/fieldvalue.h"
#include "core/paradox/paradoxtable.h"

#include <QBuffer>
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t tableSize = std::min<size_t>(size - 2, size_t(data[0]) << 8 | data[1]);
    QByteArray table(reinterpret_cast<const char*>(data + 2), qsizetype(tableSize));
    QByteArray memo(reinterpret_cast<const char*>(data + 2 + tableSize),
                    qsizetype(size - 2 - tableSize));
    QBuffer tableDevice(&table);
    QBuffer memoDevice(&memo);
    tableDevice.open(QIODevice::ReadOnly);
    memoDevice.open(QIODevice::ReadOnly);
    paradox::Table reader;
    QString error;
    if (!reader.open(&tableDevice, &error))
        return 0;
    paradox::BlobFile blobs(&memoDevice);
    while (const char* record = reader.next(&error)) {
        for (const paradox::FieldInfo& field : reader.fields())
            if (!paradox::fieldValue(field, record, reader.codePage(), blobs, &error))
                break;
    }
    return 0;
}
