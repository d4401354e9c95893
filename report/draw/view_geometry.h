#pragma once

// Where a view lands on the output device. Report coordinates are pixels at 96 per inch; a draw
// maps them to device pixels with a scale and the device position of the page's paper corner.
// Every conversion to whole device pixels rounds halves to the even neighbour.

#include "report/model/report_types.h"

#include <QRect>

namespace vornak {

class TfrxView;
class TfrxCustomMemoView;
class TfrxFrame;

// Scale (device pixels per report pixel) and offset (device position of the page's top-left
// corner) of one draw.
struct TfrxDrawScale {
    double ScaleX = 1;
    double ScaleY = 1;
    double OffsetX = 0;
    double OffsetY = 0;
};

// A rectangle in device pixels, right and bottom exclusive.
struct TfrxRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    bool operator==(const TfrxRect &) const = default;
};

// Nearest whole device pixel, halves to the even neighbour.
int frxRound(double value);

// The device rectangle of a view: corners x0, y0, x1, y1 (x1 and y1 are the corner pixels, a
// drop shadow taken off) and the frame width on the device.
struct TfrxViewRect {
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;
    int FrameWidth = 0;
    bool operator==(const TfrxViewRect &) const = default;
};

TfrxViewRect frxViewRect(const TfrxView &view, const TfrxDrawScale &scale);

// The rectangle a memo's text is laid out in: inside the frame sides and the gaps.
TfrxRect frxMemoTextRect(const TfrxCustomMemoView &memo, const TfrxViewRect &rect, const TfrxDrawScale &scale);

}  // namespace vornak
