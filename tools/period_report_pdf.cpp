#include "tools/period_report_pdf.h"

#include "data/data_module.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/regional_settings.h"
#include "report/draw/pdf_export.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "report/period/period_report_pdf.h"
#include "tools/log_book_schema.h"
#include "tools/output_file.h"
#include "tools/vehicle_lookup.h"

#include <QRegularExpression>

namespace vornak::log_book {

QDate commandLineDate(const QString &text)
{
    // The reader of this form would take a sign or a fifth digit; the year must be typed as four.
    static const QRegularExpression isoForm(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    if (const QDate iso = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        iso.isValid() && isoForm.match(text).hasMatch() && iso.year() >= date_time::firstYear)
        return iso;
    if (const auto regional = date_time::parseDate(text))
        return date_time::datePart(*regional);
    const QDate example(2026, 11, 1);
    throw Error(QStringLiteral("'%1' is not a date: write it as %2 or %3.")
                    .arg(text, example.toString(Qt::ISODate),
                         date_time::format(date_time::encode(example), RegionalSettings::current().shortDateFormat)));
}

void writePeriodReportPdf(const PeriodReportRequest &request)
{
    if (request.first > request.last)
        throw Error(QStringLiteral("The period ends before it begins."));
    PdfFile pdf(writableTarget(request.pdf));
    TDataModule1 dataModule(connectionString(request.logBook, Access::ReadOnly), TDataModule1::Lists::Closed);
    refuseDatabaseAsOutput(request.pdf);
    selectVehicle(dataModule, request.vehicle);
    PeriodReport period;
    period.bind(dataModule);
    period.frxReport1->EngineOptions.NewSilentMode = simReThrow;  // errors go to standard error, not to a message box
    if (!WritePeriodReportPdf(period, dataModule, dataModule.TableSprAutoid->AsString(), request.first, request.last,
                              pdf))
        throw EngineError(QStringLiteral("The report could not be prepared."));
}

}  // namespace vornak::log_book
