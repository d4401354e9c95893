#pragma once

#include "platform/database.h"

#include <QString>

namespace vornak {

// A result as tab-separated lines, the column names first, values as the program shows them
// (Null as an empty cell); the lines joined with line feeds, no line feed after the last.
QString tabSeparatedText(const ResultSet &result);

} // namespace vornak
