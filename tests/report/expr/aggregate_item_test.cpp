#include "report/expr/aggregate_list.h"
#include "report/expr/aggregate_scanner.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"

#include <gtest/gtest.h>
#include <QList>

using namespace vornak;

namespace {

Variant valueOver(TfrxAggregateFunction function, const QList<Variant> &values)
{
    TfrxAggregateItem item;
    item.Function = function;
    for (const Variant &value : values)
        item.AddValue(function == agCount ? Variant() : value);
    return item.Value();
}

}  // namespace

TEST(AggregateItem, ValuesOverRowsWithAndWithoutNull)
{
    const QList<Variant> withNull{Variant(10), Variant(), Variant(2.5)};
    const QList<Variant> nullAsZero{Variant(10), Variant(0), Variant(2.5)};
    const struct {
        TfrxAggregateFunction function;
        QList<Variant> values;
        double expected;
    } cases[] = {
        {agSum, withNull, 12.5},
        {agAvg, withNull, 6.25},
        {agCount, withNull, 3},
        {agMin, withNull, 2.5},
        {agMax, withNull, 10},
        {agSum, nullAsZero, 12.5},
        {agAvg, nullAsZero, 12.5 / 3},
        {agCount, nullAsZero, 3},
        {agMin, nullAsZero, 0},
        {agMin, {}, 0},
        {agAvg, {}, 0},
        {agSum, {Variant()}, 0},
        {agAvg, {Variant()}, 0},
        {agSum, {Variant(true), Variant(2)}, 3},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(valueOver(c.function, c.values).toDouble(), c.expected)
            << c.function << " over " << c.values.size();
}

TEST(AggregateItem, KeepingResettingAndUndoing)
{
    TfrxAggregateItem item;  // SUM
    item.AddValue(Variant(5));
    item.StartKeep();
    item.AddValue(Variant(7));
    EXPECT_EQ(item.Value().toDouble(), 5);  // held back until the keeping ends
    item.EndKeep();
    EXPECT_EQ(item.Value().toDouble(), 12);
    EXPECT_EQ(item.Total.count, 2);

    item.AddValue(Variant(100));
    item.DeleteValue();
    EXPECT_EQ(item.Value().toDouble(), 12);

    item.KeepOnReset = true;
    item.Reset();
    EXPECT_EQ(item.Value().toDouble(), 12);  // a started value is kept
    item.Reset(true);
    EXPECT_EQ(item.Value().toDouble(), 0);
    EXPECT_TRUE(item.Total.value.isNull());
}

TEST(AggregateList, LookupMatchesBandFunctionExpressionAndFlags)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    auto *masterData = new TfrxMasterData(page);
    auto *detailData = new TfrxDetailData(page);
    auto *footer = new TfrxFooter(page);
    auto *memo = new TfrxMemoView(footer);
    masterData->SetName(QStringLiteral("MasterData1"));
    TfrxAggregateList list(report);
    list.AddCall({QStringLiteral("Sum"),
                  {QStringLiteral(" <S.\"v\"> "), QStringLiteral("MasterData1"), QStringLiteral("2")},
                  QString()},
                 *memo, *footer, detailData);
    list.Items(0).AddValue(Variant(4));

    const struct {
        TfrxBand *printing;
        QString function;
        QString expression;
        TfrxBand *band;
        int flags;
        bool found;
    } cases[] = {
        {footer, QStringLiteral("SUM"), QStringLiteral("<S.\"v\">"), masterData, 2, true},
        {footer, QStringLiteral("sum"), QStringLiteral("  <s.\"V\">"), nullptr, 2, true},
        {masterData, QStringLiteral("SUM"), QStringLiteral("<S.\"v\">"), masterData, 2, false},
        {footer, QStringLiteral("SUM"), QStringLiteral("<S.\"v\">"), detailData, 2, false},
        {footer, QStringLiteral("SUM"), QStringLiteral("<S.\"v\">"), masterData, 0, false},
        {footer, QStringLiteral("AVG"), QStringLiteral("<S.\"v\">"), masterData, 2, false},
        {footer, QStringLiteral("SUM"), QStringLiteral("<S.\"w\">"), masterData, 2, false},
    };
    for (const auto &c : cases) {
        const Variant value = list.GetValue(c.printing, c.function, c.expression, c.band, c.flags);
        EXPECT_EQ(value.isNull(), !c.found) << c.function.toStdString() << " " << c.expression.toStdString();
        if (c.found) {
            EXPECT_EQ(value.toInt(), 4);
        }
    }
}
