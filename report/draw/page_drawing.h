#pragma once

#include "report/draw/view_drawing.h"

class QPainter;

namespace vornak {

class TfrxReportPage;

// Draws a prepared page (`index` is its page number from 0) on any canvas at any scale; `scale`
// places the page's top-left paper corner. On a canvas that is not the printer's the drawing is
// clipped to the paper. Mirrored margins swap left and right on odd pages for the draw. Views
// more than 20 device pixels outside the canvas's clipping region are skipped, and on the
// printer the ones that are not printable. The page is left as it was.
void frxDrawPage(TfrxReportPage &page, int index, QPainter &canvas, const TfrxDrawScale &scale,
                 const TfrxDrawInfo &info = {});

}  // namespace vornak
