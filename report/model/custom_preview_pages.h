#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace vornak {

class TfrxComponent;
class TfrxBand;
class TfrxReportPage;

// The prepared pages store as the report, the engine, the preview and printing use it. The store
// itself (TfrxPreviewPages, report/pages) implements these operations; the report owns one
// (its PreviewPages).
class TfrxCustomPreviewPages {
public:
    enum TfrxAddPageAction { apWriteOver, apAdd };

    virtual ~TfrxCustomPreviewPages() = default;

    TfrxAddPageAction AddPageAction = apAdd;
    int CurPage = -1;        // the current page index; -1 when empty
    int CurPreviewPage = 0;  // the page the preview shows (printing the current page)

    // Used by the engine while preparing.
    virtual void Clear() = 0;
    virtual void Initialize() = 0;
    virtual void BeginPass() = 0;
    virtual void AddSourcePage(TfrxReportPage *page) = 0;
    virtual void AddPage(TfrxReportPage *page) = 0;
    virtual void AddObject(TfrxComponent *object) = 0;
    virtual void AddToSourcePage(TfrxComponent *object) = 0;
    virtual bool BandExists(TfrxBand *band) = 0;
    virtual int GetCurPosition() = 0;
    virtual void CutObjects(int position) = 0;
    virtual void PasteObjects(double x, double y) = 0;
    virtual double GetLastY(double columnPosition = 0) = 0;
    virtual void IncLogicalPageNumber() = 0;
    virtual void ResetLogicalPageNumber() = 0;
    virtual int GetLogicalPageNo() = 0;
    virtual int GetLogicalTotalPages() = 0;
    virtual void AddAnchor(const QString &text) = 0;
    virtual int GetAnchorCurPosition() = 0;
    virtual void ShiftAnchors(int from, double newTop) = 0;
    virtual void ClearFirstPassPages() = 0;
    virtual void Finish() = 0;

    // Used by the preview and printing.
    virtual int Count() = 0;
    // The rebuilt page; nullptr when there are no pages.
    virtual TfrxReportPage *PageAt(int index) = 0;
    // Whole pixels; (0, 0) for an index outside 0..Count-1.
    virtual QSize PageSizeAt(int index) = 0;
    virtual void DrawPage(int index, QPainter &canvas, double scaleX, double scaleY, double offsetX,
                          double offsetY) = 0;
    virtual void AddEmptyPage(int index) = 0;
    virtual void DeletePage(int index) = 0;
    virtual void ModifyPage(int index, TfrxReportPage *page) = 0;
};

}  // namespace vornak
