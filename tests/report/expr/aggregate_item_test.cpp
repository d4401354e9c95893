#include "report/expr/aggregate_list.h"

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
