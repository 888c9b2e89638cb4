#pragma once

#include "codepage.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QIODevice;

// A Paradox table file (.DB) read block by block: the header with its fields and code
// page, then the records in the order of the data block chain. Every length and block
// number is checked against the file, so a damaged file is refused with a reason and never
// read past its end.
namespace paradox {

// Field types as the file stores them.
enum FieldType : quint8 {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct FieldInfo {
    QString name;
    quint8 type = 0;
    int size = 0;     // bytes in the record
    int decimals = 0; // BCD only
    int offset = 0;   // in the record
};

class Table {
public:
    Table() = default;
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Reads and checks the header. The device must stay open while records are read.
    // False with a German reason for a file that is no Paradox table or is damaged.
    bool open(QIODevice* device, QString* error);

    const std::vector<FieldInfo>& fields() const { return m_fields; }
    int fieldIndex(QStringView name) const; // by name regardless of letter case; -1 if absent
    int recordSize() const { return m_recordSize; }
    qint64 headerRecordCount() const { return m_headerRecords; }
    int primaryKeyFields() const { return m_primaryKeyFields; }
    const CodePage& codePage() const { return *m_codePage; }

    // The next record (recordSize() bytes, valid until the next call), or nullptr at the end
    // or on damage (then error is set). Records are counted from 1.
    const char* next(QString* error);
    qint64 recordNumber() const { return m_recordNumber; }

private:
    bool loadBlock(int number, QString* error);

    QIODevice* m_device = nullptr;
    qint64 m_fileSize = 0;
    std::vector<FieldInfo> m_fields;
    std::unique_ptr<CodePage> m_codePage;
    int m_recordSize = 0;
    int m_headerSize = 0;
    int m_blockSize = 0;
    int m_fileBlocks = 0;
    int m_firstBlock = 0;
    int m_primaryKeyFields = 0;
    qint64 m_headerRecords = 0;

    QByteArray m_block;
    int m_nextBlock = 0;
    int m_blocksRead = 0;
    int m_inBlock = 0;
    int m_blockRecords = 0;
    qint64 m_recordNumber = 0;
};

} // namespace paradox
