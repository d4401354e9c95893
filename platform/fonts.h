#pragma once

#include <QFont>

namespace vornak {

// Registers the fonts the windows and reports are drawn with ("Tahoma", "Tahoma Bold",
// "MS Sans Serif") and maps "Arial" to its metric-compatible substitute. Idempotent; call once
// the Qt application exists.
void registerFonts();

// The font of the system's windows and grids: "Tahoma", 13 pixels high.
QFont windowFont();

}  // namespace vornak
