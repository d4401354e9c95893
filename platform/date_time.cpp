#include "platform/date_time.h"

#include "platform/clock.h"
#include "platform/regional_settings.h"

#include <cmath>
#include <QLocale>

namespace vornak::date_time {

namespace {

const QDate &epoch()
{
    static const QDate date(1899, 12, 30);
    return date;
}

constexpr qint64 msPerDay = 86'400'000;

struct DayAndTime {
    qint64 day;
    qint64 ms;
};

// Whole days and milliseconds of the day, with the time rounded to the millisecond; empty for a
// value that names no date. The range is tested on the double, before any integer conversion.
std::optional<DayAndTime> split(double value)
{
    if (!(value > firstDay - 1 && value < lastDay + 1))  // also false for NaN
        return std::nullopt;
    double days = std::trunc(value);
    qint64 ms = qint64(std::llround(std::fabs(value - days) * double(msPerDay)));
    if (ms >= msPerDay) {
        ms -= msPerDay;
        days += value < 0 ? -1 : 1;
    }
    if (days < firstDay || days > lastDay)
        return std::nullopt;
    return DayAndTime{qint64(days), ms};
}

int countRun(const QString &pattern, qsizetype i)
{
    int n = 1;
    while (i + n < pattern.size() && pattern[i + n] == pattern[i])
        ++n;
    return n;
}

QString padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

}  // namespace

double encode(const QDate &date, const QTime &time)
{
    const double days = double(epoch().daysTo(date));
    const double fraction = double(time.isValid() ? time.msecsSinceStartOfDay() : 0) / double(msPerDay);
    return days >= 0 ? days + fraction : days - fraction;
}

double encode(const QDateTime &dateTime)
{
    return encode(dateTime.date(), dateTime.time());
}

bool isInRange(double value)
{
    return split(value).has_value();
}

QDate datePart(double value)
{
    const auto parts = split(value);
    return parts ? epoch().addDays(parts->day) : QDate();
}

QTime timePart(double value)
{
    const auto parts = split(value);
    return parts ? QTime::fromMSecsSinceStartOfDay(int(parts->ms)) : QTime();
}

QDateTime decode(double value)
{
    return isInRange(value) ? QDateTime(datePart(value), timePart(value)) : QDateTime();
}

bool isMidnight(double value)
{
    const auto parts = split(value);
    return parts && parts->ms == 0;
}

QString format(double value, const QString &pattern)
{
    if (!isInRange(value))
        return {};
    const QDate date = datePart(value);
    const QTime time = timePart(value);
    const QLocale locale = QLocale::system();
    const bool twelveHour = pattern.contains(QStringLiteral("AP"), Qt::CaseInsensitive);
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            const qsizetype close = pattern.indexOf(u'\'', i + 1);
            out += pattern.mid(i + 1, close < 0 ? -1 : close - i - 1);
            i = close < 0 ? pattern.size() : close + 1;
            continue;
        }
        const int n = countRun(pattern, i);
        switch (c.unicode()) {
        case u'd':
            out += n == 1   ? QString::number(date.day())
                   : n == 2 ? padded(date.day(), 2)
                            : locale.dayName(date.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'M':
            out += n == 1   ? QString::number(date.month())
                   : n == 2 ? padded(date.month(), 2)
                            : locale.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'y':
            out += n <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
            break;
        case u'H':
        case u'h': {
            int hour = time.hour();
            if (c == u'h' && twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += n == 1 ? QString::number(hour) : padded(hour, 2);
            break;
        }
        case u'm':
            out += n == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            break;
        case u's':
            out += n == 1 ? QString::number(time.second()) : padded(time.second(), 2);
            break;
        case u'z':
            out += n == 1 ? QString::number(time.msec()) : padded(time.msec(), 3);
            break;
        case u'A':
        case u'a':
            if (i + 1 < pattern.size() && pattern[i + 1].toLower() == u'p') {
                const QString marker = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
                out += c == u'a' ? marker.toLower() : marker;
                i += 2;
                continue;
            }
            out += QString(n, c);
            break;
        default:
            out += QString(n, c);
            break;
        }
        i += n;
    }
    return out;
}

QString toDateText(double value)
{
    return format(value, RegionalSettings::current().shortDateFormat);
}

QString toText(double value)
{
    QString text = toDateText(value);
    if (!text.isEmpty() && !isMidnight(value))
        text += u' ' + format(value, RegionalSettings::current().longTimeFormat);
    return text;
}

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// One number of a date or time as typed: its value and how many digits it was written with.
struct TypedNumber {
    int value;
    int digits;
};

// Reads unsigned numbers separated by `separator` starting at `pos`; stops at a blank.
QList<TypedNumber> readNumbers(const QString &text, qsizetype &pos, QChar separator, int maxParts)
{
    QList<TypedNumber> parts;
    while (pos < text.size() && parts.size() < maxParts) {
        qsizetype start = pos;
        int value = 0;
        while (pos < text.size() && isAsciiDigit(text[pos]) && pos - start < 9)
            value = value * 10 + (text[pos++].unicode() - u'0');
        if (pos == start)
            return {};
        parts.append({value, int(pos - start)});
        if (pos < text.size() && text[pos] == separator && parts.size() < maxParts)
            ++pos;
        else
            break;
    }
    return parts;
}

// The order of day, month and year in the short date format, as a string of 'd', 'M' and 'y'.
QString dateOrder(const QString &format)
{
    QString order;
    for (QChar c : format) {
        if ((c == u'd' || c == u'M' || c == u'y') && !order.contains(c))
            order += c;
    }
    return order.size() == 3 ? order : QStringLiteral("dMy");
}

std::optional<QDate> readDate(const QString &text, qsizetype &pos)
{
    const RegionalSettings &rs = RegionalSettings::current();
    const QList<TypedNumber> parts = readNumbers(text, pos, rs.dateSeparator, 3);
    if (parts.size() < 2)
        return std::nullopt;
    const QString order = dateOrder(rs.shortDateFormat);
    int day = 0, month = 0, year = 0;
    if (parts.size() == 2)
        year = Clock::current().now().date().year();
    int yearDigits = 0;  // none typed
    qsizetype k = 0;
    for (QChar field : order) {
        if (parts.size() == 2 && field == u'y')
            continue;
        const TypedNumber number = parts[k++];
        if (field == u'd')
            day = number.value;
        else if (field == u'M')
            month = number.value;
        else {
            year = number.value;
            yearDigits = number.digits;
        }
    }
    if (yearDigits > 0 && yearDigits <= 2) {
        // Two-digit years fall within 50 years either side of the current year.
        const int now = Clock::current().now().date().year();
        year += now - now % 100;
        if (year > now + 50)
            year -= 100;
        else if (year <= now - 50)
            year += 100;
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < firstYear || year > lastYear)
        return std::nullopt;
    return date;
}

std::optional<QTime> readTime(const QString &text, qsizetype &pos)
{
    const QList<TypedNumber> parts = readNumbers(text, pos, RegionalSettings::current().timeSeparator, 3);
    if (parts.size() < 2)
        return std::nullopt;
    int hour = parts[0].value;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    const QString rest = text.mid(pos).toUpper();
    if (rest.startsWith(QStringLiteral("AM")) || rest.startsWith(QStringLiteral("PM"))) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (rest.startsWith(u'P') ? 12 : 0);
        pos += 2;
    }
    const QTime time(hour, parts[1].value, parts.size() > 2 ? parts[2].value : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

}  // namespace

std::optional<double> parse(const QString &input)
{
    const QString text = input.trimmed();
    qsizetype pos = 0;
    const auto date = readDate(text, pos);
    if (!date)
        return std::nullopt;
    QTime time(0, 0);
    if (pos < text.size()) {
        if (!text[pos].isSpace())
            return std::nullopt;
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        const auto t = readTime(text, pos);
        if (!t)
            return std::nullopt;
        time = *t;
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        if (pos != text.size())
            return std::nullopt;
    }
    return encode(*date, time);
}

std::optional<double> parseDate(const QString &input)
{
    const QString text = input.trimmed();
    qsizetype pos = 0;
    const auto date = readDate(text, pos);
    if (!date || pos != text.size())
        return std::nullopt;
    return encode(*date);
}

}  // namespace vornak::date_time
