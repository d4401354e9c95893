#include "platform/date_time.h"
#include "platform/regional_settings.h"

#include <gtest/gtest.h>

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
        double expected; // 0 means refused
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
