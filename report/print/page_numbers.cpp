// A page list is read in three steps: blanks go, a trailing "-" gets the page count, and each
// comma-separated item is one number or a range of two numbers joined by a hyphen.

#include "report/print/page_numbers.h"

#include "platform/errors.h"
#include "platform/number_format.h"

#include <algorithm>

namespace vornak {

// number -> digits (an item, or one side of a range)
int frxStrToInt(const QString &text)
{
    const std::optional<int> number = parseInteger(text);
    if (!number)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return *number;
}

bool frxNamesNoPage(const QString &pageList, const QList<int> &numbers, int pageCount)
{
    if (QString(pageList).remove(QLatin1Char(' ')).isEmpty())
        return false;
    return std::none_of(numbers.begin(), numbers.end(), [pageCount](int n) { return n >= 1 && n <= pageCount; });
}

QList<int> frxParsePageNumbers(const QString &pageList, int pageCount)
{
    QString list = pageList;
    list.remove(QLatin1Char(' '));
    if (list.isEmpty())
        return {};
    if (list.endsWith(QLatin1Char('-')))
        list += QString::number(pageCount);

    QList<int> numbers;
    // item -> number | number "-" number
    for (const QString &item : list.split(QLatin1Char(','))) {
        const qsizetype hyphen = item.indexOf(QLatin1Char('-'), 1);
        if (hyphen < 0) {
            numbers.append(frxStrToInt(item));
            continue;
        }
        const int first = frxStrToInt(item.left(hyphen));
        const int last = frxStrToInt(item.mid(hyphen + 1));
        // Pages outside 1..pageCount would print nothing: a range is not walked beyond them.
        for (int n = std::max(first, 1); n <= std::min(last, pageCount); ++n)
            numbers.append(n);
    }
    return numbers;
}

}  // namespace vornak
