#include "report/script/variant_ops.h"

#include "platform/errors.h"

#include <cmath>
#include <limits>

namespace vornak {

namespace {

using Type = Variant::Type;

// The kind an arithmetic result takes, from the narrowest to the widest.
enum class NumberKind { Integer, Int64, Currency, Float, DateTime };

NumberKind kindOf(const Variant &value)
{
    switch (value.type()) {
    case Type::Int64:
        return NumberKind::Int64;
    case Type::Currency:
        return NumberKind::Currency;
    case Type::Float:
    case Type::String:
        return NumberKind::Float;
    case Type::DateTime:
        return NumberKind::DateTime;
    default:
        return NumberKind::Integer;  // Integer, Boolean
    }
}

template <typename Convert>
auto converted(const Variant &value, Convert convert)
{
    try {
        return convert(value);
    } catch (const ConversionError &error) {
        throw EngineError(error.message());
    }
}

double asDouble(const Variant &value)
{
    return converted(value, [](const Variant &v) { return v.toDouble(); });
}
qint64 asInt64(const Variant &value)
{
    return converted(value, [](const Variant &v) { return v.toInt64(); });
}
bool asBool(const Variant &value)
{
    return converted(value, [](const Variant &v) { return v.toBool(); });
}

Variant integerResult(qint64 value, bool wide)
{
    if (!wide && value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return Variant(int(value));
    return Variant(value);
}

[[noreturn]] void divisionByZero()
{
    throw EngineError(divisionByZeroMessage());
}

Variant arithmetic(VariantOperator op, const Variant &left, const Variant &right)
{
    const NumberKind kind = std::max(kindOf(left), kindOf(right));
    if (kind == NumberKind::Integer || kind == NumberKind::Int64) {
        const qint64 a = asInt64(left);
        const qint64 b = asInt64(right);
        qint64 result = 0;
        bool overflow = false;
        switch (op) {
        case VariantOperator::Add:
            overflow = __builtin_add_overflow(a, b, &result);
            break;
        case VariantOperator::Subtract:
            overflow = __builtin_sub_overflow(a, b, &result);
            break;
        default:
            overflow = __builtin_mul_overflow(a, b, &result);
            break;
        }
        if (!overflow)
            return integerResult(result, kind == NumberKind::Int64);
    }
    const double a = asDouble(left);
    const double b = asDouble(right);
    double result = 0;
    switch (op) {
    case VariantOperator::Add:
        result = a + b;
        break;
    case VariantOperator::Subtract:
        result = a - b;
        break;
    default:
        result = a * b;
        break;
    }
    if (kind == NumberKind::DateTime) {
        if (op == VariantOperator::Subtract && left.type() == Type::DateTime && right.type() == Type::DateTime)
            return Variant(result);
        return Variant::fromDateTime(result);
    }
    if (kind == NumberKind::Currency)
        return Variant::fromCurrency(result);
    return Variant(result);
}

Variant integerOperation(VariantOperator op, const Variant &left, const Variant &right)
{
    const bool logical = left.type() == Type::Boolean && right.type() == Type::Boolean;
    if (logical) {
        const bool a = asBool(left);
        const bool b = asBool(right);
        switch (op) {
        case VariantOperator::And:
            return Variant(a && b);
        case VariantOperator::Or:
            return Variant(a || b);
        case VariantOperator::Xor:
            return Variant(a != b);
        default:
            break;
        }
    }
    const qint64 a = asInt64(left);
    const qint64 b = asInt64(right);
    const bool wide = left.type() == Type::Int64 || right.type() == Type::Int64;
    switch (op) {
    case VariantOperator::IntDivide:
        if (b == 0)
            divisionByZero();
        return integerResult(b == -1 ? -a : a / b, wide);
    case VariantOperator::Modulo:
        if (b == 0)
            divisionByZero();
        return integerResult(b == -1 ? 0 : a % b, wide);
    case VariantOperator::And:
        return integerResult(a & b, wide);
    case VariantOperator::Or:
        return integerResult(a | b, wide);
    case VariantOperator::Xor:
        return integerResult(a ^ b, wide);
    case VariantOperator::Shl:
        return integerResult(b >= 0 && b < 64 ? qint64(quint64(a) << b) : 0, wide);
    case VariantOperator::Shr:
        return integerResult(b >= 0 && b < 64 ? qint64(quint64(a) >> b) : 0, wide);
    default:
        return Variant();
    }
}

bool isOrdered(VariantOperator op, int order)
{
    switch (op) {
    case VariantOperator::Equal:
        return order == 0;
    case VariantOperator::NotEqual:
        return order != 0;
    case VariantOperator::Less:
        return order < 0;
    case VariantOperator::LessOrEqual:
        return order <= 0;
    case VariantOperator::Greater:
        return order > 0;
    default:
        return order >= 0;
    }
}

}  // namespace

QString divisionByZeroMessage()
{
    return QStringLiteral("Division by zero");
}

int compareValues(const Variant &left, const Variant &right)
{
    if (left.isNull() || right.isNull())
        return int(!left.isNull()) - int(!right.isNull());
    if (left.isString() && right.isString())
        return left.toString().compare(right.toString());
    if (left.type() == Type::Boolean && right.type() == Type::Boolean)
        return int(left.toBool()) - int(right.toBool());
    const NumberKind kind = std::max(kindOf(left), kindOf(right));
    if (kind == NumberKind::Integer || kind == NumberKind::Int64) {
        const qint64 a = asInt64(left);
        const qint64 b = asInt64(right);
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    const double a = asDouble(left);
    const double b = asDouble(right);
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool isComparison(VariantOperator op)
{
    return op >= VariantOperator::Equal;
}

Variant applyOperator(VariantOperator op, const Variant &left, const Variant &right)
{
    if (isComparison(op))
        return Variant(isOrdered(op, compareValues(left, right)));
    if (left.isNull() || right.isNull())
        return Variant();
    switch (op) {
    case VariantOperator::Add:
        if (left.isString() && right.isString())
            return Variant(left.toString() + right.toString());
        return arithmetic(op, left, right);
    case VariantOperator::Subtract:
    case VariantOperator::Multiply:
        return arithmetic(op, left, right);
    case VariantOperator::Divide: {
        const double divisor = asDouble(right);
        if (divisor == 0)
            divisionByZero();
        return Variant(asDouble(left) / divisor);
    }
    default:
        return integerOperation(op, left, right);
    }
}

Variant negateValue(const Variant &value)
{
    switch (value.type()) {
    case Type::Null:
        return Variant();
    case Type::Integer:
        return integerResult(-qint64(value.toInt()), false);
    case Type::Int64:
        return value.toInt64() == std::numeric_limits<qint64>::min() ? Variant(-double(value.toInt64()))
                                                                     : Variant(-value.toInt64());
    case Type::Currency:
        return Variant::fromCurrencyScaled(-value.toCurrencyScaled());
    case Type::DateTime:
        return Variant::fromDateTime(-value.toDouble());
    case Type::Boolean:
        return Variant(int(-asInt64(value)));
    default:
        return Variant(-asDouble(value));
    }
}

Variant notValue(const Variant &value)
{
    switch (value.type()) {
    case Type::Null:
        return Variant();
    case Type::Boolean:
        return Variant(!value.toBool());
    case Type::Int64:
        return Variant(~value.toInt64());
    case Type::Integer:
        return Variant(~value.toInt());
    default:
        return Variant(!asBool(value));
    }
}

}  // namespace vornak
