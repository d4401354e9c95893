#include "report/print/print_windows.h"

#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/print/print_dialog.h"
#include "report/print/progress.h"

#include <memory>
#include <QPointer>

namespace vornak {

TfrxPrintEvents frxPrintWindows(TfrxReport &report, QWidget *owner)
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
    events.PrintStarted = [&report, progress, owner = QPointer<QWidget>(owner)] {
        *progress = std::make_unique<TfrxProgress>([&report] { report.Terminated = true; }, owner);
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
