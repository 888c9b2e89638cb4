#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Column formats of the page printer: tokens of an alignment character ("<" left, ">"
// right, "^" centred) and a width in the measure unit, joined by the token separator.
namespace columnformat {

struct Token {
    QChar alignment = QLatin1Char('<');
    double width = 0;  // absolute value
    bool boxed = true; // false for a negative width
};

QList<Token> parse(QStringView format, QChar separator, double defaultWidth);
// Every token rewritten as alignment and shortest width ("40|>25|" -> "<40|>25|<0").
QString normalise(QStringView format, QChar separator, double defaultWidth);
// The widths converted to millimetres (toMillimetres) or to inches; an empty format stays empty.
QString convertWidths(QStringView format, QChar separator, double defaultWidth, bool toMillimetres);
// Cell texts of a row; one more than there are separators.
QStringList splitRow(const QString& row, QChar separator);

// "&"-coded header or footer text translated into a row text and its format.
struct Friendly {
    QString row;
    QString format;
};
struct FriendlyValues {
    QDateTime now;
    QString fileName;
};
Friendly translateFriendly(QStringView text, QChar separator, double totalWidth,
                           const FriendlyValues& values);

} // namespace columnformat
