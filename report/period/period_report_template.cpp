#include "report/period/period_report_template.h"

#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/custom_draw_text.h"
#include "report/model/custom_memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/script/report_text.h"

#include <QFile>
#include <QScopedValueRollback>
#include <QScopeGuard>

#include <algorithm>

static void initPeriodReportResource()
{
    Q_INIT_RESOURCE(period_report);
}

namespace vornak {

namespace {

// The caption over the title ("Карточка автомобиля <name>" and the period) has room for two
// lines. A vehicle name that needs more makes the caption grow, and the title band grows by as
// much, its objects moving down with everything printed after it, so the period never hides
// behind the mileage table. Names that fit move nothing. The title never grows beyond the page.
void letTitleHoldTheCaption(TfrxReport &report)
{
    auto *title = dynamic_cast<TfrxBand *>(report.FindObject(QStringLiteral("ReportTitle1")));
    auto *caption = dynamic_cast<TfrxCustomMemoView *>(report.FindObject(QStringLiteral("Memo1")));
    if (!title || !caption)
        return;
    title->AfterCalcHeight = [caption](TfrxBand &band) {
        TfrxReport *owner = band.Report();
        TfrxCustomDrawText *drawText = owner ? owner->DrawText() : nullptr;
        const auto *page = dynamic_cast<const TfrxReportPage *>(band.Page());
        if (!drawText || !page)
            return;
        // The caption prints after the title: its text is computed here once more to measure it.
        caption->BeforePrint();
        const auto restore = qScopeGuard([caption] { caption->AfterPrint(); });
        const QScopedValueRollback current(owner->CurObject, caption->Name());
        caption->GetData();
        const double needed = drawText->CalcHeight(*caption) - caption->Height();
        const double growth = std::min(needed, page->PrintableHeight() - band.Height());
        // The caption prints after the title in the same run: it stretches exactly when the
        // title grows for it.
        caption->SetStretchMode(growth > 0 ? smActualHeight : smDontStretch);
        if (growth <= 0)
            return;
        for (TfrxComponent *object : band.Objects())
            object->SetTop(object->Top() + growth);
        band.SetHeight(band.Height() + growth);
    };
}

}  // namespace

QString PeriodReportTemplateText()
{
    initPeriodReportResource();
    QFile file(QStringLiteral(":/report/period_report.xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(reportText("templateNotFound"));
    return QString::fromUtf8(file.readAll());
}

void LoadPeriodReportTemplate(TfrxReport &report, const TfrxTemplateLinks &links)
{
    TfrxTemplateReader(links).Read(PeriodReportTemplateText(), report);
    letTitleHoldTheCaption(report);
}

}  // namespace vornak
