#include "report/draw/view_geometry.h"

#include "platform/number_format.h"
#include "report/model/custom_memo_view.h"

namespace vornak {

int frxRound(double value)
{
    return int(roundHalfEven(value));
}

TfrxViewRect frxViewRect(const TfrxView &view, const TfrxDrawScale &scale)
{
    const TfrxFrame &frame = view.Frame();
    const double left = view.AbsLeft();
    const double top = view.AbsTop();
    TfrxViewRect r;
    r.X0 = frxRound(scale.OffsetX + scale.ScaleX * left);
    r.Y0 = frxRound(scale.OffsetY + scale.ScaleY * top);
    r.X1 = frxRound(scale.OffsetX + scale.ScaleX * (left + view.Width()));
    r.Y1 = frxRound(scale.OffsetY + scale.ScaleY * (top + view.Height()));
    if (frame.DropShadow()) {
        r.X1 -= frxRound(scale.ScaleX * frame.ShadowWidth());
        r.Y1 -= frxRound(scale.ScaleY * frame.ShadowWidth());
    }
    r.FrameWidth = frxRound(scale.ScaleX * frame.Width());
    return r;
}

TfrxRect frxMemoTextRect(const TfrxCustomMemoView &memo, const TfrxViewRect &rect, const TfrxDrawScale &scale)
{
    const TfrxFrame &frame = memo.Frame();
    const double w = frame.Width();
    const auto has = [&](TfrxFrameType side) { return (frame.Typ() & side) != 0; };
    TfrxRect r;
    r.Left = rect.X0 + (has(ftLeft) ? frxRound((scale.ScaleX * w - 1) / 2) : 0) + frxRound(scale.ScaleX * memo.GapX());
    r.Top = rect.Y0 + (has(ftTop) ? frxRound((scale.ScaleY * w - 1) / 2) : 0) + frxRound(scale.ScaleY * memo.GapY());
    r.Right = rect.X1 - (has(ftRight) ? frxRound(scale.ScaleX * w / 2) : 0) - frxRound(scale.ScaleX * memo.GapX()) + 1;
    r.Bottom =
        rect.Y1 - (has(ftBottom) ? frxRound(scale.ScaleY * w / 2) : 0) - frxRound(scale.ScaleY * memo.GapY()) + 1;
    return r;
}

}  // namespace vornak
