#pragma once

#include "report/model/report_types.h"

namespace vornak {

// One side of a frame.
struct TfrxFrameLine {
    TColor Color = clBlack;
    TfrxFrameStyle Style = fsSolid;
    double Width = 1;

    bool operator==(const TfrxFrameLine &) const = default;
};

// The border of a view. Setting the frame's colour, style or width sets all four sides.
class TfrxFrame {
public:
    TfrxFrameTypes Typ() const { return typ_; }
    void SetTyp(TfrxFrameTypes value) { typ_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TfrxFrameStyle Style() const { return style_; }
    void SetStyle(TfrxFrameStyle value);
    double Width() const { return width_; }
    void SetWidth(double value);
    bool DropShadow() const { return dropShadow_; }
    void SetDropShadow(bool value) { dropShadow_ = value; }
    double ShadowWidth() const { return shadowWidth_; }
    void SetShadowWidth(double value) { shadowWidth_ = value; }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value) { shadowColor_ = value; }

    TfrxFrameLine LeftLine;
    TfrxFrameLine TopLine;
    TfrxFrameLine RightLine;
    TfrxFrameLine BottomLine;

    bool operator==(const TfrxFrame &) const = default;

private:
    TfrxFrameTypes typ_ = 0;
    TColor color_ = clBlack;
    TfrxFrameStyle style_ = fsSolid;
    double width_ = 1;
    bool dropShadow_ = false;
    double shadowWidth_ = 4;
    TColor shadowColor_ = clBlack;
};

}  // namespace vornak
