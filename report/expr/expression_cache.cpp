// The expression cache. A new expression becomes the program "function fr3fN: Variant; begin
// Result := <expression> end; begin end." compiled into the cache's own script, whose parent is
// the report's script (so the expression sees the report's objects, variables and functions);
// the function is kept under the expression's text. Lookups try the text as written first and
// its case-folded form second, so a repeated expression costs one hash lookup.
#include "report/expr/expression_cache.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script_items.h"

namespace vornak {

TfrxExpressionCache::TfrxExpressionCache(TfsScript &reportScript)
    : reportScript_(reportScript),
      script_(&reportScript)
{
}

TfrxExpressionCache::~TfrxExpressionCache() = default;

void TfrxExpressionCache::Clear(const QString &language)
{
    exact_.clear();
    functions_.clear();
    script_.Clear();
    script_.SetSyntaxType(language);
}

ScriptProcedure *TfrxExpressionCache::compile(const QString &expression, QString &error)
{
    const QString folded = expression.toCaseFolded();
    if (ScriptProcedure *known = functions_.value(folded)) {
        exact_.emplace(expression, known);
        return known;
    }
    const QString name = QStringLiteral("fr3f%1").arg(functions_.size());
    script_.SetLines(
        {QStringLiteral("function %1: Variant; begin Result := %2 end; begin end.").arg(name, expression)});
    if (!script_.Compile()) {
        error = reportText("expressionError").arg(expression, script_.ErrorMsg());
        return nullptr;
    }
    ScriptProcedure *function = script_.FindProcedure(name);
    functions_.insert(folded, function);
    exact_.emplace(expression, function);
    return function;
}

Variant TfrxExpressionCache::Calc(const QString &expression, QString &error)
{
    ScriptProcedure *function = Find(expression);
    if (!function)
        function = compile(expression, error);
    return function ? Run(*function, error) : Variant();
}

Variant TfrxExpressionCache::Run(ScriptProcedure &function, QString &error)
{
    const bool mainProg = reportScript_.MainProg();
    reportScript_.SetMainProg(false);
    struct RestoreMainProg {
        TfsScript &script;
        bool value;
        ~RestoreMainProg() { script.SetMainProg(value); }
    } restore{reportScript_, mainProg};
    try {
        return function.Call();
    } catch (const Error &failure) {
        error = failure.message();
        return Variant();
    }
}

}  // namespace vornak
