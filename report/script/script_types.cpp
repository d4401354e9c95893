// The type rules of the script language while compiling (see script_types.h).
#include "report/script/script_types.h"

namespace vornak::script {

const ScriptType integerType{TfsVarType::fvtInt, QStringLiteral("Integer")};
const ScriptType floatType{TfsVarType::fvtFloat, QStringLiteral("Extended")};
const ScriptType booleanType{TfsVarType::fvtBool, QStringLiteral("Boolean")};
const ScriptType stringType{TfsVarType::fvtString, QStringLiteral("String")};
const ScriptType charType{TfsVarType::fvtChar, QStringLiteral("Char")};
const ScriptType arrayType{TfsVarType::fvtArray, QStringLiteral("Array")};

bool isNumber(TfsVarType kind)
{
    return kind == TfsVarType::fvtInt || kind == TfsVarType::fvtFloat;
}

bool isText(TfsVarType kind)
{
    return kind == TfsVarType::fvtString || kind == TfsVarType::fvtChar;
}

ScriptType resultType(VariantOperator op, const ScriptType &left, const ScriptType &right)
{
    if (isComparison(op))
        return booleanType;
    switch (op) {
    case VariantOperator::Add:
        if (isText(left.kind) && isText(right.kind))
            return stringType;
        [[fallthrough]];
    case VariantOperator::Subtract:
    case VariantOperator::Multiply:
        if (isNumber(left.kind) && isNumber(right.kind))
            return left.kind == TfsVarType::fvtInt && right.kind == TfsVarType::fvtInt ? integerType : floatType;
        return {};
    case VariantOperator::Divide:
        return isNumber(left.kind) && isNumber(right.kind) ? floatType : ScriptType{};
    case VariantOperator::And:
    case VariantOperator::Or:
    case VariantOperator::Xor:
        if (left.kind == TfsVarType::fvtBool && right.kind == TfsVarType::fvtBool)
            return booleanType;
        [[fallthrough]];
    default:
        return left.kind == TfsVarType::fvtInt && right.kind == TfsVarType::fvtInt ? integerType : ScriptType{};
    }
}

ScriptType negationType(const ScriptType &operand)
{
    return isNumber(operand.kind) ? operand : ScriptType{};
}

ScriptType notType(const ScriptType &operand)
{
    return operand.kind == TfsVarType::fvtBool || operand.kind == TfsVarType::fvtInt ? operand : ScriptType{};
}

bool isAssignable(const ScriptType &target, const ScriptType &source)
{
    if (target.kind == TfsVarType::fvtVariant || source.kind == TfsVarType::fvtVariant)
        return true;
    const auto isObjectOrArray = [](TfsVarType kind) {
        return kind == TfsVarType::fvtClass || kind == TfsVarType::fvtArray;
    };
    if (isObjectOrArray(target.kind) || isObjectOrArray(source.kind))
        return target.kind == source.kind;
    return isText(target.kind) || !isText(source.kind);
}

}  // namespace vornak::script
