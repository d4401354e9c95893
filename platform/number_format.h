#pragma once

#include <optional>
#include <QString>

namespace vornak {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);
// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3).
double roundHalfAway(double value);

// General format: up to `precision` significant digits, no trailing zeros, no grouping, the
// regional decimal separator, and an exponent ("1,5E20", "1E-5") only for very large or very
// small values.
QString formatFloatGeneral(double value, int precision = 15);

// A whole number with an optional sign that fits 32 bits; surrounding blanks are allowed.
std::optional<int> parseInteger(const QString &text);
std::optional<qint64> parseInteger64(const QString &text);

// A number in regional form (the regional decimal separator, an optional exponent); with
// `acceptPoint` a point is taken as the decimal separator as well.
std::optional<double> parseFloat(const QString &text, bool acceptPoint = false);

}  // namespace vornak
