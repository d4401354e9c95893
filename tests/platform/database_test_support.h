#pragma once

#include "platform/database.h"

#include <QStringList>

namespace vornak::testing {

// A result as tab-separated lines, the column names first; values as the program shows them.
inline QString renderResult(const ResultSet &result)
{
    QStringList lines;
    QStringList names;
    for (const ColumnInfo &c : result.columns())
        names.append(c.name);
    lines.append(names.join(u'\t'));
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < result.columns().size(); ++column)
            cells.append(result.value(row, column).toString());
        lines.append(cells.join(u'\t'));
    }
    return lines.join(u'\n');
}

} // namespace vornak::testing
