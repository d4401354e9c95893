#pragma once

class QFont;

namespace vornak {

// The text cell of a font as the grids measure it: the font's Windows ascent and descent
// (OS/2 table), each rounded to whole pixels, and its external leading. Fonts without that
// table fall back to Qt's metrics.
struct CellMetrics {
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;
    int height() const { return ascent + descent; }
};

CellMetrics cellMetrics(const QFont &font);

}  // namespace vornak
