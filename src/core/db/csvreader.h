#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

class QIODevice;

// Rows of a semicolon-separated text with double-quoted fields ("" for a quote); quoted
// fields may span lines. Lines end with LF or CR LF.
QList<QStringList> parseCsv(QStringView text, QChar separator = QLatin1Char(';'));

// The same rows read one at a time from UTF-8 bytes (a byte order mark at the start is
// skipped), so a file of any length never sits in memory whole. Blank lines give no row.
class CsvReader {
public:
    explicit CsvReader(QIODevice* device, char separator = ';');
    void setSeparator(char separator) { m_separator = separator; }

    // The next row; false at the end of the bytes or when the device failed (see failed()).
    bool next(QStringList& row);
    // The line (from 1) on which the row last read starts.
    int rowLine() const { return m_rowLine; }
    // Every field of the row last read was valid UTF-8.
    bool rowIsUtf8() const { return m_rowIsUtf8; }
    // The bytes read so far.
    qint64 position() const { return m_consumed; }
    bool failed() const { return m_failed; }

private:
    bool fill();
    void endField(QStringList& row);

    QIODevice* m_device;
    char m_separator;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    int m_line = 1;
    int m_rowLine = 0;
    bool m_rowIsUtf8 = true;
    bool m_started = false;
    bool m_failed = false;
    QByteArray m_field;
};
