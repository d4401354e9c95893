#pragma once

#include <optional>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace vornak {

// Date-time values are doubles counting days since 1899-12-30, the time of day as the fraction.
// For days before that date the fraction still counts forward from midnight (-1.25 is
// 1899-12-29 06:00).
//
// A value names a date only from 01.01.0001 to 31.12.9999 (its time rounded to the millisecond).
// Anything else a file may hold (a huge number, an infinity, not a number) names none: it
// decodes to an invalid QDate, QTime and QDateTime and formats as empty text, and nothing here
// converts it to an integer.
namespace date_time {

inline constexpr int firstYear = 1;
inline constexpr int lastYear = 9999;
inline constexpr double firstDay = -693593;  // 01.01.0001
inline constexpr double lastDay = 2958465;   // 31.12.9999

bool isInRange(double value);

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
// takes the current year. A year of one or two digits falls within 50 years of the current
// year; a longer one is taken as typed and must lie between firstYear and lastYear. Empty when
// the text is not a date.
std::optional<double> parse(const QString &text);
// A date alone in the regional order, for texts that must be dates.
std::optional<double> parseDate(const QString &text);

}  // namespace date_time
}  // namespace vornak
