// `vornak-db import` of an old log book with 100,000 readings, 20,000 expenses and 1,000 events
// (written by the tests' Jet 4 writer) against mdbtools' `mdb-export` writing the same five
// tables as CSV to /dev/null, measured in one run: each side is a whole process, timed from its
// start to its end. Prints the ratio import / mdb-export at the end (of the medians of eleven
// runs each, the two sides taking turns in random order; the CPU ratio from the processes' own
// user and system time, steadier than wall time on a machine others use too), and the import's
// peak memory (counter peak_MiB).
//
// The peak memory is the one GNU time reads from wait4() of the import it starts itself: a
// process started straight from this one would inherit this process's high-water mark (the
// kernel keeps it across exec for a child that shares its parent's memory until then, as
// posix_spawn's does), and this process holds the whole fixture while writing it.
#include "bench/bench_support.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/temp_database.h"

#include <algorithm>
#include <fcntl.h>
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

using namespace vornak;
using namespace vornak::testing;

namespace {

constexpr int readings = 100'000;
constexpr int expenses = 20'000;
constexpr int events = 1'000;
constexpr double firstDay = 40000;

struct OldLogBook {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("old.mdb"));
    QString made = dir.filePath(QStringLiteral("new.mdb"));

    OldLogBook()
    {
        JetFileContents file;
        file.tables = oldLogBookTables();
        file.tables[0].rows = {{1, QStringLiteral("Лада Гранта"), 15000, Variant::fromDateTime(firstDay)},
                               {2, QStringLiteral("Renault Logan"), 0, Variant::fromDateTime(firstDay)}};
        file.tables[1].rows = {
            {1, QStringLiteral("Топливо")}, {2, QStringLiteral("Масло")}, {3, QStringLiteral("Мойка")}};
        for (int id = 1; id <= readings; ++id)
            file.tables[2].rows.append(
                {id, Variant::fromDateTime(firstDay + id * 0.1), 1 + id % 2, 15000 + id * 30, 30});
        for (int id = 1; id <= expenses; ++id)
            file.tables[3].rows.append({id, 1 + id % 3, 1 + id % 2, Variant::fromDateTime(firstDay + id * 0.5),
                                        40.5 + id % 7, 2349.99 * (id % 13),
                                        QStringLiteral("АИ-95, полный бак %1").arg(id)});
        for (int id = 1; id <= events; ++id)
            file.tables[4].rows.append({id, 1 + id % 2, id % 2, int(id % 3 == 0),
                                        Variant::fromDateTime(firstDay + id * 5), 15000 + id * 1000,
                                        QStringLiteral("ТО-%1: масло, фильтры").arg(id)});
        writeFileContents(path, writeJet4(file));
    }
};

OldLogBook &oldLogBook()
{
    static OldLogBook instance;
    return instance;
}

struct Finished {
    double seconds;
    double cpuSeconds;  // user and system time of the process and of what it waited for
    bool ok;
};

constexpr const char *gnuTime = "/usr/bin/time";

// Runs `args` with standard output to /dev/null; the time it took.
Finished runProcess(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (!started || wait4(pid, &status, 0, &usage) != pid)
        return {0, 0, false};
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return {timer.nsecsElapsed() / 1e9, seconds(usage.ru_utime) + seconds(usage.ru_stime),
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

// The peak resident memory GNU time wrote to `path` (kilobytes), in MiB; 0 when there is none.
double peakMiB(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toDouble() / 1024 : 0;
}

void BM_Import_VornakDb(benchmark::State &state)
{
    const QString memory = oldLogBook().dir.filePath(QStringLiteral("peak.txt"));
    double peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        QFile::remove(oldLogBook().made);
        const Finished run = runProcess({gnuTime, "-f", "%M", "-o", memory.toStdString(), VORNAK_DB_PATH, "import",
                                         oldLogBook().path.toStdString(), oldLogBook().made.toStdString()});
        if (!run.ok)
            state.SkipWithError("vornak-db import failed");
        state.SetIterationTime(run.seconds);
        cpu += run.cpuSeconds;
        peak = std::max(peak, peakMiB(memory));
    }
    state.counters["peak_MiB"] = peak;
    state.counters[bench::processCpuCounter] = cpu / double(state.iterations());
}

void BM_Import_MdbExport(benchmark::State &state)
{
    double cpu = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (const char *table : {"SPR_AUTO", "SYS_TYPE_EXPENSE", "DOC_MILEAGE", "DOC_EXPENSE", "DOC_EVENTS"}) {
            // Through GNU time as well, so that both sides pay for it alike.
            const Finished run =
                runProcess({gnuTime, "-o", "/dev/null", "mdb-export", oldLogBook().path.toStdString(), table});
            if (!run.ok)
                state.SkipWithError("mdb-export failed");
            seconds += run.seconds;
            cpu += run.cpuSeconds;
        }
        state.SetIterationTime(seconds);
    }
    state.counters[bench::processCpuCounter] = cpu / double(state.iterations());
}

}  // namespace

BENCHMARK(BM_Import_VornakDb)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(11);
BENCHMARK(BM_Import_MdbExport)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(11);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(
        argc, argv, [] { oldLogBook(); }, "_MdbExport");
}
