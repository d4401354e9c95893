#pragma once

#include <QImage>

namespace vornak {

// The 6 × 11 glyphs of the indicator column, black on transparent, made once for all grids.
enum class IndicatorGlyph { Arrow, Edit, Insert, MultiArrow, MultiDot };

const QImage &indicatorGlyph(IndicatorGlyph glyph);

}  // namespace vornak
