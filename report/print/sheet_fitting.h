#pragma once

// How pages are placed on sheets in the split and join print modes; lengths in millimetres.

namespace vornak {

// How many lengths `m` it takes to cover `l`: n whole ones, one more when at least 11 mm are
// left over, else l / m rounded (at least 1).
int frxFitCount(double l, double m);

struct TfrxSheetGrid {
    int columns = 1;
    int rows = 1;
    bool turned = false;  // the sheet is used turned by 90 degrees
};

// Split mode: the sheets one page of `pageWidth` x `pageHeight` is cut into, on sheets of
// `sheetWidth` x `sheetHeight`; the turned sheet is used when it needs fewer.
TfrxSheetGrid frxSplitGrid(double pageWidth, double pageHeight, double sheetWidth, double sheetHeight);

// Join mode: the places for pages of `pageWidth` x `pageHeight` on one sheet, whole pages only
// (at least one place).
TfrxSheetGrid frxJoinGrid(double pageWidth, double pageHeight, double sheetWidth, double sheetHeight);

}  // namespace vornak
