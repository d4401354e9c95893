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

}  // namespace vornak
