#pragma once

// The prepared pages store as the report, the engine, the preview and printing use it. The store
// itself (TfrxPreviewPages, report/pages) implements these operations; the report owns one
// (its PreviewPages).
//
// Drawing a page, the preview's hit test and printing (`DrawPage`, `ObjectOver`, `Print`) work on
// the pages PageAt rebuilds; they join this interface with the stages that draw, preview and
// print, which sit above the store.

#include <QSize>
#include <QString>

namespace vornak {

class TfrxComponent;
class TfrxBand;
class TfrxReportPage;

class TfrxCustomPreviewPages {
public:
    // Whether AddPage starts a page after the last one or writes over an existing one (a later
    // pass of a two-pass report).
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
    // Drops the links between source copies and template objects (Finish does it too); the
    // report calls it before it frees its template.
    virtual void UnlinkSourcePages() = 0;

    // Used by the preview and printing.
    virtual int Count() = 0;
    // The rebuilt page; nullptr when there are no pages. It belongs to the page cache: use it
    // before the next call that changes the cache. An index outside 0..Count-1 raises EngineError.
    virtual TfrxReportPage *PageAt(int index) = 0;
    // Whole pixels; (0, 0) for an index outside 0..Count-1.
    virtual QSize PageSizeAt(int index) = 0;
    // Empties the page cache (printing does it after every printed page).
    virtual void ClearCache() = 0;
    virtual void AddEmptyPage(int index) = 0;
    virtual void DeletePage(int index) = 0;
    virtual void ModifyPage(int index, TfrxReportPage *page) = 0;
};

}  // namespace vornak
