#include "report/draw/view_drawing.h"

#include "report/draw/colors.h"
#include "report/draw/memo_drawing.h"
#include "report/draw/painter_state.h"
#include "report/model/custom_memo_view.h"

#include <QPainter>
#include <QScopeGuard>

namespace vornak {

namespace {

// Qt's pen for each frame line style, in the order of TfrxFrameStyle (fsSolid .. fsSquare); the
// double line is drawn single, the alternate and square dots as dots.
constexpr Qt::PenStyle penStyles[] = {Qt::SolidLine,      Qt::DashLine,  Qt::DotLine, Qt::DashDotLine,
                                      Qt::DashDotDotLine, Qt::SolidLine, Qt::DotLine, Qt::DotLine};

// Qt's hatch for each brush style, in the order of TBrushStyle (bsSolid .. bsDiagCross); solid and
// clear brushes hatch nothing.
constexpr Qt::BrushStyle hatchStyles[] = {Qt::NoBrush,      Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                          Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};

template <class T, size_t N>
T styleAt(const T (&table)[N], int index, T fallback)
{
    return index >= 0 && size_t(index) < N ? table[index] : fallback;
}

// One side of a frame: the line it is drawn with and its end points before pulling in.
struct FrameSide {
    TfrxFrameType side;
    TfrxFrameLine TfrxFrame::*line;
    bool vertical;
};
constexpr FrameSide frameSides[] = {
    {ftLeft, &TfrxFrame::LeftLine, true},
    {ftRight, &TfrxFrame::RightLine, true},
    {ftTop, &TfrxFrame::TopLine, false},
    {ftBottom, &TfrxFrame::BottomLine, false},
};

}  // namespace

void frxDrawBackground(QPainter &canvas, TColor color, const TfrxViewRect &rect, TBrushStyle brushStyle,
                       TColor hatchColor)
{
    if (brushStyle == bsClear)
        return;
    const QRect area(rect.X0, rect.Y0, rect.X1 - rect.X0, rect.Y1 - rect.Y0);
    const QColor fill = frxQColor(color);
    if (fill.isValid())
        canvas.fillRect(area, fill);
    const Qt::BrushStyle hatch = styleAt(hatchStyles, brushStyle, Qt::NoBrush);
    const QColor hatchFill = frxQColor(hatchColor);
    if (hatch != Qt::NoBrush && hatchFill.isValid())
        canvas.fillRect(area, QBrush(hatchFill, hatch));
}

void frxDrawShadow(QPainter &canvas, const TfrxFrame &frame, const TfrxViewRect &rect, const TfrxDrawScale &scale)
{
    const QColor color = frxQColor(frame.ShadowColor());
    if (!frame.DropShadow() || !color.isValid())
        return;
    const int width = frxRound(scale.ScaleX * frame.ShadowWidth());
    const int height = frxRound(scale.ScaleY * frame.ShadowWidth());
    canvas.fillRect(QRect(rect.X1, rect.Y0 + height, width, rect.Y1 - rect.Y0), color);
    canvas.fillRect(QRect(rect.X0 + width, rect.Y1, rect.X1 - rect.X0, height), color);
}

void frxDrawViewFrame(QPainter &canvas, const TfrxView &view, const TfrxViewRect &rect, const TfrxDrawScale &scale)
{
    frxDrawBackground(canvas, view.Color(), rect, view.BrushStyle(), view.Frame().Color());
    frxDrawShadow(canvas, view.Frame(), rect, scale);
    frxDrawFrame(canvas, view.Frame(), rect, scale.ScaleX);
}

void frxDrawFrame(QPainter &canvas, const TfrxFrame &frame, const TfrxViewRect &rect, double scaleX)
{
    const TfrxFrameTypes typ = frame.Typ();
    if (typ == 0 || frame.Color() == clNone || frame.Width() == 0)
        return;
    // Frames are drawn without antialiasing. The hint is only touched when it is on: setting it
    // marks the painter's hints as changed, which the paint engine takes up again before the next
    // line, for every frame of every page.
    const bool antialiased = canvas.testRenderHint(QPainter::Antialiasing);
    if (antialiased)
        canvas.setRenderHint(QPainter::Antialiasing, false);
    const auto restoreHint = qScopeGuard([&] {
        if (antialiased)
            canvas.setRenderHint(QPainter::Antialiasing, true);
    });
    const auto penOf = [&](const TfrxFrameLine &line) {
        return QPen(frxQColor(line.Color), frxRound(line.Width * scaleX), styleAt(penStyles, line.Style, Qt::SolidLine),
                    Qt::SquareCap, Qt::MiterJoin);
    };
    // Four alike sides are one closed rectangle: the same pixels, a quarter of the output.
    const TfrxFrameLine &left = frame.LeftLine;
    if (typ == (ftLeft | ftRight | ftTop | ftBottom) && frame.RightLine == left && frame.TopLine == left &&
        frame.BottomLine == left) {
        if (!frxQColor(left.Color).isValid())
            return;
        canvas.setPen(penOf(left));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(QPoint(rect.X0, rect.Y0), QPoint(rect.X1, rect.Y1)).normalized().adjusted(0, 0, -1, -1));
        return;
    }
    for (const FrameSide &side : frameSides) {
        if (!(typ & side.side))
            continue;
        const TfrxFrameLine &line = frame.*side.line;
        const QColor color = frxQColor(line.Color);
        if (!color.isValid())
            continue;
        const int width = frxRound(line.Width * scaleX);
        const int half = width / 2;
        const auto pull = [&](TfrxFrameType neighbour) { return (typ & neighbour) ? 0 : half; };
        QLine segment;
        if (side.vertical) {
            const int x = side.side == ftLeft ? rect.X0 : rect.X1;
            segment = QLine(x, rect.Y0 + pull(ftTop), x, rect.Y1 - pull(ftBottom));
        } else {
            const int y = side.side == ftTop ? rect.Y0 : rect.Y1;
            segment = QLine(rect.X0 + pull(ftLeft), y, rect.X1 - pull(ftRight), y);
        }
        canvas.setPen(penOf(line));
        canvas.drawLine(segment);
    }
}

void frxDrawView(TfrxView &view, QPainter &canvas, const TfrxDrawScale &scale, const TfrxDrawInfo &info)
{
    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(&view)) {
        frxDrawMemo(*memo, canvas, scale, info);
        return;
    }
    frxDrawViewFrame(canvas, view, frxViewRect(view, scale), scale);
}

}  // namespace vornak
