#pragma once

#include <QList>
#include <QStringList>

// Rows of a semicolon-separated text with double-quoted fields ("" for a quote); quoted
// fields may span lines. Lines end with LF or CR LF.
QList<QStringList> parseCsv(QStringView text, QChar separator = QLatin1Char(';'));
