#include "platform/date_time.h"
#include "platform/regional_settings.h"
#include "report/expr/value_format.h"

#include <gtest/gtest.h>

using namespace vornak;

TEST(ValueFormat, FormatSuffix)
{
    const struct {
        QString text;
        QString expression;
        bool hasFormat;
        TfrxFormatKind kind;
        QString formatStr;
        QString decimalSeparator;
    } cases[] = {
        {QStringLiteral("x #n%2.2f"), QStringLiteral("x"), true, fkNumeric, QStringLiteral("%2.2f"),
         QStringLiteral(".")},
        {QStringLiteral("x #N%2,2f"), QStringLiteral("x"), true, fkNumeric, QStringLiteral("%2.2f"),
         QStringLiteral(",")},
        {QStringLiteral("<S.\"v\"> #n#,##0.00"), QStringLiteral("<S.\"v\">"), true, fkNumeric,
         QStringLiteral("#.##0.00"), QStringLiteral(".")},
        {QStringLiteral("Date #ddd.MM.yyyy"), QStringLiteral("Date"), true, fkDateTime, QStringLiteral("dd.MM.yyyy"),
         QString()},
        {QStringLiteral("flag #bНет,Да"), QStringLiteral("flag"), true, fkBoolean, QStringLiteral("Нет,Да"), QString()},
        {QStringLiteral("IIF(a #n, 1, 2)"), QStringLiteral("IIF(a #n, 1, 2)"), false, fkText, QString(), QString()},
        {QStringLiteral("x#n%2.2f"), QStringLiteral("x#n%2.2f"), false, fkText, QString(), QString()},
    };
    for (const auto &c : cases) {
        const ExpressionWithFormat split = splitFormatSuffix(c.text);
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(split.expression, c.expression);
        ASSERT_EQ(split.format.has_value(), c.hasFormat);
        if (!c.hasFormat)
            continue;
        EXPECT_EQ(split.format->Kind, c.kind);
        EXPECT_EQ(split.format->FormatStr, c.formatStr);
        EXPECT_EQ(split.format->DecimalSeparator, c.decimalSeparator);
    }
}

TEST(ValueFormat, ValuesByKind)
{
    const ScopedRegionalSettings russian(RegionalSettings::russian());
    const auto numeric = [](const QString &formatStr, const QString &decimal = {}, const QString &thousand = {}) {
        return TfrxFormat{fkNumeric, formatStr, decimal, thousand};
    };
    const double may5 = date_time::encode(QDate(2026, 5, 5), QTime(14, 30));
    const struct {
        Variant value;
        TfrxFormat format;
        QString expected;
    } cases[] = {
        {Variant(), numeric(QStringLiteral("%2.2f")), QString()},
        {Variant(1234.5), TfrxFormat{}, QStringLiteral("1234,5")},
        {Variant(12), TfrxFormat{}, QStringLiteral("12")},
        {Variant(true), TfrxFormat{}, QStringLiteral("True")},
        {Variant(QStringLiteral("[text]")), TfrxFormat{}, QStringLiteral("[text]")},
        {Variant::fromDateTime(may5), TfrxFormat{}, QStringLiteral("05.05.2026 14:30:00")},
        {Variant(3.14159), numeric(QStringLiteral("%2.2f"), QStringLiteral(".")), QStringLiteral("3.14")},
        {Variant(3.14159), numeric(QStringLiteral("%2.2f"), QStringLiteral(",")), QStringLiteral("3,14")},
        {Variant(3.14159), numeric(QStringLiteral("%2.2f")), QStringLiteral("3,14")},
        {Variant(7.6), numeric(QStringLiteral("%d")), QStringLiteral("8")},
        {Variant(5), numeric(QStringLiteral("%5d")), QStringLiteral("    5")},
        {Variant(1234567.891), numeric(QStringLiteral("%.1n"), QStringLiteral("."), QStringLiteral(" ")),
         QStringLiteral("1 234 567.9")},
        {Variant(QStringLiteral("abc")), numeric(QStringLiteral("%2.2f")), QStringLiteral("abc")},
        {Variant(1234.5), numeric(QStringLiteral("#,##0.00")), QStringLiteral("1\u00a0234,50")},
        {Variant(1234.5), numeric(QStringLiteral("#,##0.00"), QStringLiteral("."), QStringLiteral(" ")),
         QStringLiteral("1 234.50")},
        {Variant::fromDateTime(may5), TfrxFormat{fkDateTime, QStringLiteral("dd.MM.yy"), {}, {}},
         QStringLiteral("05.05.26")},
        {Variant(true), TfrxFormat{fkBoolean, QStringLiteral("Нет,Да"), {}, {}}, QStringLiteral("Да")},
        {Variant(false), TfrxFormat{fkBoolean, QStringLiteral("Нет,Да"), {}, {}}, QStringLiteral("Нет")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatValue(c.value, c.format), c.expected) << c.format.FormatStr.toStdString();
}
