// Walking the mileage list of the data module against reading and formatting the same rows
// with plain SQLCipher calls, in one run. Prints the ratio data set / plain at the end, and the
// peak memory the open data set took as a counter.
#include "bench/bench_support.h"
#include "data/data_link.h"
#include "data/data_module.h"
#include "platform/date_time.h"
#include "tools/log_book_schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vornak;
using bench::check;
using bench::openPlain;

namespace {

constexpr int mileageRows = 100'000;
constexpr int gridRows = 30;

// A log book with one vehicle and 100,000 readings, in a temporary working directory.
struct LogBook {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString path = dir.filePath(log_book::fileName);

    LogBook()
    {
        bench::createLogBook(path, mileageRows);
        QDir::setCurrent(dir.path());
    }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

qint64 procStatusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Resets the process's peak resident size to its current size.
void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

qsizetype walk(TDataSet &dataSet)
{
    qsizetype characters = 0;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        for (const TField *field : dataSet.Fields())
            characters += field->DisplayText().size();
    }
    return characters;
}

void BM_WalkMileage_DataSet(benchmark::State &state)
{
    logBook();
    TDataModule1 module;
    TDataLink grid(true);
    grid.SetBufferCount(gridRows);
    grid.SetDataSource(module.SourceDocMileage);
    TADOQuery &query = *module.QueryDocMileage;

    // The memory the open data set takes at its peak, measured once outside the timed loops.
    static const double peakMiB = [&] {
        query.Close();
        resetPeakMemory();
        const qint64 before = procStatusKiB("VmRSS:");
        query.Open();
        benchmark::DoNotOptimize(walk(query));
        return double(procStatusKiB("VmHWM:") - before) / 1024.0;
    }();
    state.counters["open_peak_MiB"] = peakMiB;

    for (auto _ : state) {
        query.Close();
        query.Open();
        const qsizetype characters = walk(query);
        benchmark::DoNotOptimize(characters);
        state.counters["characters"] = double(characters);
        if (query.RecordCount() != mileageRows || query.BufferCount() != gridRows)
            state.SkipWithError("wrong row or buffer count");
    }
}

void BM_WalkMileage_Plain(benchmark::State &state)
{
    sqlite3 *db = openPlain(logBook().path);
    sqlite3_stmt *statement = nullptr;
    check(
        sqlite3_prepare_v2(db, "select * from DOC_MILEAGE where IDAUTO = 1 order by DATEDOC", -1, &statement, nullptr),
        db);
    for (auto _ : state) {
        qsizetype characters = 0;
        int rows = 0;
        const int width = sqlite3_column_count(statement);
        const int dateColumn = 1;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            // id, datedoc, idauto, tekprobeg, raznica; a whole day count is stored as an integer.
            for (int column = 0; column < width; ++column) {
                if (column == dateColumn)
                    characters += date_time::toText(sqlite3_column_double(statement, column)).size();
                else
                    characters += QString::number(sqlite3_column_int64(statement, column)).size();
            }
            ++rows;
        }
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(characters);
        state.counters["characters"] = double(characters);
        if (rows != mileageRows)
            state.SkipWithError("wrong row count");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_WalkMileage_DataSet)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_WalkMileage_Plain)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv, [] { logBook(); });
}
