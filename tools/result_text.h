#pragma once

#include "platform/database.h"

#include <QString>

namespace vornak {

// A result as tab-separated lines, the column names first, values as the program shows them
// (Null as an empty cell); the lines joined with line feeds, no line feed after the last. Inside a
// name or value a backslash, tab, line feed, carriage return and NUL are written \\, \t, \n, \r
// and \0, so every row stays one line and every value whole.
QString tabSeparatedText(const ResultSet &result);
// One value written so: its backslashes, tabs, line feeds, carriage returns and NULs escaped.
QString tabSeparatedCell(QString text);

}  // namespace vornak
