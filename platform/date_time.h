#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace vornak {

// Date-time values are doubles counting days since 1899-12-30, the time of day as the fraction.
// For days before that date the fraction still counts forward from midnight (-1.25 is
// 1899-12-29 06:00).
namespace date_time {

double encode(const QDate &date, const QTime &time = QTime(0, 0));
double encode(const QDateTime &dateTime);
QDate datePart(double value);
QTime timePart(double value);
QDateTime decode(double value);
bool isMidnight(double value);

// Formats with the tokens of RegionalSettings (d dd ddd dddd M MM MMM MMMM yy yyyy, H HH h hh
// m mm s ss z zzz AP ap, text in single quotes).
QString format(double value, const QString &pattern);
// The regional short date, followed by a blank and the regional long time unless the time of
// day is exactly midnight.
QString toText(double value);
QString toDateText(double value);

// A date in the regional short date order, optionally followed by a time; a date of two parts
// takes the current year. Empty when the text is not a date.
std::optional<double> parse(const QString &text);
// A date alone in the regional order, for texts that must be dates.
std::optional<double> parseDate(const QString &text);

} // namespace date_time
} // namespace vornak
