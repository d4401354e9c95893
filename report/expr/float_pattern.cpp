// Pattern formatting of numbers. The section for the value's sign is chosen first; its text is
// read once to find the placeholders ("0", "#"), the decimal point and grouping; the number is
// rounded to the most decimals the pattern allows, trailing zeros are dropped down to the
// required decimals, and the digits are written between the literal text before the first and
// after the last placeholder.
#include "report/expr/float_pattern.h"

#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace vornak {

namespace {

QStringList sections(const QString &pattern)
{
    QStringList parts;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            parts << current;
            current.clear();
            continue;
        }
        current += c;
    }
    parts << current;
    return parts;
}

// The section's literal text with quotes removed.
QString literal(const QString &text)
{
    QString result;
    for (const QChar c : text)
        if (c != u'"' && c != u'\'')
            result += c;
    return result;
}

QString formatSection(const QString &section, double value)
{
    const auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#'; };
    qsizetype first = -1, last = -1, point = -1;
    int integerZeros = 0, fractionZeros = 0, fractionDigits = 0;
    bool grouping = false;
    QChar quote;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (isPlaceholder(c)) {
            if (first < 0)
                first = i;
            last = i;
            if (point < 0)
                integerZeros += c == u'0';
            else {
                ++fractionDigits;
                fractionZeros += c == u'0';
            }
        } else if (c == u'.' && point < 0 && first >= 0) {
            point = i;
        } else if (c == u',' && point < 0) {
            grouping = true;
        }
    }
    if (first < 0)
        return literal(section);

    const RegionalSettings &regional = RegionalSettings::current();
    QString fixed = QString::number(std::fabs(value), 'f', fractionDigits);
    QString integer = fixed.section(u'.', 0, 0);
    QString fraction = fixed.section(u'.', 1, 1);
    while (fraction.size() > fractionZeros && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (integer == u"0" && integerZeros == 0)
        integer.clear();
    while (integer.size() < integerZeros)
        integer.prepend(u'0');
    if (grouping)
        for (qsizetype at = integer.size() - 3; at > 0; at -= 3)
            integer.insert(at, regional.thousandSeparator);
    QString number = integer;
    if (!fraction.isEmpty())
        number += regional.decimalSeparator + fraction;
    return literal(section.left(first)) + number + literal(section.mid(last + 1));
}

}  // namespace

QString formatFloatPattern(const QString &pattern, double value)
{
    if (pattern.isEmpty())
        return formatFloatGeneral(value);
    const QStringList parts = sections(pattern);
    if (value < 0 && parts.size() > 1 && !parts[1].isEmpty())
        return formatSection(parts[1], value);
    if (value == 0 && parts.size() > 2 && !parts[2].isEmpty())
        return formatSection(parts[2], value);
    const QString text = formatSection(parts[0], value);
    const bool showsDigits = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c != u'0'; });
    return value < 0 && showsDigits ? u'-' + text : text;
}

}  // namespace vornak
