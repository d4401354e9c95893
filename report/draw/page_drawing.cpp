// A page is drawn in three steps: the canvas is clipped to the paper (not on the printer, whose
// page is the paper), the page's own background fills the area inside the margins, and every view
// of the page, depth first, is drawn with the origin moved to that area.

#include "report/draw/page_drawing.h"

#include "report/draw/painter_state.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report_page.h"
#include "report/model/view.h"

#include <QPaintDevice>
#include <QPainter>
#include <QScopedValueRollback>

namespace vornak {

namespace {

constexpr int visibilityAllowance = 20;  // device pixels around a view that still count as visible

// The part of the canvas drawing can reach, in the painter's coordinates.
QRegion reachableRegion(const QPainter &canvas)
{
    if (canvas.hasClipping())
        return canvas.clipRegion();
    const QPaintDevice *device = canvas.device();
    const QRect whole(0, 0, device ? device->width() : 0, device ? device->height() : 0);
    return QRegion(canvas.deviceTransform().inverted().mapRect(whole));
}

// Swaps the page's left and right margins for its lifetime when the page mirrors them and is odd.
class MirroredMargins {
public:
    MirroredMargins(TfrxReportPage &page, int index)
        : page_(page),
          swapped_(page.MirrorMargins() && index % 2 == 1)
    {
        swap();
    }
    ~MirroredMargins() { swap(); }
    MirroredMargins(const MirroredMargins &) = delete;
    MirroredMargins &operator=(const MirroredMargins &) = delete;

private:
    void swap()
    {
        if (!swapped_)
            return;
        const double left = page_.LeftMargin();
        page_.SetLeftMargin(page_.RightMargin());
        page_.SetRightMargin(left);
    }

    TfrxReportPage &page_;
    bool swapped_;
};

}  // namespace

void frxDrawPage(TfrxReportPage &page, int index, QPainter &canvas, const TfrxDrawScale &scale,
                 const TfrxDrawInfo &info)
{
    const QPaintDevice *device = canvas.device();
    const bool printer = device && device->devType() == QInternal::Printer;
    const bool metafile = device && device->devType() == QInternal::Picture;

    const MirroredMargins margins(page, index);
    const PainterState state(canvas);
    if (!printer) {
        const int left = frxRound(scale.OffsetX);
        const int top = frxRound(scale.OffsetY);
        const int right = frxRound(page.PaperWidth() * fr01cm * scale.ScaleX + scale.OffsetX) - 1;
        const int bottom = frxRound(page.PaperHeight() * fr01cm * scale.ScaleY + scale.OffsetY) - 1;
        canvas.setClipRect(QRect(left, top, right - left, bottom - top),
                           canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }

    {
        const QScopedValueRollback printing(page.IsPrinting, printer);
        const double areaLeft = scale.OffsetX + scale.ScaleX * page.LeftMargin() * fr01cm;
        const double areaTop = scale.OffsetY + scale.ScaleY * page.TopMargin() * fr01cm;
        const TfrxViewRect area{
            frxRound(areaLeft), frxRound(areaTop), frxRound(areaLeft + scale.ScaleX * page.PrintableWidth()),
            frxRound(areaTop + scale.ScaleY * page.PrintableHeight()), frxRound(scale.ScaleX * page.Frame().Width())};
        frxDrawBackground(canvas, page.Color(), area);
        frxDrawFrame(canvas, page.Frame(), area, scale.ScaleX);
    }

    TfrxDrawScale inside = scale;
    inside.OffsetX += page.LeftMargin() * fr01cm * scale.ScaleX;
    inside.OffsetY += page.TopMargin() * fr01cm * scale.ScaleY;
    const QRegion reachable = reachableRegion(canvas);
    for (TfrxComponent *object : page.AllObjects()) {
        auto *view = dynamic_cast<TfrxView *>(object);
        if (!view)
            continue;
        const TfrxViewRect rect = frxViewRect(*view, inside);
        const QRect widened =
            QRect(QPoint(rect.X0, rect.Y0), QPoint(rect.X1, rect.Y1))
                .normalized()
                .adjusted(-visibilityAllowance, -visibilityAllowance, visibilityAllowance, visibilityAllowance);
        if (!metafile && !reachable.intersects(widened))
            continue;
        if (printer && !view->Printable())
            continue;
        const QScopedValueRollback printing(view->IsPrinting, printer);
        frxDrawView(*view, canvas, inside, info);
    }
}

void DrawPage(TfrxCustomPreviewPages &pages, int index, QPainter &canvas, double scaleX, double scaleY, double offsetX,
              double offsetY, int copyNo, double printScale)
{
    const int count = pages.Count();
    if (index < 0 || index >= count)
        return;
    if (TfrxReportPage *page = pages.PageAt(index))
        frxDrawPage(*page, index, canvas, {scaleX, scaleY, offsetX, offsetY}, {count, copyNo, printScale});
}

}  // namespace vornak
