#pragma once

#include <QString>

namespace vornak {

class TfrxCustomPreviewPages;
class TfrxReport;

// The preview control a report shows its prepared pages in (implemented by report/preview). The
// operations follow the order of the control's slots: Init, Lock, Unlock, RefreshReport and the
// three progress notices a preparation sends through the prepared pages store.
class TfrxCustomPreview {
public:
    virtual ~TfrxCustomPreview() = default;
    virtual QString Name() const = 0;
    // Takes the report and its prepared pages store and shows the pages prepared so far (the
    // report's ShowPreparedReport); pages added later arrive through the store's progress.
    virtual void Init(TfrxReport &report, TfrxCustomPreviewPages &pages) = 0;
    virtual void Lock() {}
    virtual void Unlock() {}
    // Prepares the shown report again in place, keeping the page and the scroll position.
    virtual void RefreshReport() {}
    // A preparation started; page `pageIndex` (from 0) was just added; the preparation ended.
    virtual void InternalOnProgressStart() {}
    virtual void InternalOnProgress(int pageIndex) { (void)pageIndex; }
    virtual void InternalOnProgressStop() {}
    // The report is being destroyed: the control clears itself and forgets it.
    virtual void ReportDestroyed() {}
};

}  // namespace vornak
