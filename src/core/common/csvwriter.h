#pragma once

#include "atomicfile.h"
#include <QByteArray>

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAbstractItemModel;
class QIODevice;

// CSV as German spreadsheets read it: UTF-8 with a byte order mark, ';' between fields,
// CR LF after each row, and a field in double quotes (inner quotes doubled) when it holds
// ';', '"', a line break or leading or trailing blanks. Rows are written as they come, so
// long lists never sit in memory.
namespace csv {

// One field as it goes into the file.
QString field(const QString& cell);
// One row with its CR LF, in UTF-8.
QByteArray row(const QStringList& cells);
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Appends one row with its CR LF to text; other programs' files may want another separator.
void appendRow(QString& text, const QStringList& cells, QChar separator = u';');

// Writes rows to a device (standard output of the tool); the byte order mark goes first.
// Rows are collected in blocks of some kilobytes; flush() (or the destructor) writes the rest.
class Writer {
public:
    explicit Writer(QIODevice* device);
    ~Writer();
    bool writeRow(const QStringList& cells); // false when the device refused
    bool flush();

private:
    QIODevice* m_device;
    bool m_started = false;
    QString m_pending;
};

// Writes a file that replaces the target only on commit; an error or a cancel leaves the
// target as it was.
class File {
public:
    explicit File(const QString& path);
    bool open(QString* error);
    bool writeRow(const QStringList& cells);
    bool commit(QString* error);
    void cancel();

private:
    atomicfile::File m_file;
};

// Called every few hundred rows with the rows written and the total; false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct ModelExport {
    bool ok = false;
    bool cancelled = false;
    QString error; // German
};

// Writes a model's rows in their order under its horizontal header titles. columns gives
// the model columns in the order shown (empty: all, in model order). The display texts are
// written as they are shown.
ModelExport exportModel(const QAbstractItemModel& model, const std::vector<int>& columns,
                        const QString& path, const Progress& progress = {});

} // namespace csv
