#pragma once

#include <QList>
#include <QString>

namespace vornak {

// The page numbers (1-based) a page list selects, in the list's order, duplicates kept:
// blanks are ignored; a list ending in "-" runs to `pageCount`; items are separated by commas,
// each one number n or a range a-b (ascending, nothing when b < a). Numbers outside
// 1..pageCount are kept: the print loop skips them. An empty list gives no numbers (all pages).
// Text that is not a number raises ConversionError.
QList<int> frxParsePageNumbers(const QString &pageList, int pageCount);

// A page list that names pages (`numbers`, read from it), none of them in the report. Such a
// list must not count as empty, which prints every page.
bool frxNamesNoPage(const QString &pageList, const QList<int> &numbers, int pageCount);

// A whole number written in `text`; text that is not one raises ConversionError.
int frxStrToInt(const QString &text);

}  // namespace vornak
