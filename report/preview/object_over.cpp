#include "report/preview/object_over.h"

#include "report/draw/view_geometry.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report_page.h"
#include "report/model/view.h"

namespace vornak {

TfrxObjectOver ObjectOver(TfrxCustomPreviewPages &pages, int index, QPoint mouse, double scale, QPoint pageOrigin,
                          bool useHints)
{
    TfrxObjectOver result;
    if (index < 0 || index >= pages.Count())
        return result;
    TfrxReportPage *page = pages.PageAt(index);
    if (!page)
        return result;
    const TfrxDrawScale printable{scale, scale, pageOrigin.x() + page->LeftMargin() * fr01cm * scale,
                                  pageOrigin.y() + page->TopMargin() * fr01cm * scale};
    const QList<TfrxComponent *> objects = page->AllObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
        const auto *view = dynamic_cast<const TfrxView *>(*it);
        if (!view)
            continue;
        const bool hintShown = useHints && view->ShowHint();
        const TfrxViewRect r = frxViewRect(*view, printable);
        if (mouse.x() >= r.X0 && mouse.x() <= r.X1 && mouse.y() >= r.Y0 && mouse.y() <= r.Y1) {
            result.Object = view;
            result.Cursor = view->Cursor();
            if (hintShown && !view->Hint().isEmpty()) {
                result.Hint = TfrxObjectOver::HintShown;
                result.HintText = view->Hint().section(QLatin1Char('|'), 0, 0);
            }
            return result;
        }
        if (hintShown)
            result.Hint = TfrxObjectOver::HintHidden;
    }
    return result;
}

}  // namespace vornak
