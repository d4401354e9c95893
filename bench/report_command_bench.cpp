// `vornak-db report` on a log book with 10,000 expense types in the period: the whole process
// (start-up, opening the log book, preparing the report, writing the PDF file, ending) against
// the report tab's own "save as PDF" in this process on the log book it has open (opening the
// report queries, preparing the pages, drawing them into the PDF file and putting it in place),
// measured in one run. Prints the ratio whole process / in process at the end, from the medians of
// repetitions taken in random order. The first report starts the report service (see
// tools/report_service.h), and the later ones run in it, as they do for a user who makes several
// reports in a row; its CPU figure is then that of vornak-db alone (the kernel's account of the
// ended child), the report's work being the service's.
#include "bench/bench_support.h"
#include "data/data_module.h"
#include "platform/fonts.h"
#include "report/draw/pdf_export.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "report/period/period_report_pdf.h"
#include "tools/log_book_schema.h"
#include "tools/vehicle_lookup.h"

#include <malloc.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace vornak;

namespace {

constexpr int expenseTypes = 10'000;
constexpr int readings = 1'000;
const QDate first(2000, 1, 1);
const QDate last(2100, 12, 31);
// Single repetitions vary by about 7 % on a lightly loaded two-core machine; the ratio of the
// medians over this many moves by a few hundredths from run to run there. Heavy load from other
// programs slows the whole process (a fresh start, its memory faulted in) more than the work in
// this warm process: compare runs made on a quiet machine.
constexpr int repetitions = 15;

// Vehicle "A" with its readings and one expense of each of 10,000 types, all in the period.
struct LogBook {
    QTemporaryDir dir;
    QString path = dir.filePath(log_book::fileName);
    QString pdf = dir.filePath(QStringLiteral("card.pdf"));

    LogBook()
    {
        bench::createLogBook(path, readings);
        bench::addExpenseTypes(path, expenseTypes, 45000);
    }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

void BM_Report_WholeProcess(benchmark::State &state)
{
    const QStringList args = {QStringLiteral("report"),    logBook().path,
                              QStringLiteral("--vehicle"), QStringLiteral("A"),
                              QStringLiteral("--from"),    first.toString(Qt::ISODate),
                              QStringLiteral("--to"),      last.toString(Qt::ISODate),
                              QStringLiteral("--pdf"),     logBook().pdf};
    double cpu = 0;
    for (auto _ : state) {
        QFile::remove(logBook().pdf);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        const double cpuBefore = bench::childrenCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(VORNAK_DB_PATH), args);
        process.waitForFinished(-1);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        cpu += bench::childrenCpuSeconds() - cpuBefore;
        if (process.exitCode() != 0)
            state.SkipWithError("vornak-db report failed");
    }
    state.counters[bench::processCpuCounter] = cpu / double(state.iterations());
    state.counters["bytes"] = double(QFile(logBook().pdf).size());
}

void BM_Report_InProcess(benchmark::State &state)
{
    TDataModule1 dataModule(log_book::connectionString(logBook().path));
    log_book::selectVehicle(dataModule, QStringLiteral("A"));
    PeriodReport period;
    period.bind(dataModule);
    int pages = 0;
    for (auto _ : state) {
        // The heap as a new process has it: what the last run freed goes back to the system, and
        // this run faults its memory in again, as the command does.
        malloc_trim(0);
        QElapsedTimer timer;
        timer.start();
        PdfFile pdf(logBook().pdf);
        if (!WritePeriodReportPdf(period, dataModule, dataModule.TableSprAutoid->AsString(), first, last, pdf))
            state.SkipWithError("preparation failed");
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        pages = period.frxReport1->PreviewPages()->Count();
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = double(QFile(logBook().pdf).size());
}

}  // namespace

BENCHMARK(BM_Report_WholeProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(repetitions);
BENCHMARK(BM_Report_InProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Repetitions(repetitions);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(
        argc, argv,
        [] {
            registerFonts();
            logBook();
        },
        "_InProcess");
}
