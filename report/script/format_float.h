#pragma once

#include <QChar>
#include <QString>

namespace vornak {

// FormatFloat of the script library (also the numeric display format of report texts): a
// number written by a picture format.
//
// The picture: "0" a digit that is always written, "#" a digit written only when significant,
// "." the place of the decimal separator, "," anywhere before it groups the whole digits in
// threes with the thousand separator, "E+" / "E-" (or "e") followed by "0"s an exponent, text
// in single or double quotes and any other character written as it stands. Up to three
// sections separated by ";" serve positive numbers, negative numbers (written without their
// sign) and zero; an empty section falls back to the first. An empty picture writes the value
// in the general format. Values are rounded half away from zero to the digits the picture has.
QString formatFloat(const QString &picture, double value, QChar decimalSeparator, QChar thousandSeparator);
// The same with the regional separators.
QString formatFloat(const QString &picture, double value);

}  // namespace vornak
