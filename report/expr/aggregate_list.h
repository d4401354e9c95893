#pragma once

// The aggregates of a run: one item per SUM, AVG, MIN, MAX or COUNT call found in the template,
// accumulated by the band engine after every printed data row and reset after the band that
// prints them. The engine owns the list; expressions ask it for values through
// GetAggregateValue.

#include "platform/variant.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace vornak {

class TfrxBand;
class TfrxDataBand;
class TfrxReport;
class TfrxReportPage;
class TfrxCustomMemoView;
struct AggregateCall;

enum TfrxAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

// A count and an accumulated value (Null while nothing has been accumulated).
struct TfrxAggregateTotal {
    int count = 0;
    Variant value;

    // Adds one value: the count always grows, except for AVG over a Null value; the first
    // value becomes the total, later ones are added (SUM, AVG) or compared (MIN, MAX).
    void add(TfrxAggregateFunction function, const Variant &v);
    // Adds another total (the rows held back while keeping).
    void fold(TfrxAggregateFunction function, const TfrxAggregateTotal &other);

private:
    void combine(TfrxAggregateFunction function, const Variant &v);
};

class TfrxAggregateItem {
public:
    TfrxAggregateFunction Function = agSum;
    TfrxDataBand *DataBand = nullptr;  // whose printed rows are accumulated
    bool CountInvisible = false;       // flags bit 0: rows of an invisible data band count too
    bool KeepOnReset = false;          // flags bit 1: a reset keeps a value that has started
    QString Expression;                // the first argument, trimmed (empty for COUNT)
    TfrxBand *ParentBand = nullptr;    // the band holding the text object with the call
    bool IsPageFooter = false;
    QString MemoName;  // the text object with the call
    QString CallText;  // the whole call as written, trimmed

    TfrxAggregateTotal Total;  // items count and items value
    TfrxAggregateTotal Last;   // before the last accumulation (to undo it)
    bool Keeping = false;
    TfrxAggregateTotal Temporary;               // accumulated while keeping
    std::map<int, TfrxAggregateTotal> Columns;  // per vertical column (indexes 0 to 1000)
    int CurrentColumn = 0;                      // vertical column of the current query; 0: none

    // Accumulates one value (already evaluated; Null for COUNT) at `column` (0: no column).
    void AddValue(const Variant &value, int column = 0);
    // SUM, MIN, MAX: the total; AVG: the total divided by the count; COUNT: the count. Null
    // (nothing accumulated) gives 0.
    Variant Value() const;
    // Count 0 and Null, unless keep-on-reset and the count is not 0 (`force` resets those too).
    void Reset(bool force = false);
    void StartKeep();
    void EndKeep();
    void DeleteValue();
};

class TfrxAggregateList {
public:
    // The items' expressions are evaluated with the report's Calc.
    explicit TfrxAggregateList(TfrxReport &report)
        : report_(report)
    {
    }

    int Count() const { return int(items_.size()); }
    TfrxAggregateItem &Items(int index) { return *items_.at(size_t(index)); }

    void Clear() { items_.clear(); }
    // Finds the aggregate calls of the page's bands that print totals: the footers (and their
    // child bands) and group footers of every data band, vertical data bands themselves, and the
    // page footer, column footer and report summary when the page has a data band.
    void AddItems(TfrxReportPage &page);
    // Adds one item for `call` written in `memo` (in `parentBand`), `dataBand` when the call
    // names no known data band.
    void AddCall(const AggregateCall &call, TfrxCustomMemoView &memo, TfrxBand &parentBand, TfrxDataBand *dataBand);
    // Accumulates the current record into every item whose data band is `band`.
    void AddValue(TfrxBand &band, int column = 0);
    // Resets every item whose parent band is `band` (keep-on-reset items that started stay).
    void Reset(TfrxBand &band);
    // Resets every item, keep-on-reset ones too.
    void ClearValues();
    void StartKeep();
    void EndKeep();
    // Undoes the last accumulation of the items whose data band is `band`.
    void DeleteValue(TfrxBand &band);
    // The value of the first item printed in `parentBand` for the call `function`(expression,
    // band, flags): function "SUM", "AVG", "MIN", "MAX" (anything else COUNT), expression
    // compared trimmed and ignoring case, any data band when `band` is nullptr. Null when none.
    Variant GetValue(TfrxBand *parentBand, const QString &function, const QString &expression, TfrxBand *band,
                     int flags) const;

private:
    void scanBand(TfrxBand *band, TfrxDataBand *dataBand);
    void scanDataBand(TfrxDataBand &dataBand);

    TfrxReport &report_;
    std::vector<std::unique_ptr<TfrxAggregateItem>> items_;
};

}  // namespace vornak
