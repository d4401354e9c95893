#include "report/print/sheet_fitting.h"

#include "platform/number_format.h"

#include <algorithm>
#include <cmath>

namespace vornak {

namespace {
constexpr double leftOverForOneMore = 11;  // mm
}

int frxFitCount(double l, double m)
{
    if (m <= 0)
        return 1;
    const int whole = int(std::floor(l / m));
    const int count = l - whole * m >= leftOverForOneMore ? whole + 1 : int(roundHalfEven(l / m));
    return std::max(1, count);
}

TfrxSheetGrid frxSplitGrid(double pageWidth, double pageHeight, double sheetWidth, double sheetHeight)
{
    const TfrxSheetGrid asIs{frxFitCount(pageWidth, sheetWidth), frxFitCount(pageHeight, sheetHeight), false};
    const TfrxSheetGrid turned{frxFitCount(pageWidth, sheetHeight), frxFitCount(pageHeight, sheetWidth), true};
    return turned.columns * turned.rows < asIs.columns * asIs.rows ? turned : asIs;
}

TfrxSheetGrid frxJoinGrid(double pageWidth, double pageHeight, double sheetWidth, double sheetHeight)
{
    const auto places = [](double sheet, double page) { return page > 0 ? std::max(1, int(sheet / page)) : 1; };
    return {places(sheetWidth, pageWidth), places(sheetHeight, pageHeight), false};
}

}  // namespace vornak
