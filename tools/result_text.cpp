#include "tools/result_text.h"

#include <QStringList>

namespace vornak {

QString tabSeparatedText(const ResultSet &result)
{
    QStringList lines;
    QStringList names;
    for (const ColumnInfo &column : result.columns())
        names.append(column.name);
    lines.append(names.join(u'\t'));
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < result.columns().size(); ++column)
            cells.append(result.value(row, column).toString());
        lines.append(cells.join(u'\t'));
    }
    return lines.join(u'\n');
}

} // namespace vornak
