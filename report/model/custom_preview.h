#pragma once

#include <QString>

namespace vornak {

class TfrxCustomPreviewPages;
class TfrxReport;

// The preview control a report shows its prepared pages in (implemented by the report view).
class TfrxCustomPreview {
public:
    virtual ~TfrxCustomPreview() = default;
    virtual QString Name() const = 0;
    // Takes the report and its prepared pages store and shows the pages prepared so far (the
    // report's ShowPreparedReport); pages added later arrive through the store's progress.
    virtual void Init(TfrxReport &report, TfrxCustomPreviewPages &pages) = 0;
    // Prepares the shown report again and redraws it at the same page and scroll position;
    // nothing when no report has been shown.
    virtual void RefreshReport() = 0;
};

}  // namespace vornak
