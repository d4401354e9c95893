#include "platform/number_format.h"

#include "platform/regional_settings.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vornak {

double roundHalfEven(double value)
{
    return std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
}

double roundHalfAway(double value)
{
    return std::round(value);
}

QString formatFloatGeneral(double value, int precision)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // to_chars ignores the C locale, which a Qt application sets from the environment.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    const QChar decimal = RegionalSettings::current().decimalSeparator;
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        // "1.5e+20" -> "1.5E20", "1e-05" -> "1E-5"
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.front() == u'0')
            exponent.remove(0, 1);
        text = mantissa + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    text.replace(u'.', decimal);
    return text;
}

std::optional<qint64> parseInteger64(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        ++i;
    }
    if (i >= t.size())
        return std::nullopt;
    // Accumulate as a negative number so that the smallest value fits.
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value < (std::numeric_limits<qint64>::min() + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<qint64>::min())
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<int> parseInteger(const QString &text)
{
    const auto value = parseInteger64(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> parseFloat(const QString &text, bool acceptPoint)
{
    const QString t = text.trimmed();
    const QChar decimal = RegionalSettings::current().decimalSeparator;
    QByteArray plain;
    plain.reserve(t.size());
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype start = i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9')
            plain.append(char(t[i++].unicode()));
        return i - start;
    };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        plain.append(char(t[i++].unicode()));
    qsizetype mantissaDigits = digits();
    if (i < t.size() && (t[i] == decimal || (acceptPoint && t[i] == u'.'))) {
        plain.append('.');
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        plain.append('e');
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            plain.append(char(t[i++].unicode()));
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(plain.constData() + (plain.startsWith('+') ? 1 : 0), plain.constData() + plain.size(), value);
    if (error != std::errc() || std::isinf(value))
        return std::nullopt;
    return value;
}

}  // namespace vornak
