#pragma once

#include "platform/variant.h"

namespace vornak {

// The operators of the report script, applied to variant values: numbers combine
// arithmetically (integers stay integers while they fit), "+" joins texts, comparisons give
// Booleans, and Null propagates through arithmetic. Failures raise EngineError.
enum class VariantOperator {
    Add,
    Subtract,
    Multiply,
    Divide,
    IntDivide,
    Modulo,
    And,
    Or,
    Xor,
    Shl,
    Shr,
    Equal,
    NotEqual,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
};

// "=", "<>", "<", "<=", ">", ">=": they give Booleans.
bool isComparison(VariantOperator op);

Variant applyOperator(VariantOperator op, const Variant &left, const Variant &right);
Variant negateValue(const Variant &value);
Variant notValue(const Variant &value);

// Three-way comparison for "=", "<" and the like: Null equals Null and is less than anything
// else; a text compared with a number is read as a number.
int compareValues(const Variant &left, const Variant &right);

// The message of a division by zero ("/", div and mod), so callers can recognise it.
QString divisionByZeroMessage();

}  // namespace vornak
