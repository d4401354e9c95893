// Writing a number by a picture. The picture is split into sections; the chosen section is read
// once to learn its digit placeholders (how many "0"s and "#"s before and after the decimal
// point, grouping, exponent), the number is turned into digits with exactly that many decimals,
// and the section is then walked again: each placeholder before the point takes its share of
// the whole digits (the first one takes any surplus), each after the point the next decimal
// digit, and literal text is copied.
#include "report/script/format_float.h"

#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <cmath>
#include <QStringList>

namespace vornak {

namespace {

// Splits at ";" outside quotes.
QStringList sections(const QString &picture)
{
    QStringList result{QString()};
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            result.append(QString());
            continue;
        }
        result.last().append(c);
    }
    return result;
}

struct Layout {
    int wholeZeros = 0;    // "0"s before the point (digits always written)
    int wholePlaces = 0;   // "0"s and "#"s before the point
    int decimalZeros = 0;  // "0"s after the point
    int decimalPlaces = 0;
    bool hasPoint = false;
    bool grouped = false;
    int exponentDigits = -1;  // -1: no exponent
};

Layout layoutOf(const QString &section)
{
    Layout layout;
    QChar quote;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if ((c == u'E' || c == u'e') && i + 1 < section.size() &&
                   (section[i + 1] == u'+' || section[i + 1] == u'-') && layout.exponentDigits < 0) {
            layout.exponentDigits = 0;
            for (qsizetype j = i + 2; j < section.size() && section[j] == u'0'; ++j)
                ++layout.exponentDigits;
        } else if (layout.exponentDigits >= 0) {
            continue;
        } else if (c == u'0' || c == u'#') {
            if (layout.hasPoint) {
                ++layout.decimalPlaces;
                if (c == u'0')
                    layout.decimalZeros = layout.decimalPlaces;
            } else {
                ++layout.wholePlaces;
                if (c == u'0')
                    ++layout.wholeZeros;
            }
        } else if (c == u'.') {
            layout.hasPoint = true;
        } else if (c == u',' && !layout.hasPoint) {
            layout.grouped = true;
        }
    }
    return layout;
}

QString grouped(const QString &digits, QChar separator)
{
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result.append(separator);
        result.append(digits[i]);
    }
    return result;
}

}  // namespace

QString formatFloat(const QString &picture, double value, QChar decimalSeparator, QChar thousandSeparator)
{
    if (picture.isEmpty() || !std::isfinite(value))
        return formatFloatGeneral(value);
    const QStringList parts = sections(picture);
    QString section = parts[0];
    bool negative = value < 0;
    if (value == 0 && parts.size() > 2 && !parts[2].isEmpty())
        section = parts[2], negative = false;
    else if (negative && parts.size() > 1 && !parts[1].isEmpty())
        section = parts[1], negative = false;  // the section writes its own sign, if any
    const Layout layout = layoutOf(section);

    double magnitude = std::fabs(value);
    int exponent = 0;
    if (layout.exponentDigits >= 0 && magnitude != 0) {
        const int places = std::max(layout.wholePlaces, 1);
        exponent = int(std::floor(std::log10(magnitude))) - (places - 1);
        magnitude /= std::pow(10.0, exponent);
    }
    const double scale = std::pow(10.0, layout.decimalPlaces);
    const double rounded = roundHalfAway(magnitude * scale);
    QString digits = QString::number(rounded, 'f', 0);
    digits = digits.rightJustified(layout.decimalPlaces + 1, u'0');
    QString whole = digits.left(digits.size() - layout.decimalPlaces);
    QString decimals = digits.right(layout.decimalPlaces);
    if (whole == u"0" && layout.wholeZeros == 0)
        whole.clear();
    whole = whole.rightJustified(layout.wholeZeros, u'0');
    while (decimals.size() > layout.decimalZeros && decimals.endsWith(u'0'))
        decimals.chop(1);
    if (negative && rounded == 0)
        negative = false;

    QString result;
    if (negative)
        result.append(u'-');
    bool wholeWritten = false;
    const auto writeWhole = [&] {
        if (!wholeWritten)
            result.append(layout.grouped ? vornak::grouped(whole, thousandSeparator) : whole);
        wholeWritten = true;
    };
    QChar quote;
    qsizetype nextDecimal = 0;
    bool afterPoint = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                result.append(c);
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if ((c == u'E' || c == u'e') && layout.exponentDigits >= 0 && i + 1 < section.size() &&
                   (section[i + 1] == u'+' || section[i + 1] == u'-')) {
            result.append(c);
            if (exponent < 0)
                result.append(u'-');
            else if (section[i + 1] == u'+')
                result.append(u'+');
            result.append(QString::number(std::abs(exponent)).rightJustified(layout.exponentDigits, u'0'));
            i += 1 + layout.exponentDigits;
        } else if (c == u'0' || c == u'#') {
            if (!afterPoint)
                writeWhole();
            else if (nextDecimal < decimals.size())
                result.append(decimals[nextDecimal++]);
        } else if (c == u'.') {
            writeWhole();
            afterPoint = true;
            if (!decimals.isEmpty())
                result.append(decimalSeparator);
        } else if (c == u',') {
            continue;
        } else {
            result.append(c);
        }
    }
    return result;
}

QString formatFloat(const QString &picture, double value)
{
    const RegionalSettings &regional = RegionalSettings::current();
    return formatFloat(picture, value, regional.decimalSeparator, regional.thousandSeparator);
}

}  // namespace vornak
