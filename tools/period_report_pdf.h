#pragma once

#include <memory>
#include <QDate>
#include <QString>

namespace vornak {
class PeriodReport;
}

namespace vornak::log_book {

// What `vornak-db report` prepares: the period report of one vehicle of a log book, as a PDF file.
struct PeriodReportRequest {
    QString logBook;  // the log book file
    QString vehicle;  // its key or its name
    QDate first;
    QDate last;
    QString pdf;  // the PDF file written
};

// A period report kept for the requests of a process that makes several, one after another (the
// report service): made once, with the program's fonts registered and the template read, and bound
// to each request's log book in turn, as the report tab keeps its report.
class PeriodReportAhead {
public:
    PeriodReportAhead();
    ~PeriodReportAhead();
    PeriodReportAhead(const PeriodReportAhead &) = delete;
    PeriodReportAhead &operator=(const PeriodReportAhead &) = delete;

    PeriodReport &report() { return *report_; }

private:
    std::unique_ptr<PeriodReport> report_;
};

// Prepares the period report as the report tab does (template, queries, script, band engine) and
// writes its pages as PDF. The PDF file appears whole or not at all; a path that cannot be
// written, or that is the log book or another database, fails before the report is prepared.
// The log book is only read. Registers the program's fonts and reads the template, unless `ahead`
// has done so. Raises Error with the message to show.
void writePeriodReportPdf(const PeriodReportRequest &request, PeriodReportAhead *ahead = nullptr);

// A date of the command line: ISO (2026-11-01) or the regional short date; raises Error.
QDate commandLineDate(const QString &text);

}  // namespace vornak::log_book
