#include "tools/period_report_pdf.h"

#include "data/data_module.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/regional_settings.h"
#include "report/draw/pdf_export.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "report/period/period_report_pdf.h"
#include "tools/log_book_schema.h"
#include "tools/output_file.h"
#include "tools/vehicle_lookup.h"

#include <future>
#include <memory>
#include <QRegularExpression>
#include <QScopeGuard>

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

PeriodReportAhead::PeriodReportAhead()
{
    registerFonts();
    report_ = std::make_unique<PeriodReport>();
}

PeriodReportAhead::~PeriodReportAhead() = default;

void writePeriodReportPdf(const PeriodReportRequest &request, PeriodReportAhead *ahead)
{
    if (request.first > request.last)
        throw Error(QStringLiteral("The period ends before it begins."));
    // The log book opens (its key derived, its connection made, its tables read) on a thread of
    // its own while this one registers the report's fonts and reads its template: each takes
    // some milliseconds and needs nothing of the other. An error of the opening is raised where
    // the log book is taken, after any of the output, as it would be when opened in place; where
    // no thread can be started, it is opened there. With the report made ahead there is little to
    // do meanwhile: the log book opens where it is taken, sparing the start of a thread.
    RegionalSettings::current();  // read from the system on first use, safe on one thread only
    const auto where = ahead ? std::launch::deferred : std::launch::async | std::launch::deferred;
    auto opening = std::async(where, [file = connectionString(request.logBook, Access::ReadOnly)] {
        return std::make_unique<TDataModule1>(file, TDataModule1::Lists::Closed);
    });
    registerFonts();
    std::unique_ptr<TDataModule1> dataModule;  // outlives the report bound to it
    PdfFile pdf(writableTarget(request.pdf));
    std::unique_ptr<PeriodReport> own;
    PeriodReport *period = ahead ? &ahead->report() : (own = std::make_unique<PeriodReport>()).get();
    dataModule = opening.get();
    refuseDatabaseAsOutput(request.pdf);
    selectVehicle(*dataModule, request.vehicle);
    period->bind(*dataModule);
    const auto unbind = qScopeGuard([period] { period->unbind(); });  // before the log book closes
    period->frxReport1->EngineOptions.NewSilentMode = simReThrow;  // errors go to standard error, not to a message box
    if (!WritePeriodReportPdf(*period, *dataModule, dataModule->TableSprAutoid->AsString(), request.first, request.last,
                              pdf))
        throw EngineError(QStringLiteral("The report could not be prepared."));
}

}  // namespace vornak::log_book
