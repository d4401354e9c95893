#pragma once

#include "report/draw/view_geometry.h"

class QPainter;

namespace vornak {

class TfrxFrame;
class TfrxView;

// What a page hands to the memos it draws: the page count and copy number for the draw-time
// macros, and the print scale (used only while printing).
struct TfrxDrawInfo {
    int TotalPages = 0;
    int CopyNo = 0;
    double PrintScale = 1;
};

// Fills (x0, y0)-(x1, y1) with `color` unless it is "none"; a hatched brush style hatches it in
// `hatchColor` as well, and bsClear fills nothing.
void frxDrawBackground(QPainter &canvas, TColor color, const TfrxViewRect &rect, TBrushStyle brushStyle = bsSolid,
                       TColor hatchColor = clNone);

// The drop shadow of a frame: strips of the shadow width along the right and bottom edges.
void frxDrawShadow(QPainter &canvas, const TfrxFrame &frame, const TfrxViewRect &rect, const TfrxDrawScale &scale);

// Background, shadow and frame of a view.
void frxDrawViewFrame(QPainter &canvas, const TfrxView &view, const TfrxViewRect &rect, const TfrxDrawScale &scale);

// Draws the present sides of `frame` on the corners of `rect` in the order left, right, top,
// bottom, each with its own line: square pen ends meet and close the corners; an end that meets
// no other side is pulled in by half the pen width.
void frxDrawFrame(QPainter &canvas, const TfrxFrame &frame, const TfrxViewRect &rect, double scaleX);

// Draws a view: a memo with its text; any other view its background and frame.
void frxDrawView(TfrxView &view, QPainter &canvas, const TfrxDrawScale &scale, const TfrxDrawInfo &info = {});

}  // namespace vornak
