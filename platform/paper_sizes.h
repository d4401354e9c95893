#pragma once

#include <optional>
#include <QList>

namespace vornak {

// The printer layer's table of standard paper codes (the classic device-mode codes 1 to 68,
// without 48 and 49), with the size of each in tenths of a millimetre, portrait.
struct PaperSize {
    int code = 0;
    int width = 0;   // tenths of a millimetre
    int height = 0;  // tenths of a millimetre
};

const QList<PaperSize> &standardPaperSizes();
std::optional<PaperSize> findPaperSize(int code);

}  // namespace vornak
