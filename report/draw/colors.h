#pragma once

#include "report/model/report_types.h"

#include <QColor>

namespace vornak {

// A report colour (0x00BBGGRR, or a system colour with the high bit set) as Qt's; clNone and
// clTransparent give an invalid colour.
QColor frxQColor(TColor color);

}  // namespace vornak
