#include "csvreader.h"

QList<QStringList> parseCsv(QStringView text, QChar separator) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowHasContent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c != QLatin1Char('\r')) {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty()) {
            // Quotes open a quoted field only at its start; elsewhere they are text.
            quoted = true;
            rowHasContent = true;
        } else if (c == separator) {
            row.append(field);
            field.clear();
            rowHasContent = true;
        } else if (c == QLatin1Char('\n')) {
            if (rowHasContent || !field.isEmpty()) {
                row.append(field);
                rows.append(row);
            }
            row.clear();
            field.clear();
            rowHasContent = false;
        } else if (c != QLatin1Char('\r')) {
            field += c;
            rowHasContent = true;
        }
    }
    if (rowHasContent || !field.isEmpty()) {
        row.append(field);
        rows.append(row);
    }
    return rows;
}
