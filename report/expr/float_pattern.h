#pragma once

#include <QString>

namespace vornak {

// Pattern formatting of a floating-point number, as FormatFloat does: up to three sections
// separated by ";" (positive, negative without its sign, zero), "0" a digit that is always
// written, "#" a digit written when significant, the first "." the decimal separator, a "," in
// the integer part groups thousands, text in quotes and any other character written as it is.
// Separators come from the regional settings; an empty pattern gives the general format.
QString formatFloatPattern(const QString &pattern, double value);

}  // namespace vornak
