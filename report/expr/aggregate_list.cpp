// Aggregate items and their list. AddItems walks the bands of a page that print totals and
// reads the bracketed expressions of their text objects with the aggregate call scanner; one
// item per call. While the engine prints, AddValue evaluates each item's expression at the data
// source's current record and folds it into the item's total (into a temporary total while bands
// are held back, or into a column's total for vertical bands), and Reset starts the totals of a
// band afresh after it has been printed.
#include "report/expr/aggregate_list.h"

#include "report/expr/aggregate_scanner.h"
#include "report/expr/bracketed_expression.h"
#include "report/expr/data_reference.h"
#include "report/model/band.h"
#include "report/model/custom_memo_view.h"
#include "report/model/data_band.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/script/variant_ops.h"

namespace vornak {

namespace {

struct FunctionName {
    const char *name;
    TfrxAggregateFunction function;
};
const FunctionName functionNames[] = {
    {"SUM", agSum}, {"AVG", agAvg}, {"MIN", agMin}, {"MAX", agMax}, {"COUNT", agCount},
};

TfrxAggregateFunction functionNamed(const QString &name)
{
    for (const FunctionName &f : functionNames)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return f.function;
    return agCount;
}

// The bands of a chain (a footer and its child bands, a data band's group headers) from
// `first`, each once: a chain that leads back into itself ends there.
template <class Next>
QList<TfrxBand *> chainOf(TfrxBand *first, Next next)
{
    QList<TfrxBand *> chain;
    for (TfrxBand *band = first; band && !chain.contains(band); band = next(band))
        chain << band;
    return chain;
}

int flagsOf(const QString &text)
{
    bool ok = false;
    const int flags = text.trimmed().toInt(&ok);
    return ok ? flags : 0;
}

}  // namespace

void TfrxAggregateTotal::add(TfrxAggregateFunction function, const Variant &v)
{
    if (function != agAvg || !v.isNull())
        ++count;
    combine(function, v);
}

void TfrxAggregateTotal::fold(TfrxAggregateFunction function, const TfrxAggregateTotal &other)
{
    count += other.count;
    combine(function, other.value);
}

void TfrxAggregateTotal::combine(TfrxAggregateFunction function, const Variant &v)
{
    if (value.isNull()) {
        value = v;
        return;
    }
    if (v.isNull())
        return;
    switch (function) {
    case agSum:
    case agAvg:
        value = applyOperator(VariantOperator::Add, value, v);
        break;
    case agMin:
        if (compareValues(v, value) < 0)
            value = v;
        break;
    case agMax:
        if (compareValues(v, value) > 0)
            value = v;
        break;
    case agCount:
        break;
    }
}

void TfrxAggregateItem::AddValue(const Variant &value, int column)
{
    const Variant v = value.type() == Variant::Type::Boolean && value.toBool() ? Variant(1) : value;
    if (column > 0) {
        Columns[column].add(Function, v);
    } else if (Keeping) {
        Temporary.add(Function, v);
    } else {
        Last = Total;
        Total.add(Function, v);
    }
}

Variant TfrxAggregateItem::Value() const
{
    const auto found = CurrentColumn > 0 ? Columns.find(CurrentColumn) : Columns.end();
    const TfrxAggregateTotal &total = found != Columns.end() ? found->second : Total;
    Variant result;
    switch (Function) {
    case agCount:
        result = Variant(total.count);
        break;
    case agAvg:
        if (!total.value.isNull() && total.count != 0)
            result = applyOperator(VariantOperator::Divide, total.value, Variant(total.count));
        break;
    default:
        result = total.value;
        break;
    }
    return result.isNull() ? Variant(0) : result;
}

void TfrxAggregateItem::Reset(bool force)
{
    if (KeepOnReset && Total.count != 0 && !force)
        return;
    Total = {};
    Last = {};
    Temporary = {};
    Columns.clear();
}

void TfrxAggregateItem::StartKeep()
{
    Keeping = true;
    Temporary = {};
}

void TfrxAggregateItem::EndKeep()
{
    if (!Keeping)
        return;
    Keeping = false;
    Total.fold(Function, Temporary);
    Temporary = {};
}

void TfrxAggregateItem::DeleteValue()
{
    Total = Last;
}

void TfrxAggregateList::AddCall(const AggregateCall &call, TfrxCustomMemoView &memo, TfrxBand &parentBand,
                                TfrxDataBand *dataBand)
{
    auto item = std::make_unique<TfrxAggregateItem>();
    item->Function = functionNamed(call.function);
    const bool counting = item->Function == agCount;
    const int bandArgument = counting ? 0 : 1;
    if (!counting)
        item->Expression = call.arguments.value(0).trimmed();
    const QString bandName = call.arguments.value(bandArgument).trimmed();
    if (auto *named = bandName.isEmpty() ? nullptr : frx_cast<TfrxDataBand>(report_.FindObject(bandName)))
        dataBand = named;
    const int flags = flagsOf(call.arguments.value(bandArgument + 1));
    item->DataBand = dataBand;
    item->CountInvisible = flags & 1;
    item->KeepOnReset = flags & 2;
    item->ParentBand = &parentBand;
    item->IsPageFooter = frx_cast<TfrxPageFooter>(&parentBand) != nullptr;
    item->MemoName = memo.Name();
    item->CallText = call.callText;
    item->Reset(true);
    items_.push_back(std::move(item));
}

void TfrxAggregateList::scanBand(TfrxBand *band, TfrxDataBand *dataBand)
{
    if (!band)
        return;
    for (TfrxComponent *object : band->Objects()) {
        auto *memo = frx_cast<TfrxCustomMemoView>(object);
        if (!memo || !memo->AllowExpressions())
            continue;
        const ExpressionDelimiters delimiters = ExpressionDelimiters::parse(memo->ExpressionDelimiters());
        for (QString expression : bracketedExpressions(memo->Text(), delimiters)) {
            const int variable = report_.Variables().IndexOf(expression);
            if (variable >= 0) {
                expression = report_.Variables().Items(variable).Value.toString();
            } else if (isDataReference(report_, expression)) {
                continue;
            }
            for (const AggregateCall &call : findAggregateCalls(expression))
                AddCall(call, *memo, *band, dataBand);
        }
    }
}

void TfrxAggregateList::scanDataBand(TfrxDataBand &dataBand)
{
    for (TfrxBand *footer : chainOf(dataBand.FFooter, [](TfrxBand *band) -> TfrxBand * { return band->Child(); }))
        scanBand(footer, &dataBand);
    for (TfrxBand *group : chainOf(dataBand.FGroup, [](TfrxBand *band) { return band->FGroup; }))
        scanBand(group->FFooter, &dataBand);
    if (dataBand.Vertical())
        scanBand(&dataBand, &dataBand);
    for (TfrxBand *sub : dataBand.FSubBands)
        if (auto *nested = frx_cast<TfrxDataBand>(sub))
            scanDataBand(*nested);
}

void TfrxAggregateList::AddItems(TfrxReportPage &page)
{
    for (TfrxBand *band : page.FSubBands)
        if (auto *dataBand = frx_cast<TfrxDataBand>(band))
            scanDataBand(*dataBand);
    if (page.FSubBands.isEmpty())
        return;
    auto *first = frx_cast<TfrxDataBand>(page.FSubBands.first());
    scanBand(page.FindBand<TfrxPageFooter>(), first);
    scanBand(page.FindBand<TfrxColumnFooter>(), first);
    scanBand(page.FindBand<TfrxReportSummary>(), first);
}

void TfrxAggregateList::AddValue(TfrxBand &band, int column)
{
    for (const auto &item : items_) {
        if (item->DataBand != &band || (!band.Visible() && !item->CountInvisible))
            continue;
        report_.CurObject = item->MemoName;
        item->AddValue(item->Function == agCount ? Variant() : report_.Calc(item->Expression), column);
    }
}

void TfrxAggregateList::Reset(TfrxBand &band)
{
    for (const auto &item : items_)
        if (item->ParentBand == &band)
            item->Reset();
}

void TfrxAggregateList::ClearValues()
{
    for (const auto &item : items_)
        item->Reset(true);
}

void TfrxAggregateList::StartKeep()
{
    for (const auto &item : items_)
        item->StartKeep();
}

void TfrxAggregateList::EndKeep()
{
    for (const auto &item : items_)
        item->EndKeep();
}

void TfrxAggregateList::DeleteValue(TfrxBand &band)
{
    for (const auto &item : items_)
        if (item->DataBand == &band)
            item->DeleteValue();
}

Variant TfrxAggregateList::GetValue(TfrxBand *parentBand, const QString &function, const QString &expression,
                                    TfrxBand *band, int flags) const
{
    const TfrxAggregateFunction wanted = functionNamed(function);
    const QString trimmed = expression.trimmed();
    for (const auto &item : items_) {
        if (item->ParentBand == parentBand && item->Function == wanted &&
            item->Expression.compare(trimmed, Qt::CaseInsensitive) == 0 && (!band || item->DataBand == band) &&
            item->CountInvisible == bool(flags & 1) && item->KeepOnReset == bool(flags & 2))
            return item->Value();
    }
    return Variant();
}

}  // namespace vornak
