#include "csvwriter.h"

#include <QAbstractItemModel>
#include <QIODevice>

namespace csv {

QString field(const QString& cell) {
    const bool quote = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) ||
                       cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r')) ||
                       (!cell.isEmpty() && (cell.front().isSpace() || cell.back().isSpace()));
    if (!quote)
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray row(const QStringList& cells) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(';');
        line += field(cells[i]);
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

Writer::Writer(QIODevice* device) : m_device(device) {}

bool Writer::writeRow(const QStringList& cells) {
    if (!m_started) {
        m_started = true;
        if (m_device->write(kByteOrderMark, 3) != 3)
            return false;
    }
    const QByteArray bytes = row(cells);
    return m_device->write(bytes) == bytes.size();
}

File::File(const QString& path) : m_file(path), m_path(path) {}

bool File::open(QString* error) {
    if (!m_file.open(QIODevice::WriteOnly) || m_file.write(kByteOrderMark, 3) != 3) {
        *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                     .arg(m_path, m_file.errorString());
        m_file.cancelWriting();
        return false;
    }
    return true;
}

bool File::writeRow(const QStringList& cells) {
    const QByteArray bytes = row(cells);
    return m_file.write(bytes) == bytes.size();
}

bool File::commit(QString* error) {
    if (!m_file.commit()) {
        *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                     .arg(m_path, m_file.errorString());
        return false;
    }
    return true;
}

void File::cancel() {
    m_file.cancelWriting();
    m_file.commit(); // removes the temporary file
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
