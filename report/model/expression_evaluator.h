#pragma once

#include "platform/variant.h"

#include <QString>

namespace vornak {

class TfrxView;

// What the report's objects need of text expressions, which live in a stage below the model
// (report/expr implements it; the report holds one as its expression cache). Through this the
// model computes values and printed texts without knowing how expressions are compiled.
class TfrxExpressionEvaluator {
public:
    virtual ~TfrxExpressionEvaluator() = default;

    // Empties the cache of compiled expressions (the first step of every preparation, before
    // the report's script removes the items compiled expressions refer to); the next
    // expressions compile in `scriptLanguage`.
    virtual void Clear(const QString &scriptLanguage) = 0;
    // The value of an expression (the report's Calc): a failure adds its text to the report's
    // error list and raises EngineError.
    virtual Variant Calc(const QString &expression) = 0;
    // GetData of a view: the bracketed expressions in TagStr and URL; for a text object also
    // its printed text and Value.
    virtual void GetData(TfrxView &view) = 0;
};

}  // namespace vornak
