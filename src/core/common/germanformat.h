#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The whole program shows and reads dates and numbers the German way.
namespace germanformat {

const QLocale& locale();

// "dd.MM.yyyy"; empty for a null date.
QString formatDate(const QDate& date);
// Accepts "1.1.1970" as well as "01.01.1970"; a null date for anything else.
QDate parseDate(const QString& text);

// Dates as day numbers counted from 30 December 1899 (the settings file stores them so).
double dayNumber(const QDate& date);
QDate dateFromDayNumber(double dayNumber);

// Shortest decimal form with a decimal comma and no grouping ("37256", "1,95583").
QString formatNumber(double value);
// Accepts a decimal comma or point; nullopt when the text is no number.
std::optional<double> parseNumber(const QString& text);

} // namespace germanformat
