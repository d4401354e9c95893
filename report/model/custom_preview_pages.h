#pragma once

// What the band engine, the preview and printing see of the prepared pages: the operations of
// the store, independent of how it keeps the pages.
//
// Drawing a page, the preview's hit test and printing (`DrawPage`, `ObjectOver`, `Print`) work
// on the pages PageAt rebuilds and belong to the drawing, preview and printing folders, which
// sit above this one; they take the store through this interface.

#include <QSize>
#include <QString>

namespace vornak {

class TfrxBand;
class TfrxComponent;
class TfrxPage;
class TfrxReportPage;

// Whether AddPage starts a page after the last one or writes over an existing one (a later
// pass of a two-pass report).
enum TfrxAddPageAction : int { apWriteOver, apAdd };

// What the store needs to know about the band engine while it runs. The engine keeps this up
// to date; outside a preparation it stays at its defaults.
struct TfrxPagesEngineState {
    bool Running = false;     // lookups in the page cache are skipped: every PageAt rebuilds
    bool DoublePass = false;  // the report is prepared in two passes
    bool FinalPass = true;    // the pass being run is the last one
    int TotalPages = 0;       // the engine's page count (logical totals without a record)
    double CurY = 0;          // the current Y on the page (anchors)

    bool FirstPassOfTwo() const { return Running && DoublePass && !FinalPass; }
    bool FinalPassOfTwo() const { return Running && DoublePass && FinalPass; }
};

class TfrxCustomPreviewPages {
public:
    virtual ~TfrxCustomPreviewPages() = default;

    // While preparing (the band engine).
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

    // Reading (the preview and printing).
    virtual int Count() = 0;
    // The rebuilt page; nullptr when there are no pages. It belongs to the page cache: use it
    // before the next call that changes the cache. An index outside the pages raises EngineError.
    virtual TfrxReportPage *PageAt(int index) = 0;
    // Width and height in whole pixels; (0, 0) for an index outside the pages.
    virtual QSize PageSizeAt(int index) = 0;
    // Empties the page cache (printing does it after every printed page).
    virtual void ClearCache() = 0;
    virtual void AddEmptyPage(int index) = 0;
    virtual void DeletePage(int index) = 0;
    virtual void ModifyPage(int index, TfrxReportPage *page) = 0;

    int CurPage = -1;  // the page being prepared; -1 when empty
    TfrxAddPageAction AddPageAction = apAdd;
    int CurPreviewPage = 0;  // the page the preview shows (printing the current page)
    TfrxPagesEngineState Engine;
};

}  // namespace vornak
