#pragma once

#include "report/script/script_items.h"
#include "report/script/variant_ops.h"

namespace vornak::script {

// The type rules the builder applies while compiling: what type an operation gives and which
// values a variable of a type accepts. A type not known until the script runs is a Variant;
// every rule lets a Variant through and leaves the check to the run.

extern const ScriptType integerType;
extern const ScriptType floatType;
extern const ScriptType booleanType;
extern const ScriptType stringType;
extern const ScriptType charType;
extern const ScriptType arrayType;

bool isNumber(TfsVarType kind);
// A string or a character.
bool isText(TfsVarType kind);

// The type a binary operation gives, as far as it is known while compiling (Variant when not).
ScriptType resultType(VariantOperator op, const ScriptType &left, const ScriptType &right);
// The type of a unary minus or "not" of an operand of type `operand`.
ScriptType negationType(const ScriptType &operand);
ScriptType notType(const ScriptType &operand);

// Whether a value of type `source` may be assigned to a variable of type `target`: objects and
// arrays only to their own kind, text only to text or a Variant; numbers and booleans mix.
bool isAssignable(const ScriptType &target, const ScriptType &source);

}  // namespace vornak::script
