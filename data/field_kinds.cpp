#include "data/field_kinds.h"

#include "data/data_set_text.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <cmath>
#include <limits>

namespace vornak {

// ---- integer ----

bool TIntegerField::IsValidChar(QChar c) const
{
    return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9');
}

QString TIntegerField::AsString() const
{
    const Variant value = Value();
    return value.isNull() ? QString() : QString::number(value.toInt());
}

Variant TIntegerField::FromText(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const auto value = parseInteger(text);
    if (!value)
        FailConversion(dataSetText("notAnInteger"), text);
    return Variant(*value);
}

Variant TIntegerField::FromFloat(double value) const
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= double(std::numeric_limits<int>::min()) && rounded <= double(std::numeric_limits<int>::max())))
        FailConversion(dataSetText("notAnInteger"), formatFloatGeneral(value));
    return Variant(int(rounded));
}

// ---- float ----

bool TFloatField::IsValidChar(QChar c) const
{
    return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9') || c == u'E' || c == u'e' ||
           c == RegionalSettings::current().decimalSeparator;
}

QString TFloatField::AsString() const
{
    const Variant value = Value();
    return value.isNull() ? QString() : formatFloatGeneral(value.toDouble(), Precision);
}

Variant TFloatField::FromText(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const auto value = parseFloat(text);
    if (!value)
        FailConversion(dataSetText("notAFloat"), text);
    return Variant(*value);
}

// ---- date-time ----

QString TDateTimeField::AsString() const
{
    const Variant value = Value();
    return value.isNull() ? QString() : date_time::toText(value.toDouble());
}

double TDateTimeField::AsDateTime() const
{
    return Value().toDouble();
}

Variant TDateTimeField::FromText(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const auto value = date_time::parse(text);
    if (!value)
        throw ConversionError(dataSetText("notADateTime").arg(text));
    return Variant::fromDateTime(*value);
}

// ---- text ----

Variant TStringField::FromFloat(double value) const
{
    return Variant(formatFloatGeneral(value));
}

Variant TStringField::FromDateTime(double value) const
{
    return Variant(date_time::toText(value));
}

}  // namespace vornak
