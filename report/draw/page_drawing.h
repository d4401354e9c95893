#pragma once

#include "report/draw/view_drawing.h"

class QPainter;

namespace vornak {

class TfrxCustomPreviewPages;
class TfrxReportPage;

// Draws a prepared page (`index` is its page number from 0) on any canvas at any scale; `scale`
// places the page's top-left paper corner. On a canvas that is not the printer's the drawing is
// clipped to the paper. Mirrored margins swap left and right on odd pages for the draw. Views
// more than 20 device pixels outside the canvas's clipping region are skipped, and on the
// printer the ones that are not printable. The page is left as it was.
void frxDrawPage(TfrxReportPage &page, int index, QPainter &canvas, const TfrxDrawScale &scale,
                 const TfrxDrawInfo &info = {});

// DrawPage of the prepared pages store: draws page `index` as the store rebuilds it (PageAt), its
// texts getting the store's page count; nothing for an index outside the store's pages.
void DrawPage(TfrxCustomPreviewPages &pages, int index, QPainter &canvas, double scaleX, double scaleY, double offsetX,
              double offsetY, int copyNo = 0, double printScale = 1);

}  // namespace vornak
