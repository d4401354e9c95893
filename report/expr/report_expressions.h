#pragma once

// The expressions of one report: Calc with its value lookup and expression cache, the script
// functions Get, IIF, SUM, AVG, MIN, MAX and COUNT, and the printed text of text objects.

#include "platform/variant.h"
#include "report/expr/expression_cache.h"
#include "report/expr/text_hash.h"

#include <QString>

#include <unordered_map>

namespace vornak {

class TfrxReport;
class TfrxCustomMemoView;
class TfrxDataSet;
class TfrxEngineValues;
class ScriptItem;

// A data source and a field name from "Source1."s2"" (split at the first full stop followed by a
// double quote; the field name runs up to, not including, the last character). No data source
// when the report has none of that user name or the text holds no such full stop.
struct DatasetAndField {
    TfrxDataSet *dataSet = nullptr;
    QString field;
};
DatasetAndField GetDatasetAndField(const TfrxReport &report, const QString &name);
// True when `text` is a field reference of an existing data source.
bool isDataReference(const TfrxReport &report, const QString &text);

class ReportExpressions {
public:
    explicit ReportExpressions(TfrxReport &report);

    // The band engine running the report (nullptr: none).
    void SetEngine(TfrxEngineValues *engine) { engine_ = engine; }
    // The first step of a preparation: empties the expression cache, gives the script functions
    // of the report's script this object's callbacks, and prepares the report's script
    // (TfrxReport::PrepareScript; false on a compile error).
    bool PrepareScript();

    // The value of an expression: the value lookup, else the compiled expression. A failure adds
    // "<current object>: <error text>" to the error list and raises it (EngineError); a division
    // by zero is ignored (Null) under the engine option IgnoreDevByZero.
    Variant Calc(const QString &expression);
    // The value lookup of a whole text as a name; false when it is not one.
    bool LookupValue(const QString &name, Variant &value);
    TfrxExpressionCache &Cache() { return cache_; }

    // The script functions.
    Variant Get(const QString &name);
    Variant Iif(const QString &condition, const QString &whenTrue, const QString &whenFalse);
    Variant Aggregate(const QString &function, const QString &expression, const QString &band, const QString &flags);

    // The printed text of a text object (between BeforePrint and AfterPrint).
    void GetData(TfrxCustomMemoView &memo);
    // A text with bracketed expressions replaced by their values as text (TagStr, URL).
    QString ExpandText(const QString &text);

private:
    // How a text resolved the first time it was looked up in this preparation. Data sources,
    // system variables and script items do not change while the report runs; report variables
    // may (the script's Set), so they are looked up every time.
    struct Resolution {
        enum Kind { DataField, SystemVariable, ScriptValue, None } kind = None;
        TfrxDataSet *dataSet = nullptr;
        QString name;  // the field, or the system variable as the report lists it
        ScriptItem *item = nullptr;
    };
    Resolution resolve(const QString &name) const;
    QString replacement(TfrxCustomMemoView &memo, const QString &inner);

    TfrxReport &report_;
    TfrxExpressionCache cache_;
    TfrxEngineValues *engine_ = nullptr;
    std::unordered_map<QString, Resolution, TextHash> resolutions_;
};

}  // namespace vornak
