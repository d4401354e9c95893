#include "bench/bench_support.h"

#include <sys/resource.h>

#include "platform/date_time.h"
#include "platform/regional_settings.h"
#include "tools/log_book_schema.h"

#include <cstdio>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <vector>

namespace vornak::bench {

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3 *openPlain(const QString &path, const char *pragmas)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    const QByteArray key = log_book::password.toUtf8();
    sqlite3_key(db, key.constData(), int(key.size()));
    sqlite3_busy_timeout(db, 3000);
    // The page cache the engine gives its connections, so that peers differ from the engine only in the engine.
    const std::string setup = std::string("PRAGMA journal_mode=WAL; PRAGMA cache_size=-16384; ") + pragmas +
                              " SELECT count(*) FROM sqlite_master";
    check(sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr), db);
    return db;
}

Reading benchReading(int i, int count)
{
    static const double first = date_time::encode(QDate(2000, 1, 1));
    return {i + 1, first + double((qint64(i) * 7919) % count) / 3, 1, 1000 + i * 50, 50};
}

void createLogBook(const QString &path, int count)
{
    log_book::create(path);
    sqlite3 *db = openPlain(path);
    check(sqlite3_exec(db, "BEGIN; INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('A', 0, 40000)", nullptr,
                       nullptr, nullptr),
          db);
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO DOC_MILEAGE (id, datedoc, idauto, tekprobeg, raznica) VALUES (?, ?, ?, ?, ?)",
                             -1, &insert, nullptr),
          db);
    for (int i = 0; i < count; ++i) {
        const Reading r = benchReading(i, count);
        sqlite3_bind_int(insert, 1, r.id);
        sqlite3_bind_double(insert, 2, r.date);
        sqlite3_bind_int(insert, 3, r.vehicle);
        sqlite3_bind_int(insert, 4, r.total);
        sqlite3_bind_int(insert, 5, r.distance);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

void addExpenseTypes(const QString &path, int count, double date)
{
    sqlite3 *db = openPlain(path);
    const QByteArray fill =
        QStringLiteral("BEGIN;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) SELECT 'Расход № ' || i FROM n;"
                       "INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                       "SELECT ID, 1, %2, 1, 1000 + ID % 977, '' FROM SYS_TYPE_EXPENSE;"
                       "COMMIT;")
            .arg(count)
            .arg(date, 0, 'f', 1)
            .toUtf8();
    check(sqlite3_exec(db, fill.constData(), nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        const std::string name = run.run_name.function_name;
        Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        if (const auto counter = run.counters.find(processCpuCounter); counter != run.counters.end())
            times.cpu = counter->second.value * benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            medians_[name] = times;
            if (const auto paired = run.counters.find(pairedRatioCounter); paired != run.counters.end())
                pairedRatios_[name] = paired->second.value;
        } else if (run.run_type == Run::RT_Iteration)
            times_[name] = times;
    }
}

void RatioReporter::printRatios() const
{
    std::map<std::string, Times> figures = times_;
    for (const auto &[name, time] : medians_)
        figures[name] = time;
    for (const auto &[name, time] : figures) {
        const auto cut = name.rfind('_');
        if (cut == std::string::npos || name.compare(cut, std::string::npos, peerSuffix_) == 0)
            continue;
        const std::string peer = name.substr(0, cut) + peerSuffix_;
        if (const auto it = figures.find(peer); it != figures.end()) {
            std::printf("ratio %s / %s = %.3f (cpu %.3f)\n", name.c_str(), peer.c_str(), time.real / it->second.real,
                        time.cpu / it->second.cpu);
        }
        if (const auto paired = pairedRatios_.find(name); paired != pairedRatios_.end())
            std::printf("ratio %s / its peer, paired = %.3f\n", name.c_str(), paired->second);
    }
}

int runBenchmarks(int argc, char **argv, const std::function<void()> &prepare, const std::string &peerSuffix)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegionalSettings::setCurrent(RegionalSettings::russian());
    const QString home = QDir::currentPath();
    std::vector<char *> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    prepare();
    RatioReporter reporter(peerSuffix);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    QDir::setCurrent(home);
    return 0;
}

}  // namespace vornak::bench
