// Value formatting for text objects. formatOne reads the pattern from left to right, copying
// literal text and expanding the one conversion it finds; formatValue picks the conversion by the
// format's kind and falls back to the plain value-to-text conversion on any failure.
#include "report/expr/value_format.h"

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"
#include "report/script/format_float.h"
#include "report/script/variant_ops.h"

#include <cmath>

namespace vornak {

namespace {

const QString numericSeparators = QStringLiteral(",-.");

struct KindLetter {
    char16_t letter;
    TfrxFormatKind kind;
};
const KindLetter kindLetters[] = {
    {u'N', fkNumeric},  {u'n', fkNumeric},  {u'D', fkDateTime}, {u'd', fkDateTime},
    {u'T', fkDateTime}, {u't', fkDateTime}, {u'B', fkBoolean},  {u'b', fkBoolean},
};

[[noreturn]] void invalidFormat(const QString &pattern)
{
    throw ConversionError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(pattern));
}

QString withRegionalDecimal(QString text)
{
    text.replace(u'.', RegionalSettings::current().decimalSeparator);
    return text;
}

// A fixed-point text ("-1234567.89") with the regional thousands separator between the groups of
// its integer digits and the regional decimal separator.
QString grouped(const QString &fixed)
{
    const qsizetype point = fixed.indexOf(u'.');
    const qsizetype digitsEnd = point < 0 ? fixed.size() : point;
    const qsizetype digitsStart = fixed.startsWith(u'-') ? 1 : 0;
    QString result = withRegionalDecimal(fixed);
    for (qsizetype at = digitsEnd - 3; at > digitsStart; at -= 3)
        result.insert(at, RegionalSettings::current().thousandSeparator);
    return result;
}

// "1.5e+20" in the format function's form: "1.50000000000000E+020".
QString scientific(double value, int precision)
{
    QString text = QString::number(value, 'e', std::max(precision, 1) - 1);
    const qsizetype e = text.indexOf(u'e');
    QString exponent = text.mid(e + 2);
    while (exponent.size() < 3)
        exponent.prepend(u'0');
    return withRegionalDecimal(text.left(e)) + u'E' + text[e + 1] + exponent;
}

QString convert(QChar type, int precision, const Variant &value, const QString &pattern)
{
    switch (type.toLower().unicode()) {
    case u'd': {
        if (!value.isNumeric() && value.type() != Variant::Type::Boolean)
            invalidFormat(pattern);
        const qint64 number = value.toInt64();
        QString digits = QString::number(number < 0 ? -number : number);
        while (precision > digits.size())
            digits.prepend(u'0');
        return number < 0 ? u'-' + digits : digits;
    }
    case u'u':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return QString::number(quint32(value.toInt64()));
    case u'x':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return QString::number(value.toInt64(), 16).toUpper().rightJustified(std::max(precision, 0), u'0');
    case u'f':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return withRegionalDecimal(QString::number(value.toDouble(), 'f', precision < 0 ? 2 : precision));
    case u'n':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return grouped(QString::number(value.toDouble(), 'f', precision < 0 ? 2 : precision));
    case u'e':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return scientific(value.toDouble(), precision < 0 ? 15 : precision);
    case u'g':
        if (!value.isNumeric())
            invalidFormat(pattern);
        return formatFloatGeneral(value.toDouble(), precision < 0 ? 15 : precision);
    case u's': {
        const QString text = value.toString();
        return precision < 0 ? text : text.left(precision);
    }
    default:
        invalidFormat(pattern);
    }
}

QString formatNumeric(const Variant &value, const TfrxFormat &format)
{
    QString text;
    if (format.FormatStr.contains(u'#'))
        text = formatFloat(format.FormatStr, value.toDouble());
    else if (format.FormatStr.contains(u'd') || format.FormatStr.contains(u'u'))
        text = formatOne(format.FormatStr, Variant(value.toInt64()));
    else
        text = formatOne(format.FormatStr, Variant(value.toDouble()));

    const RegionalSettings &regional = RegionalSettings::current();
    qsizetype decimalAt = -1;
    if (format.DecimalSeparator.size() == 1 && format.DecimalSeparator[0] != regional.decimalSeparator)
        decimalAt = text.lastIndexOf(regional.decimalSeparator);
    if (format.ThousandSeparator.size() == 1 && format.ThousandSeparator[0] != regional.thousandSeparator)
        text.replace(regional.thousandSeparator, format.ThousandSeparator[0]);
    if (decimalAt >= 0)
        text[decimalAt] = format.DecimalSeparator[0];
    return text;
}

QString formatBoolean(const Variant &value, const QString &formatStr)
{
    const qsizetype comma = formatStr.indexOf(u',');
    const QString falseText = comma < 0 ? formatStr : formatStr.left(comma);
    const QString trueText = comma < 0 ? QString() : formatStr.mid(comma + 1);
    return compareValues(value, Variant(true)) == 0 ? trueText : falseText;
}

}  // namespace

ExpressionWithFormat splitFormatSuffix(const QString &text)
{
    const qsizetype mark = text.lastIndexOf(QStringLiteral(" #"));
    if (mark < 0)
        return {text, std::nullopt};
    const QString suffix = text.mid(mark + 2);
    if (suffix.contains(u')'))
        return {text, std::nullopt};

    TfrxFormat format;
    if (!suffix.isEmpty()) {
        for (const KindLetter &k : kindLetters)
            if (suffix[0] == k.letter)
                format.Kind = k.kind;
        format.FormatStr = suffix.mid(1);
    }
    if (format.Kind == fkNumeric) {
        for (QChar &c : format.FormatStr)
            if (numericSeparators.contains(c)) {
                format.DecimalSeparator = QString(c);
                c = u'.';
            }
    }
    return {text.left(mark), format};
}

QString formatOne(const QString &pattern, const Variant &value)
{
    QString result;
    bool used = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%') {
            result += pattern[i];
            continue;
        }
        if (++i < pattern.size() && pattern[i] == u'%') {
            result += u'%';
            continue;
        }
        const bool leftAligned = i < pattern.size() && pattern[i] == u'-';
        if (leftAligned)
            ++i;
        int width = 0;
        for (; i < pattern.size() && pattern[i].isDigit(); ++i)
            width = width * 10 + pattern[i].digitValue();
        int precision = -1;
        if (i < pattern.size() && pattern[i] == u'.') {
            precision = 0;
            for (++i; i < pattern.size() && pattern[i].isDigit(); ++i)
                precision = precision * 10 + pattern[i].digitValue();
        }
        if (i >= pattern.size() || used)
            invalidFormat(pattern);
        used = true;
        const QString converted = convert(pattern[i], precision, value, pattern);
        result += leftAligned ? converted.leftJustified(width) : converted.rightJustified(width);
    }
    return result;
}

QString formatValue(const Variant &value, const TfrxFormat &format)
{
    if (value.isNull())
        return QString();
    try {
        switch (format.Kind) {
        case fkNumeric:
            return formatNumeric(value, format);
        case fkDateTime:
            return date_time::format(value.toDateTime(), format.FormatStr);
        case fkBoolean:
            return formatBoolean(value, format.FormatStr);
        case fkText:
            break;
        }
    } catch (const Error &) {
    }
    try {
        return value.toString();
    } catch (const Error &) {
        return QString();
    }
}

}  // namespace vornak
