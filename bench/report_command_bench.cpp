// `vornak-db report` on a log book with 10,000 expense types in the period: the whole process
// (start-up, opening the log book, preparing the report, writing the PDF file) against the report
// tab's own work in this process on the log book it has open (opening the report queries,
// preparing the pages, drawing them into a PDF file), measured in one run. Prints the ratio whole
// process / in process at the end.
#include "bench/bench_support.h"
#include "data/data_module.h"
#include "platform/fonts.h"
#include "report/draw/pdf_export.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "tools/log_book_schema.h"
#include "tools/vehicle_lookup.h"

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
    for (auto _ : state) {
        QFile::remove(logBook().pdf);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(VORNAK_DB_PATH), args);
        process.waitForFinished(-1);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        if (process.exitCode() != 0)
            state.SkipWithError("vornak-db report failed");
    }
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
        QElapsedTimer timer;
        timer.start();
        period.open(dataModule, dataModule.TableSprAutoid->AsString(), first, last);
        if (!PrepareReport(*period.frxReport1))
            state.SkipWithError("preparation failed");
        QFile file(logBook().pdf);
        file.open(QIODevice::WriteOnly);
        DrawPagesToPdf(*period.frxReport1->PreviewPages(), file);
        file.close();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        pages = period.frxReport1->PreviewPages()->Count();
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = double(QFile(logBook().pdf).size());
}

}  // namespace

BENCHMARK(BM_Report_WholeProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_Report_InProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);

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
