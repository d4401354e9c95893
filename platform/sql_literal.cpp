#include "platform/sql_literal.h"

#include "platform/errors.h"

#include <charconv>
#include <cmath>

namespace vornak::sql_literal {

namespace {

QString enclosed(const QString &text, QChar quote)
{
    QString doubled = text;
    doubled.replace(quote, QString(2, quote));
    return quote + doubled + quote;
}

}  // namespace

QString quotedText(const QString &text)
{
    return enclosed(text, u'"');
}

QString apostropheText(const QString &text)
{
    return enclosed(text, u'\'');
}

QString sqliteName(const QString &name)
{
    return enclosed(name, u'`');
}

QString integer(qint64 value)
{
    return QString::number(value);
}

QString number(double value)
{
    if (!std::isfinite(value))
        throw ConversionError(QStringLiteral("%1 is not a valid number for an SQL statement").arg(value));
    // to_chars ignores the C locale and writes the shortest text that reads back to the value.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}

}  // namespace vornak::sql_literal
