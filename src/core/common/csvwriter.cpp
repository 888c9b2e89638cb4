#include "csvwriter.h"

#include <QAbstractItemModel>
#include <QIODevice>

namespace csv {

namespace {

bool needsQuotes(QStringView cell, QChar separator) {
    if (cell.isEmpty())
        return false;
    if (cell.front().isSpace() || cell.back().isSpace())
        return true;
    for (QChar c : cell)
        if (c == separator || c == u'"' || c == u'\n' || c == u'\r')
            return true;
    return false;
}

void appendField(QString& text, const QString& cell, QChar separator = u';') {
    if (!needsQuotes(cell, separator)) {
        text += cell;
        return;
    }
    text += u'"';
    for (QChar c : cell) {
        if (c == u'"')
            text += u'"';
        text += c;
    }
    text += u'"';
}

constexpr qsizetype kBlock = 32 * 1024;

} // namespace

QString field(const QString& cell) {
    QString text;
    appendField(text, cell);
    return text;
}

void appendRow(QString& text, const QStringList& cells, QChar separator) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += separator;
        appendField(text, cells[i], separator);
    }
    text += QLatin1String("\r\n");
}

QByteArray row(const QStringList& cells) {
    QString line;
    appendRow(line, cells);
    return line.toUtf8();
}

Writer::Writer(QIODevice* device) : m_device(device) {
    m_pending.reserve(kBlock + 1024);
}

Writer::~Writer() {
    flush();
}

bool Writer::writeRow(const QStringList& cells) {
    if (!m_started) {
        m_started = true;
        if (m_device->write(kByteOrderMark, 3) != 3)
            return false;
    }
    appendRow(m_pending, cells);
    return m_pending.size() < kBlock || flush();
}

bool Writer::flush() {
    if (m_pending.isEmpty())
        return true;
    const QByteArray bytes = m_pending.toUtf8();
    m_pending.clear();
    return m_device->write(bytes) == bytes.size();
}

File::File(const QString& path) : m_file(path) {}

bool File::open(QString*) {
    return m_file.device()->write(kByteOrderMark, 3) == 3;
}

bool File::writeRow(const QStringList& cells) {
    const QByteArray bytes = row(cells);
    return m_file.device()->write(bytes) == bytes.size();
}

bool File::commit(QString* error) {
    return m_file.commit(error);
}

void File::cancel() {
    m_file.device()->close(); // nothing reaches the disk
}

ModelExport exportModel(const QAbstractItemModel& model, const std::vector<int>& columns,
                        const QString& path, const Progress& progress) {
    ModelExport result;
    std::vector<int> shown = columns;
    if (shown.empty())
        for (int c = 0; c < model.columnCount(); ++c)
            shown.push_back(c);
    File file(path);
    if (!file.open(&result.error))
        return result;
    QStringList cells;
    for (int c : shown)
        cells.append(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    bool written = file.writeRow(cells);
    const qint64 rows = model.rowCount();
    for (int r = 0; written && r < rows; ++r) {
        cells.clear();
        for (int c : shown)
            cells.append(model.data(model.index(r, c), Qt::DisplayRole).toString());
        written = file.writeRow(cells);
        if (progress && r % 256 == 255 && !progress(r + 1, rows)) {
            file.cancel();
            result.cancelled = true;
            return result;
        }
    }
    if (!written) {
        file.cancel();
        result.error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(path);
        return result;
    }
    result.ok = file.commit(&result.error);
    return result;
}

} // namespace csv
