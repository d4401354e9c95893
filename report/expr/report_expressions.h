#pragma once

// The expressions of one report: Calc with its value lookup and expression cache, the script
// functions Get, IIF, SUM, AVG, MIN, MAX and COUNT, and the printed text of views and text
// objects. The report owns it as its expression cache (TfrxReport::SetExpressionCache).

#include "platform/variant.h"
#include "report/expr/expression_cache.h"
#include "report/expr/text_hash.h"
#include "report/model/expression_evaluator.h"

#include <QString>

#include <unordered_map>

namespace vornak {

class ScriptItem;
class TfrxCustomMemoView;
class TfrxDataSet;
class TfrxReport;

class ReportExpressions : public TfrxExpressionEvaluator {
public:
    // Gives the report's script functions Get, IIF, SUM, AVG, MIN, MAX and COUNT to this object.
    explicit ReportExpressions(TfrxReport &report);
    ~ReportExpressions() override;
    // Makes a new one the report's expression cache and returns it.
    static ReportExpressions &install(TfrxReport &report);

    void Clear(const QString &scriptLanguage) override;
    // The value of an expression: the value lookup, else the compiled expression. A failure adds
    // "<current object>: <error text>" to the error list and raises it (EngineError); a division
    // by zero gives Null instead under the engine option IgnoreDevByZero.
    Variant Calc(const QString &expression) override;
    // TagStr and URL of a view with their bracketed expressions replaced by their values; for a
    // text object also its printed text and Value, the script's "Value", the highlight and the
    // suppression of a repeated text.
    void GetData(TfrxView &view) override;

    // The value lookup of a whole text as a name (a data source field, a system variable, a
    // report variable, a script variable or object); false when it is not one.
    bool LookupValue(const QString &name, Variant &value);
    TfrxExpressionCache &Cache() { return cache_; }

    // The script functions (macro functions receive their arguments as texts).
    Variant Get(const QString &name);
    Variant Iif(const QString &condition, const QString &whenTrue, const QString &whenFalse);
    Variant Aggregate(const QString &function, const QString &expression, const QString &band, const QString &flags);

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
    Variant systemValue(const QString &name) const;
    void memoGetData(TfrxCustomMemoView &memo);
    QString replacement(TfrxCustomMemoView &memo, const QString &inner, QStringView before);

    TfrxReport &report_;
    TfrxExpressionCache cache_;
    std::unordered_map<QString, Resolution, TextHash> resolutions_;
    int calcDepth_ = 0;  // nesting of Calc (report variables naming each other)
};

}  // namespace vornak
