#include "tools/result_text.h"

#include <QStringList>

namespace vornak {

namespace {

// Backslash first, so that the escapes written after it stay apart from the value's own.
const std::pair<QChar, QLatin1StringView> escapes[] = {
    {u'\\', QLatin1StringView("\\\\")}, {u'\t', QLatin1StringView("\\t")},    {u'\n', QLatin1StringView("\\n")},
    {u'\r', QLatin1StringView("\\r")},  {QChar(0), QLatin1StringView("\\0")},
};

}  // namespace

QString tabSeparatedCell(QString text)
{
    for (const auto &[character, escape] : escapes)
        text.replace(character, escape);
    return text;
}

QString tabSeparatedText(const ResultSet &result)
{
    QStringList lines;
    QStringList names;
    for (const ColumnInfo &column : result.columns())
        names.append(tabSeparatedCell(column.name));
    lines.append(names.join(u'\t'));
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < result.columns().size(); ++column)
            cells.append(tabSeparatedCell(result.value(row, column).toString()));
        lines.append(cells.join(u'\t'));
    }
    return lines.join(u'\n');
}

}  // namespace vornak
