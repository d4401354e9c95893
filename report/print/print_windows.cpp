#include "report/print/print_windows.h"

#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/print/print_dialog.h"
#include "report/print/progress.h"

#include <memory>

namespace vornak {

TfrxPrintEvents frxPrintWindows(TfrxReport &report)
{
    TfrxPrintEvents events;
    events.ShowDialog = [&report](TfrxPrintOptions &options, QString &fileName) {
        TfrxCustomPreviewPages *pages = report.PreviewPages();
        TfrxPrintDialog dialog(options, pages ? pages->Count() : 0, pages ? pages->CurPreviewPage + 1 : 1);
        if (!dialog.Execute())
            return false;
        fileName = dialog.FileName();
        return true;
    };
    // One progress window per print, shared by the three events.
    auto progress = std::make_shared<std::unique_ptr<TfrxProgress>>();
    events.PrintStarted = [&report, progress] {
        *progress = std::make_unique<TfrxProgress>([&report] { report.Terminated = true; });
        (*progress)->Start();
    };
    events.PrintProgress = [progress](int, const QString &message) {
        if (*progress)
            (*progress)->SetMessage(message);
    };
    events.PrintStopped = [progress] { progress->reset(); };
    return events;
}

}  // namespace vornak
