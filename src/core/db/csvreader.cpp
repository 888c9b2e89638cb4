#include "csvreader.h"

#include <QBuffer>
#include <QIODevice>

namespace {
constexpr qint64 kReadChunk = 16 * 1024; // a few pages: large enough that reads are rare
}

QList<QStringList> parseCsv(QStringView text, QChar separator) {
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer, char(separator.toLatin1()));
    QList<QStringList> rows;
    QStringList row;
    while (reader.next(row))
        rows.append(row);
    return rows;
}

CsvReader::CsvReader(QIODevice* device, char separator)
    : m_device(device), m_separator(separator) {}

bool CsvReader::fill() {
    if (m_pos < m_buffer.size())
        return true;
    m_buffer = m_device->read(kReadChunk);
    m_pos = 0;
    if (m_buffer.isEmpty()) {
        // A device that can say so tells an error apart from the end of its bytes.
        if (!m_device->isSequential() && !m_device->atEnd())
            m_failed = true;
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (m_buffer.startsWith("\xEF\xBB\xBF")) {
            m_pos = 3;
            m_consumed = 3;
            return fill();
        }
    }
    return true;
}

void CsvReader::endField(QStringList& row) {
    if (!QByteArrayView(m_field).isValidUtf8())
        m_rowIsUtf8 = false;
    QString text = QString::fromUtf8(m_field);
    // The decoder drops a leading byte order mark; inside a file it is the field's own text.
    if (m_field.startsWith("\xEF\xBB\xBF"))
        text.prepend(QChar(0xFEFF));
    row.append(text);
    m_field.clear();
}

bool CsvReader::next(QStringList& row) {
    row.clear();
    m_field.clear();
    m_rowIsUtf8 = true;
    bool quoted = false;
    bool rowHasContent = false;
    m_rowLine = m_line;
    while (fill()) {
        const char c = m_buffer[m_pos++];
        ++m_consumed;
        if (quoted) {
            if (c == '"') {
                if (fill() && m_buffer[m_pos] == '"') {
                    m_field += c;
                    ++m_pos;
                    ++m_consumed;
                } else {
                    quoted = false;
                }
            } else if (c != '\r') {
                if (c == '\n')
                    ++m_line;
                m_field += c;
            }
            continue;
        }
        if (c == '"' && m_field.isEmpty()) {
            // Quotes open a quoted field only at its start; elsewhere they are text.
            quoted = true;
            rowHasContent = true;
        } else if (c == m_separator) {
            endField(row);
            rowHasContent = true;
        } else if (c == '\n') {
            ++m_line;
            if (rowHasContent || !m_field.isEmpty()) {
                endField(row);
                return true;
            }
            m_rowLine = m_line; // a blank line gives no row
        } else if (c != '\r') {
            m_field += c;
            rowHasContent = true;
        }
    }
    if (rowHasContent || !m_field.isEmpty()) {
        endField(row);
        return true;
    }
    return false;
}
