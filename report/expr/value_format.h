#pragma once

// Turning the value of an expression into the text a text object prints: by the object's
// display format, or by a format written after the expression ("x #n%2.2f").

#include "platform/variant.h"
#include "report/model/format.h"

#include <optional>
#include <QString>

namespace vornak {

// An expression text split from its format suffix: "x #n%2,2f" is the expression "x" with a
// numeric format "%2.2f" whose decimal separator is ",". Without a suffix (a blank and "#"
// followed by a text without ")"), the expression is the whole text and there is no format.
struct ExpressionWithFormat {
    QString expression;
    std::optional<TfrxFormat> format;
};
ExpressionWithFormat splitFormatSuffix(const QString &text);

// The text of `value` by `format`: Null gives the empty text; fkText the platform's value-to-text
// rules; fkNumeric FormatFloat (a pattern with "#"), the format function with the value as an
// integer (a pattern with "d" or "u") or as a float, then the format's own decimal and thousands
// separators in place of the regional ones; fkDateTime the date-time formatting; fkBoolean the
// text before or after the first comma of FormatStr. A value the format cannot take gives the
// fkText conversion.
QString formatValue(const Variant &value, const TfrxFormat &format);

// The format function for one value: literal text with "%%" and one conversion
// "%[-][width][.precision]type", where type is d, u, x (integers), f, n (grouped), e, g (floats)
// or s (text). Floats use the regional decimal separator, "n" the regional thousands separator.
// A pattern that does not fit the value raises ConversionError.
QString formatOne(const QString &pattern, const Variant &value);

}  // namespace vornak
