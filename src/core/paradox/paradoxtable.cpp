#include "paradoxtable.h"

#include <QIODevice>

namespace paradox {
namespace {

quint16 u16(const char* p) {
    return quint16(uchar(p[0]) | uchar(p[1]) << 8);
}

quint32 u32(const char* p) {
    return quint32(u16(p)) | quint32(u16(p + 2)) << 16;
}

// The fixed part of the header; version 4 and later add a second part before the fields.
constexpr int kBaseHeader = 0x58;
constexpr int kExtendedHeader = 0x78;

int storedSize(quint8 type, int declared) {
    return type == Bcd ? 17 : declared;
}

bool knownType(quint8 type) {
    switch (type) {
    case Alpha:
    case Date:
    case Short:
    case Long:
    case Money:
    case Number:
    case Logical:
    case Memo:
    case Blob:
    case FormattedMemo:
    case Ole:
    case Graphic:
    case Time:
    case Timestamp:
    case AutoIncrement:
    case Bcd:
    case Bytes:
        return true;
    default:
        return false;
    }
}

} // namespace

Table::~Table() = default;

int Table::fieldIndex(QStringView name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

bool Table::open(QIODevice* device, QString* error) {
    m_device = device;
    m_fileSize = device->size();
    QByteArray head = device->read(kExtendedHeader);
    if (head.size() < kBaseHeader) {
        *error = QStringLiteral("Die Datei ist zu kurz für eine Paradox-Tabelle.");
        return false;
    }
    const char* h = head.constData();
    m_recordSize = u16(h);
    m_headerSize = u16(h + 2);
    const quint8 fileType = uchar(h[4]);
    const int blockKilobytes = uchar(h[5]);
    m_headerRecords = u32(h + 6);
    m_fileBlocks = u16(h + 0x0C);
    m_firstBlock = u16(h + 0x0E);
    const int fieldCount = u16(h + 0x21);
    m_primaryKeyFields = u16(h + 0x23);
    const quint32 encryption = u32(h + 0x25);
    const quint8 version = uchar(h[0x39]);
    if (fileType != 0 && fileType != 2) {
        *error = QStringLiteral("Die Datei ist keine Paradox-Tabelle (Dateityp %1).").arg(fileType);
        return false;
    }
    if (version < 3 || version > 12 || blockKilobytes < 1 || blockKilobytes > 32 ||
        fieldCount < 1 || fieldCount > 255 || m_recordSize < 1 || m_headerSize < kBaseHeader ||
        m_primaryKeyFields > fieldCount) {
        *error = QStringLiteral("Der Dateikopf ist beschädigt.");
        return false;
    }
    m_blockSize = blockKilobytes * 1024;
    if (m_headerSize > m_fileSize) {
        *error = QStringLiteral("Die Datei ist abgeschnitten.");
        return false;
    }
    const bool extended = version >= 5;
    int codePage = 0;
    if (extended) {
        if (head.size() < kExtendedHeader) {
            *error = QStringLiteral("Der Dateikopf ist beschädigt.");
            return false;
        }
        codePage = u16(h + 0x6A);
    }
    // Newer files keep the password check in the second part of the header; 0xff00ff00 in
    // the first part means none.
    const quint32 password = extended ? u32(h + 0x5C) : encryption;
    if (password != 0 && password != 0xff00ff00) {
        *error = QStringLiteral("Die Tabelle ist mit einem Kennwort geschützt.");
        return false;
    }
    m_codePage = std::make_unique<CodePage>(codePage);

    device->seek(0);
    head = device->read(m_headerSize);
    if (head.size() != m_headerSize) {
        *error = QStringLiteral("Die Datei ist abgeschnitten.");
        return false;
    }
    h = head.constData();
    int pos = extended ? kExtendedHeader : kBaseHeader;
    // Field types and sizes, the table name pointer, one name pointer per field, the table
    // name in a fixed width, then the field names one after the other.
    const int tableNameWidth = version >= 12 ? 261 : 79;
    if (pos + fieldCount * 2 + 4 + fieldCount * 4 + tableNameWidth > m_headerSize) {
        *error = QStringLiteral("Der Dateikopf ist beschädigt.");
        return false;
    }
    m_fields.clear();
    int offset = 0;
    for (int i = 0; i < fieldCount; ++i) {
        FieldInfo f;
        f.type = uchar(h[pos + 2 * i]);
        const int declared = uchar(h[pos + 2 * i + 1]);
        if (!knownType(f.type)) {
            *error =
                QStringLiteral("Feld %1 hat einen unbekannten Typ (%2).").arg(i + 1).arg(f.type);
            return false;
        }
        f.size = storedSize(f.type, declared);
        f.decimals = f.type == Bcd ? declared : 0;
        if (f.size < 1 || ((f.type == Memo || f.type == Blob || f.type == FormattedMemo ||
                            f.type == Ole || f.type == Graphic) &&
                           f.size < 10)) {
            *error = QStringLiteral("Feld %1 hat eine ungültige Länge.").arg(i + 1);
            return false;
        }
        f.offset = offset;
        offset += f.size;
        m_fields.push_back(f);
    }
    if (offset != m_recordSize) {
        *error = QStringLiteral("Die Satzlänge im Dateikopf passt nicht zu den Feldern.");
        return false;
    }
    pos += fieldCount * 2 + 4 + fieldCount * 4 + tableNameWidth;
    for (FieldInfo& f : m_fields) {
        const int end = head.indexOf('\0', pos);
        if (end < 0) {
            *error = QStringLiteral("Der Dateikopf ist beschädigt (Feldnamen).");
            return false;
        }
        f.name = m_codePage->decode(QByteArrayView(h + pos, end - pos));
        pos = end + 1;
    }
    if (m_recordSize + 6 > m_blockSize) {
        *error = QStringLiteral("Der Dateikopf ist beschädigt.");
        return false;
    }
    if (m_fileBlocks > 0 && m_headerSize + qint64(m_fileBlocks) * m_blockSize > m_fileSize) {
        *error = QStringLiteral("Die Datei ist abgeschnitten: es fehlen Datenblöcke.");
        return false;
    }
    if (m_headerRecords > 0 && m_fileBlocks == 0) {
        *error = QStringLiteral("Der Dateikopf ist beschädigt (keine Datenblöcke).");
        return false;
    }
    m_nextBlock = m_fileBlocks > 0 ? m_firstBlock : 0;
    m_blocksRead = 0;
    m_inBlock = m_blockRecords = 0;
    m_recordNumber = 0;
    return true;
}

bool Table::loadBlock(int number, QString* error) {
    if (number < 1 || number > m_fileBlocks || ++m_blocksRead > m_fileBlocks) {
        *error = QStringLiteral("Die Kette der Datenblöcke ist beschädigt (Block %1).").arg(number);
        return false;
    }
    const qint64 start = m_headerSize + qint64(number - 1) * m_blockSize;
    m_block.resize(m_blockSize);
    if (!m_device->seek(start) || m_device->read(m_block.data(), m_blockSize) != m_blockSize) {
        *error = QStringLiteral("Die Datei ist abgeschnitten (Block %1).").arg(number);
        return false;
    }
    const char* b = m_block.constData();
    m_nextBlock = u16(b);
    const int lastOffset = qint16(u16(b + 4));
    m_blockRecords = lastOffset < 0 ? 0 : lastOffset / m_recordSize + 1;
    if (lastOffset >= 0 &&
        (lastOffset % m_recordSize != 0 || 6 + m_blockRecords * m_recordSize > m_blockSize)) {
        *error = QStringLiteral("Datenblock %1 ist beschädigt.").arg(number);
        return false;
    }
    m_inBlock = 0;
    return true;
}

const char* Table::next(QString* error) {
    error->clear();
    while (m_inBlock >= m_blockRecords) {
        if (m_nextBlock == 0) {
            if (m_recordNumber != m_headerRecords)
                *error = QStringLiteral("Die Datei enthält %1 statt %2 Datensätze; sie ist "
                                        "beschädigt.")
                             .arg(m_recordNumber)
                             .arg(m_headerRecords);
            return nullptr;
        }
        if (!loadBlock(m_nextBlock, error))
            return nullptr;
    }
    const char* record = m_block.constData() + 6 + m_inBlock * m_recordSize;
    ++m_inBlock;
    ++m_recordNumber;
    return record;
}

} // namespace paradox
