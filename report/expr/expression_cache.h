#pragma once

// Compiled expressions of a preparation. Each distinct expression text (compared ignoring case)
// is compiled once, as the function fr3fN of a script whose parent is the report's script, and
// kept for every later row, band and page. Emptied at the start of every preparation.

#include "platform/variant.h"
#include "report/expr/text_hash.h"
#include "report/script/script.h"

#include <QHash>
#include <QString>

#include <unordered_map>

namespace vornak {

class ScriptProcedure;

class TfrxExpressionCache {
public:
    explicit TfrxExpressionCache(TfsScript &reportScript);
    ~TfrxExpressionCache();
    TfrxExpressionCache(const TfrxExpressionCache &) = delete;
    TfrxExpressionCache &operator=(const TfrxExpressionCache &) = delete;

    // Forgets every compiled expression; later ones compile in `language`.
    void Clear(const QString &language = QStringLiteral("PascalScript"));
    int Count() const { return int(functions_.size()); }

    // The value of `expression`: compiled on first use, then run. On failure `error` gets the
    // text ("Ошибка в выражении '<expression>': <message>" for a compile error, the message for a
    // run-time error) and the value is Null.
    Variant Calc(const QString &expression, QString &error);
    // The function `expression`, exactly as written, was compiled to in this preparation;
    // nullptr when it has not been compiled.
    ScriptProcedure *Find(const QString &expression) const
    {
        const auto known = exact_.find(expression);
        return known != exact_.end() ? known->second : nullptr;
    }
    // Runs a function of the cache (as Calc does).
    Variant Run(ScriptProcedure &function, QString &error);

private:
    ScriptProcedure *compile(const QString &expression, QString &error);

    TfsScript &reportScript_;
    TfsScript script_;
    std::unordered_map<QString, ScriptProcedure *, TextHash> exact_;  // by the text as written
    QHash<QString, ScriptProcedure *> functions_;                     // by the case-folded text
};

}  // namespace vornak
