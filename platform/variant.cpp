#include "platform/variant.h"

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <cmath>
#include <limits>

namespace vornak {

namespace {

constexpr double currencyScale = 10000.0;

bool fitsInt(double value)
{
    return value >= double(std::numeric_limits<int>::min()) && value <= double(std::numeric_limits<int>::max());
}

bool fitsInt64(double value)
{
    return value >= -9.2233720368547758e18 && value < 9.2233720368547758e18;
}

}  // namespace

Variant Variant::fromCurrency(double amount)
{
    return fromCurrencyScaled(qint64(roundHalfEven(amount * currencyScale)));
}

bool Variant::isNumeric() const
{
    switch (type()) {
    case Type::Integer:
    case Type::Int64:
    case Type::Float:
    case Type::Currency:
        return true;
    default:
        return false;
    }
}

QString Variant::typeName(Type type)
{
    static const char *const names[] = {"Null", "Boolean", "Integer", "Int64", "Double", "Currency", "Date", "String"};
    return QString::fromLatin1(names[int(type)]);
}

void Variant::failConversion(Type to) const
{
    throw ConversionError(
        QStringLiteral("Could not convert variant of type (%1) into type (%2)").arg(typeName(type()), typeName(to)));
}

bool Variant::toBool() const
{
    switch (type()) {
    case Type::Null:
        return false;
    case Type::Boolean:
        return std::get<bool>(value_);
    case Type::String: {
        const QString &s = std::get<QString>(value_);
        if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto number = parseFloat(s))
            return *number != 0;
        failConversion(Type::Boolean);
    }
    default:
        return toDouble() != 0;
    }
}

qint64 Variant::toInt64() const
{
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Boolean:
        return std::get<bool>(value_) ? -1 : 0;
    case Type::Integer:
        return std::get<qint32>(value_);
    case Type::Int64:
        return std::get<qint64>(value_);
    case Type::Currency:
        return qint64(roundHalfEven(double(std::get<CurrencyValue>(value_).scaled) / currencyScale));
    case Type::String: {
        const QString &s = std::get<QString>(value_);
        if (const auto whole = parseInteger64(s))
            return *whole;
        if (const auto number = parseFloat(s); number && fitsInt64(*number))
            return qint64(roundHalfEven(*number));
        failConversion(Type::Int64);
    }
    case Type::Float:
    case Type::DateTime: {
        const double rounded = roundHalfEven(toDouble());
        if (!fitsInt64(rounded))
            failConversion(Type::Int64);
        return qint64(rounded);
    }
    }
    return 0;
}

int Variant::toInt() const
{
    if (type() == Type::Integer)
        return std::get<qint32>(value_);
    const qint64 value = toInt64();
    if (!fitsInt(double(value)))
        failConversion(Type::Integer);
    return int(value);
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Boolean:
        return std::get<bool>(value_) ? -1 : 0;
    case Type::Integer:
        return std::get<qint32>(value_);
    case Type::Int64:
        return double(std::get<qint64>(value_));
    case Type::Float:
        return std::get<double>(value_);
    case Type::Currency:
        return double(std::get<CurrencyValue>(value_).scaled) / currencyScale;
    case Type::DateTime:
        return std::get<DateTimeValue>(value_).days;
    case Type::String: {
        const QString &s = std::get<QString>(value_);
        if (const auto number = parseFloat(s))
            return *number;
        if (const auto date = date_time::parse(s))
            return *date;
        failConversion(Type::Float);
    }
    }
    return 0;
}

double Variant::toDateTime() const
{
    if (type() == Type::String) {
        if (const auto date = date_time::parse(std::get<QString>(value_)))
            return *date;
        if (const auto number = parseFloat(std::get<QString>(value_)))
            return *number;
        failConversion(Type::DateTime);
    }
    return toDouble();
}

qint64 Variant::toCurrencyScaled() const
{
    if (type() == Type::Currency)
        return std::get<CurrencyValue>(value_).scaled;
    return qint64(roundHalfEven(toDouble() * currencyScale));
}

QString Variant::toString() const
{
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Boolean:
        return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
        return QString::number(std::get<qint32>(value_));
    case Type::Int64:
        return QString::number(std::get<qint64>(value_));
    case Type::Float:
        return formatFloatGeneral(std::get<double>(value_));
    case Type::Currency: {
        const qint64 scaled = std::get<CurrencyValue>(value_).scaled;
        QString text = QString::number(scaled / 10000);
        if (scaled < 0 && scaled > -10000)
            text.prepend(u'-');
        QString fraction = QString::number(std::llabs(scaled % 10000)).rightJustified(4, u'0');
        while (fraction.endsWith(u'0'))
            fraction.chop(1);
        if (!fraction.isEmpty())
            text += RegionalSettings::current().decimalSeparator + fraction;
        return text;
    }
    case Type::DateTime:
        return date_time::toText(std::get<DateTimeValue>(value_).days);
    case Type::String:
        return std::get<QString>(value_);
    }
    return {};
}

}  // namespace vornak
