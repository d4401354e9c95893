#include "platform/date_time.h"
#include "platform/regional_settings.h"
#include "platform/variant.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <limits>

using namespace vornak;

TEST(DateTime, EncodesDaysSince1899)
{
    EXPECT_EQ(date_time::encode(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(date_time::encode(QDate(2011, 11, 13)), 40860.0);
    EXPECT_EQ(date_time::encode(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_EQ(date_time::datePart(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(date_time::timePart(-1.25), QTime(6, 0));
    EXPECT_EQ(date_time::decode(40860.75), QDateTime(QDate(2011, 11, 13), QTime(18, 0)));
}

TEST(DateTime, ParsesRegionalDates)
{
    const struct {
        const char *text;
        double expected;  // 0 means refused
    } cases[] = {
        {"13.11.2011", 40860},
        {" 13.11.2011 ", 40860},
        {"13.11.2011 18:00", 40860.75},
        {"13.11.2011 18:00:00", 40860.75},
        {"1.2.2011", 40575},
        {"13.11.11", 40860},
        {"31.02.2011", 0},
        {"13/11/2011", 0},
        {"13.11.2011x", 0},
        {"2011", 0},
        {"", 0},
    };
    for (const auto &c : cases) {
        const auto value = date_time::parse(QString::fromLatin1(c.text));
        if (c.expected == 0)
            EXPECT_FALSE(value.has_value()) << c.text;
        else
            EXPECT_EQ(value.value_or(-1), c.expected) << c.text;
    }
}

TEST(DateTime, FollowsOtherRegionalOrders)
{
    RegionalSettings us = RegionalSettings::russian();
    us.shortDateFormat = QStringLiteral("M/d/yyyy");
    us.dateSeparator = u'/';
    us.longTimeFormat = QStringLiteral("h:mm:ss AP");
    ScopedRegionalSettings pinned(us);
    EXPECT_EQ(date_time::parse(QStringLiteral("11/13/2011")), 40860.0);
    EXPECT_EQ(date_time::toText(40860.75), QStringLiteral("11/13/2011 6:00:00 PM"));
}

// A value names a date from 01.01.0001 to 31.12.9999; whatever else a file holds names none and
// converts to nothing, without a fault (this table also runs under the sanitizers).
TEST(DateTime, ValuesOutsideTheCalendarNameNoDate)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char *text;  // empty: names no date
    } cases[] = {
        {date_time::firstDay, "01.01.0001"},
        {-693593.5, "01.01.0001 12:00:00"},  // times count forward from midnight before 1899
        {date_time::lastDay, "31.12.9999"},
        {date_time::lastDay + 0.5, "31.12.9999 12:00:00"},
        {date_time::lastDay + 0.9999999999, ""},  // rounds to the millisecond: 01.01.10000
        {date_time::lastDay + 1, ""},
        {date_time::firstDay - 1, ""},
        {1e300, ""},
        {-1e300, ""},
        {inf, ""},
        {-inf, ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {9.3e18, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        const QString text = QString::fromLatin1(c.text);
        const bool named = !text.isEmpty();
        EXPECT_EQ(date_time::isInRange(c.value), named);
        EXPECT_EQ(date_time::toText(c.value), text);
        EXPECT_EQ(Variant::fromDateTime(c.value).toString(), text);
        EXPECT_EQ(date_time::format(c.value, QStringLiteral("dddd d MMMM yyyy HH:mm")).isEmpty(), !named);
        EXPECT_EQ(date_time::datePart(c.value).isValid(), named);
        EXPECT_EQ(date_time::timePart(c.value).isValid(), named);
        EXPECT_EQ(date_time::decode(c.value).isValid(), named);
    }
}

// The year is read as typed: one or two digits fall within 50 years of today, more digits are
// the year itself, which must lie between 1 and 9999.
TEST(DateTime, ReadsTheYearAsTyped)
{
    const vornak::testing::FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    const struct {
        const char *text;
        QDate expected;  // invalid: refused
    } cases[] = {
        {"01.01.0001", QDate(1, 1, 1)},  {"31.12.9999", QDate(9999, 12, 31)},
        {"01.01.0099", QDate(99, 1, 1)}, {"01.01.099", QDate(99, 1, 1)},
        {"01.01.99", QDate(1999, 1, 1)}, {"01.01.76", QDate(2076, 1, 1)},
        {"01.01.5", QDate(2005, 1, 1)},  {"01.01.00", QDate(2000, 1, 1)},
        {"01.01.0000", QDate()},         {"01.01.000", QDate()},
        {"01.01.10000", QDate()},        {"01.01.-2026", QDate()},
        {"-01.01.2026", QDate()},        {"01.01.\u0662\u0660\u0662\u0666", QDate()},  // digits of another script
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE(text.toStdString());
        const auto value = date_time::parse(text);
        ASSERT_EQ(value.has_value(), c.expected.isValid());
        if (value)
            EXPECT_EQ(date_time::datePart(*value), c.expected);
        EXPECT_EQ(date_time::parseDate(text), value);
    }
}
