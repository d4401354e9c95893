#include "report/period/period_report_pdf.h"

#include "report/draw/pdf_export.h"
#include "report/engine/report_preparation.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "report/period/period_report_queries.h"

namespace vornak {

bool WritePeriodReportPdf(PeriodReport &period, TDataModule1 &dataModule, const QString &vehicleId, const QDate &first,
                          const QDate &last, PdfFile &file)
{
    period.open(dataModule, vehicleId, first, last);
    TfrxReport &report = *period.frxReport1;
    if (!PrepareReport(report))
        return false;
    file.commit(*report.PreviewPages(), period.vehicleName() + u' ' + PeriodCaption(first, last));
    return true;
}

}  // namespace vornak
