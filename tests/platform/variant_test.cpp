#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"
#include "platform/variant.h"

#include <gtest/gtest.h>

using namespace vornak;

TEST(Variant, TextOfEachKindUnderRussianSettings)
{
    const struct {
        Variant value;
        const char *text;
    } cases[] = {
        {Variant(), ""},
        {Variant(-42), "-42"},
        {Variant(qint64(1) << 40), "1099511627776"},
        {Variant(1234.5), "1234,5"},
        {Variant(0.1), "0,1"},
        {Variant(1.0 / 3.0), "0,333333333333333"},
        {Variant(1e20), "1E20"},
        {Variant(1.5e-7), "1,5E-7"},
        {Variant(0.0001), "0,0001"},
        {Variant(100000000000000.0), "100000000000000"},
        {Variant::fromCurrency(12.5), "12,5"},
        {Variant::fromCurrency(-0.25), "-0,25"},
        {Variant(true), "True"},
        {Variant::fromDateTime(40860.0), "13.11.2011"},
        {Variant::fromDateTime(40860.5), "13.11.2011 12:00:00"},
        {Variant(QStringLiteral("текст")), "текст"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.value.toString(), QString::fromUtf8(c.text)) << c.text;
}

TEST(Variant, IntegersRoundHalvesToEven)
{
    EXPECT_EQ(Variant(2.5).toInt(), 2);
    EXPECT_EQ(Variant(3.5).toInt(), 4);
    EXPECT_EQ(Variant(-2.5).toInt(), -2);
    EXPECT_EQ(Variant().toInt(), 0);
    EXPECT_EQ(Variant(QStringLiteral("17")).toInt(), 17);
    EXPECT_EQ(roundHalfAway(2.5), 3);
    EXPECT_EQ(roundHalfAway(-0.5), -1);
}

TEST(Variant, UnconvertibleTextRaises)
{
    EXPECT_THROW(Variant(QStringLiteral("abc")).toInt(), ConversionError);
    EXPECT_THROW(Variant(QStringLiteral("abc")).toDouble(), ConversionError);
    EXPECT_THROW(Variant(5e12).toInt(), ConversionError);
}

TEST(NumberFormat, ParsesRegionalNumbers)
{
    EXPECT_EQ(parseFloat(QStringLiteral("12,5")), 12.5);
    EXPECT_EQ(parseFloat(QStringLiteral("12.5")), std::nullopt);
    EXPECT_EQ(parseFloat(QStringLiteral("12.5"), true), 12.5);
    EXPECT_EQ(parseFloat(QStringLiteral(" -1,5E3 ")), -1500.0);
    for (const char *bad : {"", ",", "1,2,3", "1E", "abc", "--1"})
        EXPECT_EQ(parseFloat(QString::fromLatin1(bad)), std::nullopt) << bad;
    EXPECT_EQ(parseInteger(QStringLiteral("+2147483647")), 2147483647);
    EXPECT_EQ(parseInteger(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(parseInteger(QStringLiteral("2147483648")), std::nullopt);
    EXPECT_EQ(parseInteger(QStringLiteral("1.0")), std::nullopt);
}
