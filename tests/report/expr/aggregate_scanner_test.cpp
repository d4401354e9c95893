#include "report/expr/aggregate_scanner.h"

#include <gtest/gtest.h>

using namespace vornak;

TEST(AggregateScanner, FindsCallsAndTheirArguments)
{
    const struct {
        QString expression;
        QStringList callTexts;
        QList<QStringList> arguments;
    } cases[] = {
        {QStringLiteral("SUM(<Source1.\"s2\">,MasterData1)"),
         {QStringLiteral("SUM(<Source1.\"s2\">,MasterData1)")},
         {{QStringLiteral("<Source1.\"s2\">"), QStringLiteral("MasterData1")}}},
        {QStringLiteral("IIF(x > 0, count(MasterData1, 3), 0)"),
         {QStringLiteral("count(MasterData1, 3)")},
         {{QStringLiteral("MasterData1"), QStringLiteral(" 3")}}},
        {QStringLiteral("<Source1.\"a,b\"> + Max(f(x, y), Band1)"),
         {QStringLiteral("Max(f(x, y), Band1)")},
         {{QStringLiteral("f(x, y)"), QStringLiteral(" Band1")}}},
        {QStringLiteral("AVG('a)b,c') * 2 - MIN(<S.\"v\">)"),
         {QStringLiteral("AVG('a)b,c')"), QStringLiteral("MIN(<S.\"v\">)")},
         {{QStringLiteral("'a)b,c'")}, {QStringLiteral("<S.\"v\">")}}},
        {QStringLiteral("'SUM(x)' + MySum(x) + SUM (x)"), {}, {}},
        {QStringLiteral("(SUM(x))"), {QStringLiteral("SUM(x)")}, {{QStringLiteral("x")}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expression.toStdString());
        const QList<AggregateCall> calls = findAggregateCalls(c.expression);
        ASSERT_EQ(calls.size(), c.callTexts.size());
        for (qsizetype i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].callText, c.callTexts[i]);
            EXPECT_EQ(calls[i].arguments, c.arguments[i]);
        }
    }
}
