// `vornak-db report` on a log book with 10,000 expense types in the period: the whole process
// (start-up, opening the log book, preparing the report, writing the PDF file, ending) against
// the report tab's own "save as PDF" in this process on the log book it has open (opening the
// report queries, preparing the pages, drawing them into the PDF file and putting it in place),
// measured in one run. Prints the ratio whole process / in process at the end, from the medians of
// repetitions taken in random order, and the median of the ratios of pairs run one right after
// the other (see BM_Report_WholeProcess), which the machine's changes of speed move far less. The
// first report starts the report service (see
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

// The report tab's "save as PDF" in this process, on the log book it keeps open.
class InProcessReport {
public:
    InProcessReport()
    {
        log_book::selectVehicle(dataModule_, QStringLiteral("A"));
        period_.bind(dataModule_);
    }

    // One run; its time in seconds, or a negative time when the preparation failed.
    double run()
    {
        // The heap as a new process has it: what the last run freed goes back to the system, and
        // this run faults its memory in again, as the command does.
        malloc_trim(0);
        QElapsedTimer timer;
        timer.start();
        PdfFile pdf(logBook().pdf);
        if (!WritePeriodReportPdf(period_, dataModule_, dataModule_.TableSprAutoid->AsString(), first, last, pdf))
            return -1;
        return timer.nsecsElapsed() / 1e9;
    }
    int pages() const { return period_.frxReport1->PreviewPages()->Count(); }

private:
    TDataModule1 dataModule_{log_book::connectionString(logBook().path)};
    PeriodReport period_;
};

// Each repetition also runs the report in this process just before the command, and gives the
// ratio of the two as the counter bench::pairedRatioCounter: the machine's speed, which drifts
// over seconds, is then the same for both halves of each pair.
void BM_Report_WholeProcess(benchmark::State &state)
{
    const QStringList args = {QStringLiteral("report"),    logBook().path,
                              QStringLiteral("--vehicle"), QStringLiteral("A"),
                              QStringLiteral("--from"),    first.toString(Qt::ISODate),
                              QStringLiteral("--to"),      last.toString(Qt::ISODate),
                              QStringLiteral("--pdf"),     logBook().pdf};
    InProcessReport inProcess;
    double cpu = 0;
    double ratios = 0;
    for (auto _ : state) {
        const double peer = inProcess.run();
        QFile::remove(logBook().pdf);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        const double cpuBefore = bench::childrenCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(VORNAK_DB_PATH), args);
        process.waitForFinished(-1);
        const double whole = timer.nsecsElapsed() / 1e9;
        state.SetIterationTime(whole);
        cpu += bench::childrenCpuSeconds() - cpuBefore;
        ratios += whole / peer;
        if (process.exitCode() != 0 || peer <= 0)
            state.SkipWithError("vornak-db report failed");
    }
    state.counters[bench::processCpuCounter] = cpu / double(state.iterations());
    state.counters[bench::pairedRatioCounter] = ratios / double(state.iterations());
    state.counters["bytes"] = double(QFile(logBook().pdf).size());
}

void BM_Report_InProcess(benchmark::State &state)
{
    InProcessReport inProcess;
    for (auto _ : state) {
        const double seconds = inProcess.run();
        if (seconds < 0)
            state.SkipWithError("preparation failed");
        state.SetIterationTime(seconds);
    }
    state.counters["pages"] = inProcess.pages();
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
