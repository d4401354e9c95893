#pragma once

class QPainter;

namespace vornak {

class TfrxCustomMemoView;
class TfrxReportPage;

// The report's text layout engine as the model sees it (TfrxDrawText in report/draw implements
// it; the report holds one): measuring a text object for stretching and automatic width, and
// drawing a prepared page for the prepared pages store.
class TfrxCustomDrawText {
public:
    virtual ~TfrxCustomDrawText() = default;
    // The height the object's text needs at its width (frame gaps included).
    virtual double CalcHeight(const TfrxCustomMemoView &memo) = 0;
    // The width of the object's longest line (frame gaps included).
    virtual double CalcWidth(const TfrxCustomMemoView &memo) = 0;
    // Draws a rebuilt prepared page (`index` from 0) with its top-left paper corner at
    // (offsetX, offsetY) device pixels; its texts get the page count, the copy number and the
    // print scale.
    virtual void DrawPage(TfrxReportPage &page, int index, QPainter &canvas, double scaleX, double scaleY,
                          double offsetX, double offsetY, int totalPages, int copyNo, double printScale) = 0;
};

}  // namespace vornak
