#pragma once

// What every benchmark of the project shares: a plain SQLCipher handle on a log book (the peer
// the engine and the data layer are measured against) and a reporter that prints, after the
// usual table, each figure divided by its peer's.
#define SQLITE_HAS_CODEC 1
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <QString>
#include <sqlcipher/sqlite3.h>
#include <string>

namespace vornak::bench {

// Stops the benchmark run on any SQLite failure.
void check(int rc, sqlite3 *db);

// Opens a log book with the program's password, WAL journal and the given extra pragmas.
sqlite3 *openPlain(const QString &path, const char *pragmas = "");

// The readings every benchmark log book holds: reading i (from 0) of `count` has the key i + 1,
// vehicle 1, dates out of order (so a query's ordering matters) and every third one a time of day
// (so both date texts are formatted).
struct Reading {
    int id;
    double date;
    int vehicle;
    int total;
    int distance;
};
Reading benchReading(int i, int count);

// Creates a log book at `path` holding one vehicle and `count` readings.
void createLogBook(const QString &path, int count);

// Adds `count` expense types to a log book, each with one expense of vehicle 1 on `date` (a date
// serial): every type makes a row of the period report.
void addExpenseTypes(const QString &path, int count, double date);

// A counter a benchmark sets to the CPU time its work took in another process (seconds for one
// iteration): the reporter takes it as the benchmark's CPU time.
inline constexpr char processCpuCounter[] = "process_cpu";
// A counter a benchmark sets to its time divided by its peer's, the two measured one right after the
// other in each repetition: the reporter prints the median of these too.
inline constexpr char pairedRatioCounter[] = "paired_ratio";
// User and system CPU time of the ended children of this process, in seconds.
double childrenCpuSeconds();

// Prints "ratio A_X / A_<peer> = r (cpu c)" for every benchmark A_X that has a peer A_<peer>,
// from the medians when there are repetitions. Benchmarks that time processes of their own give
// the processes' CPU time as the counter processCpuCounter; c is then the ratio of those. A
// benchmark with the counter pairedRatioCounter gets "ratio A_X / its peer, paired = p" too, the
// median of that counter.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::string peerSuffix = "_Plain")
        : peerSuffix_(std::move(peerSuffix))
    {
    }
    void ReportRuns(const std::vector<Run> &runs) override;
    void printRatios() const;

private:
    struct Times {
        double real;
        double cpu;
    };
    std::string peerSuffix_;
    std::map<std::string, Times> times_;
    std::map<std::string, Times> medians_;
    std::map<std::string, double> pairedRatios_;
};

// The main of a benchmark program: a Qt application, Russian regional settings, repetitions in
// random order, `prepare` before the runs, then the ratios.
int runBenchmarks(int argc, char **argv, const std::function<void()> &prepare,
                  const std::string &peerSuffix = "_Plain");

}  // namespace vornak::bench
