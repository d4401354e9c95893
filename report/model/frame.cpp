#include "report/model/frame.h"

namespace vornak {

void TfrxFrame::SetColor(TColor value)
{
    color_ = value;
    LeftLine.Color = TopLine.Color = RightLine.Color = BottomLine.Color = value;
}

void TfrxFrame::SetStyle(TfrxFrameStyle value)
{
    style_ = value;
    LeftLine.Style = TopLine.Style = RightLine.Style = BottomLine.Style = value;
}

void TfrxFrame::SetWidth(double value)
{
    width_ = value;
    LeftLine.Width = TopLine.Width = RightLine.Width = BottomLine.Width = value;
}

}  // namespace vornak
