#pragma once

#include <QString>

namespace vornak::sql_literal {

// Literals of the SQL dialect for values put into statement text. Whatever the value holds,
// the literal reads back as exactly that value and nothing after it: a text cannot end its
// literal early, a number is written the way the dialect reads numbers.

// "text" with every double quote inside doubled.
QString quotedText(const QString &text);
// 'text' with every apostrophe inside doubled.
QString apostropheText(const QString &text);
// A name for the SQLite text the engine runs: in backticks, every backtick inside doubled, so no
// name can end early or add to the statement (and, unlike a name in double quotes, SQLite never
// reads it as a text when no column has that name).
QString sqliteName(const QString &name);
// A whole number in decimal, "-" in front when negative.
QString integer(qint64 value);
// A real number with a point as the decimal separator, as few digits as read back to the same
// value ("12.5", "1e+20"). Raises ConversionError for an infinite value or one that is not a
// number, which the dialect cannot write.
QString number(double value);

}  // namespace vornak::sql_literal
