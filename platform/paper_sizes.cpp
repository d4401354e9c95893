#include "platform/paper_sizes.h"

#include <cmath>
#include <QPageSize>
#include <QSizeF>

namespace vornak {

namespace {

// Code 14 (folio, 8.5 x 13 in) has no page size id of its own in Qt.
constexpr PaperSize kFolio{14, 2159, 3302};

QList<PaperSize> buildTable()
{
    QList<PaperSize> table;
    for (int code = 1; code <= 68; ++code) {
        if (code == 48 || code == 49)
            continue;
        if (code == kFolio.code) {
            table.append(kFolio);
            continue;
        }
        const QSizeF mm = QPageSize(QPageSize::id(code)).size(QPageSize::Millimeter);
        table.append({code, int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10))});
    }
    return table;
}

}  // namespace

const QList<PaperSize> &standardPaperSizes()
{
    static const QList<PaperSize> table = buildTable();
    return table;
}

std::optional<PaperSize> findPaperSize(int code)
{
    for (const PaperSize &paper : standardPaperSizes())
        if (paper.code == code)
            return paper;
    return std::nullopt;
}

}  // namespace vornak
