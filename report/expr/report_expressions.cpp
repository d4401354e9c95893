// Expressions of a report. Calc first tries the value lookup (a data source field, a system
// variable, a report variable, a script variable or object) and compiles only what is not a
// plain name; how a text resolves is found once per preparation. A text object's printed text
// is either its data field's text or its template text with every bracketed expression replaced
// by its formatted value.
#include "report/expr/report_expressions.h"

#include "platform/errors.h"
#include "report/expr/bracketed_expression.h"
#include "report/expr/data_reference.h"
#include "report/expr/value_format.h"
#include "report/model/band.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/data_set.h"
#include "report/model/report.h"
#include "report/script/report_text.h"
#include "report/script/script_object.h"
#include "report/script/variant_ops.h"

#include <QScopedValueRollback>

namespace vornak {

namespace {

// Report variables may name each other; evaluation that nests deeper than this fails cleanly.
constexpr int maxCalcDepth = 256;

const QStringList aggregateFunctions = {QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                        QStringLiteral("AVG"), QStringLiteral("COUNT")};

// The values of the system variables, from the band engine and the prepared pages store (Null
// while the report has none). "CopyName#" reads the process's global variable "CopyName0"; this
// system has no global variables.
struct SystemVariable {
    const char *name;
    Variant (*value)(TfrxCustomEngine *engine, TfrxCustomPreviewPages *pages);
};
const SystemVariable systemVariables[] = {
    {"Date",
     [](TfrxCustomEngine *e, TfrxCustomPreviewPages *) { return e ? Variant::fromDateTime(e->StartDate) : Variant(); }},
    {"Time",
     [](TfrxCustomEngine *e, TfrxCustomPreviewPages *) { return e ? Variant::fromDateTime(e->StartTime) : Variant(); }},
    {"Page",
     [](TfrxCustomEngine *, TfrxCustomPreviewPages *p) { return p ? Variant(p->GetLogicalPageNo()) : Variant(); }},
    {"Page#", [](TfrxCustomEngine *, TfrxCustomPreviewPages *p) { return p ? Variant(p->CurPage + 1) : Variant(); }},
    {"TotalPages",
     [](TfrxCustomEngine *, TfrxCustomPreviewPages *p) { return p ? Variant(p->GetLogicalTotalPages()) : Variant(); }},
    {"TotalPages#",
     [](TfrxCustomEngine *e, TfrxCustomPreviewPages *) { return e ? Variant(e->TotalPages) : Variant(); }},
    {"Line", [](TfrxCustomEngine *e, TfrxCustomPreviewPages *) { return e ? Variant(e->CurLine) : Variant(); }},
    {"Line#", [](TfrxCustomEngine *e, TfrxCustomPreviewPages *) { return e ? Variant(e->CurLineThrough) : Variant(); }},
    {"CopyName#", [](TfrxCustomEngine *, TfrxCustomPreviewPages *) { return Variant(); }},
};

// The value the engine option ConvertNulls puts in place of Null, by the field's type.
Variant emptyValueOf(TfrxFieldType type)
{
    switch (type) {
    case fftString:
        return Variant(QString());
    case fftBoolean:
        return Variant(false);
    case fftNumeric:
        break;
    }
    return Variant(0);
}

bool isTrue(const Variant &value)
{
    return compareValues(value, Variant(true)) == 0;
}

bool truthOf(const Variant &value)
{
    try {
        return value.toBool();
    } catch (const Error &) {
        return false;
    }
}

// A non-text value equal to 0 (HideZeros).
bool isZero(const Variant &value)
{
    return !value.isNull() && !value.isString() && compareValues(value, Variant(0)) == 0;
}

// The text of a text value that holds no line break; empty otherwise.
QString lineBreakFree(const Variant &value)
{
    if (!value.isString())
        return QString();
    const QString text = value.toString();
    return text.contains(u'\n') || text.contains(u'\r') ? QString() : text;
}

}  // namespace

ReportExpressions::ReportExpressions(TfrxReport &report)
    : report_(report),
      cache_(report.Script())
{
    ReportScriptNames &names = report_.ScriptNames;
    names.get = [this](const QString &, const QList<Variant> &a) { return Get(a.value(0).toString()); };
    names.iif = [this](const QString &, const QList<Variant> &a) {
        return Iif(a.value(0).toString(), a.value(1).toString(), a.value(2).toString());
    };
    const auto aggregate = [this](const QString &name, const QList<Variant> &a) {
        return Aggregate(name, a.value(0).toString(), a.value(1).toString(), a.value(2).toString());
    };
    names.sum = names.avg = names.min = names.max = aggregate;
    names.count = [this](const QString &name, const QList<Variant> &a) {
        return Aggregate(name, QString(), a.value(0).toString(), a.value(1).toString());
    };
}

ReportExpressions::~ReportExpressions()
{
    ReportScriptNames &names = report_.ScriptNames;
    names.get = names.iif = names.sum = names.avg = names.min = names.max = names.count = nullptr;
}

ReportExpressions &ReportExpressions::install(TfrxReport &report)
{
    auto expressions = std::make_unique<ReportExpressions>(report);
    ReportExpressions &installed = *expressions;
    report.SetExpressionCache(std::move(expressions));
    return installed;
}

void ReportExpressions::Clear(const QString &scriptLanguage)
{
    cache_.Clear(scriptLanguage);
    resolutions_.clear();
}

ReportExpressions::Resolution ReportExpressions::resolve(const QString &name) const
{
    if (name.isEmpty())  // not a name, though objects without a name are registered under it
        return {};
    if (name.contains(QStringLiteral(".\""))) {
        const DatasetAndField reference = GetDatasetAndField(report_, name);
        if (reference.dataSet && !reference.field.isEmpty())
            return {Resolution::DataField, reference.dataSet, reference.field};
    }
    for (const QString &system : report_.SystemVariables())
        if (system.compare(name, Qt::CaseInsensitive) == 0)
            return {Resolution::SystemVariable, nullptr, system};
    ScriptItem *item = report_.Script().FindLocal(name);
    if (item && item->kind() != ScriptItem::Kind::Procedure && item->kind() != ScriptItem::Kind::Type)
        return {Resolution::ScriptValue, nullptr, QString(), item};
    return {};
}

Variant ReportExpressions::systemValue(const QString &name) const
{
    for (const SystemVariable &variable : systemVariables)
        if (name == QLatin1String(variable.name))
            return variable.value(report_.Engine(), report_.PreviewPages());
    return Variant();
}

bool ReportExpressions::LookupValue(const QString &name, Variant &value)
{
    auto known = resolutions_.find(name);
    if (known == resolutions_.end())
        known = resolutions_.emplace(name, resolve(name)).first;
    const Resolution &resolution = known->second;
    switch (resolution.kind) {
    case Resolution::DataField:
        value = resolution.dataSet->Value(resolution.name);
        if (value.isNull() && report_.EngineOptions.ConvertNulls)
            value = emptyValueOf(resolution.dataSet->FieldType(resolution.name));
        return true;
    case Resolution::SystemVariable:
        value = systemValue(resolution.name);
        return true;
    default:
        break;
    }
    if (const int variable = report_.Variables().IndexOf(name); variable >= 0) {
        value = report_.Variables().Items(variable).Value;
        if (const QString text = lineBreakFree(value); !text.isEmpty())
            value = Calc(text);
        return true;
    }
    if (resolution.kind != Resolution::ScriptValue)
        return false;
    switch (resolution.item->kind()) {
    case ScriptItem::Kind::Variable: {
        const auto *variable = static_cast<const ScriptVariable *>(resolution.item);
        value = variable->object() ? scriptObjectValue(variable->object()) : variable->value();
        break;
    }
    case ScriptItem::Kind::Constant:
        value = static_cast<const ScriptConstant *>(resolution.item)->value();
        break;
    case ScriptItem::Kind::Object:
        value = scriptObjectValue(static_cast<const ScriptObjectItem *>(resolution.item)->object());
        break;
    default:
        value = Variant();
        break;
    }
    return true;
}

Variant ReportExpressions::Calc(const QString &expression)
{
    // A compiled text was not a name when it was first looked up; of the lookup's rules only
    // the report variables can have changed since.
    Variant value;
    QString error;
    if (calcDepth_ >= maxCalcDepth) {
        error = reportText("recursionTooDeep");
    } else {
        const QScopedValueRollback depth(calcDepth_, calcDepth_ + 1);
        ScriptProcedure *compiled = cache_.Find(expression);
        if (compiled && report_.Variables().IndexOf(expression) < 0)
            value = cache_.Run(*compiled, error);
        else if (LookupValue(expression, value))
            return value;
        else
            value = cache_.Calc(expression, error);
        if (error.isEmpty())
            return value;
    }
    if (error == divisionByZeroMessage() && report_.EngineOptions.IgnoreDevByZero)
        return Variant();
    if (!report_.CurObject.isEmpty())
        error = report_.CurObject + QStringLiteral(": ") + error;
    report_.AddError(error);
    throw EngineError(error);
}

Variant ReportExpressions::Get(const QString &name)
{
    Variant value;
    if (LookupValue(name, value))
        return value;
    const qsizetype parenthesis = name.indexOf(u'(');
    if (parenthesis >= 0 && aggregateFunctions.contains(name.left(parenthesis).trimmed(), Qt::CaseInsensitive))
        return Calc(name);
    report_.AddError(reportText("unknownVariable").arg(name));
    return Variant();
}

Variant ReportExpressions::Iif(const QString &condition, const QString &whenTrue, const QString &whenFalse)
{
    try {
        return Calc(isTrue(Calc(condition)) ? whenTrue : whenFalse);
    } catch (const Error &) {
        return Variant();
    }
}

Variant ReportExpressions::Aggregate(const QString &function, const QString &expression, const QString &band,
                                     const QString &flags)
{
    // The band argument names the data band (0: any); a value that is no band matches no item.
    const QString bandText = band.trimmed();
    const QString flagsText = flags.trimmed();
    const Variant bandValue = bandText.isEmpty() ? Variant(0) : Calc(bandText);
    TfrxBand *dataBand = dynamic_cast<TfrxBand *>(scriptObjectOf(bandValue));
    if (!dataBand && !isZero(bandValue))
        return Variant();
    const int flagBits = flagsText.isEmpty() ? 0 : Calc(flagsText).toInt();
    TfrxCustomEngine *engine = report_.Engine();
    return engine ? engine->GetAggregateValue(function, expression, dataBand, flagBits) : Variant();
}

QString ReportExpressions::replacement(TfrxCustomMemoView &memo, const QString &inner, QStringView before)
{
    // The drawing fills in the placeholders; the text object remembers which occurrence of each
    // is its own, so that a value from the data reading the same is printed as it is.
    struct Placeholder {
        const char16_t *expression;
        QString (*macro)();
        int TfrxDrawMacros::*occurrence;
    };
    static constexpr Placeholder placeholders[] = {
        {u"TOTALPAGES#", frxTotalPagesMacro, &TfrxDrawMacros::TotalPages},
        {u"COPYNAME#", frxCopyNameMacro, &TfrxDrawMacros::CopyName},
    };
    const ExpressionWithFormat split = splitFormatSuffix(inner);
    for (const Placeholder &placeholder : placeholders)
        if (split.expression.compare(QStringView(placeholder.expression), Qt::CaseInsensitive) == 0) {
            const QString macro = placeholder.macro();
            TfrxDrawMacros macros = memo.DrawMacros();
            if (macros.*placeholder.occurrence == TfrxDrawMacros::None) {
                macros.*placeholder.occurrence = frxCountMacro(before, macro);
                memo.SetDrawMacros(macros);
            }
            return macro;
        }
    memo.Value = Calc(split.expression);
    if (memo.HideZeros() && isZero(memo.Value))
        return QString();
    return formatValue(memo.Value, split.format ? *split.format : memo.DisplayFormat());
}

void ReportExpressions::memoGetData(TfrxCustomMemoView &memo)
{
    memo.SetDrawMacros({});
    if (memo.IsDataField()) {
        TfrxDataSet &dataSet = *memo.DataSet();
        const QString &field = memo.DataField();
        if (dataSet.IsBlobField(field)) {
            QStringList lines;
            dataSet.AssignBlobTo(field, lines);
            memo.SetMemo(lines);
        } else {
            memo.Value = dataSet.Value(field);
            QString text = memo.DisplayFormat().Kind != fkText ? formatValue(memo.Value, memo.DisplayFormat())
                                                               : dataSet.DisplayText(field);
            if (memo.HideZeros() && isZero(memo.Value))
                text.clear();
            memo.SetText(text);
        }
    } else if (memo.AllowExpressions()) {
        const ExpressionDelimiters delimiters = ExpressionDelimiters::parse(memo.ExpressionDelimiters());
        const QString text = memo.Text();
        if (text.contains(delimiters.open))
            memo.SetText(expandExpressionsAfter(text, delimiters, [&](const QString &inner, QStringView before) {
                return replacement(memo, inner, before);
            }));
    } else {
        memo.SetDrawMacros(frxLiteralDrawMacros(memo.Text()));
    }
    report_.SetScriptValue(memo.Value);
    TfrxHighlight &highlight = memo.Highlight();
    if (!highlight.Condition.isEmpty())
        highlight.Active = truthOf(Calc(highlight.Condition));
    if (memo.SuppressRepeated()) {
        const QString text = memo.Text();
        if (text == memo.LastValue)
            memo.SetMemo({});
        else
            memo.LastValue = text;
    }
}

void ReportExpressions::GetData(TfrxView &view)
{
    const auto expand = [this](const QString &text) {
        return expandExpressions(text, ExpressionDelimiters(),
                                 [this](const QString &inner) { return formatValue(Calc(inner), TfrxFormat()); });
    };
    if (!view.TagStr().isEmpty())
        view.SetTagStr(expand(view.TagStr()));
    if (!view.URL().isEmpty())
        view.SetURL(expand(view.URL()));
    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(&view))
        memoGetData(*memo);
}

}  // namespace vornak
