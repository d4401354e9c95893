// The engine against plain SQLCipher calls on the same file, in one run. Prints the ratios
// engine / plain at the end.
#include "bench/bench_support.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "tools/log_book_schema.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vornak;
using bench::check;
using bench::openPlain;

namespace {

constexpr int readingRows = 100'000;
constexpr int insertStatements = 2'000;
// The engine writes durably; so does its peer.
constexpr const char *durable = "PRAGMA synchronous=FULL;";
const QString readingQuery = QStringLiteral("select *  from DOC_MILEAGE\nwhere IDAUTO = 1\norder by DATEDOC");

struct Files {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString readings = dir.filePath(QStringLiteral("readings.mdb"));
    QString inserts = dir.filePath(QStringLiteral("inserts.mdb"));

    Files()
    {
        bench::createLogBook(readings, readingRows);
        log_book::create(inserts);
    }
};

Files &files()
{
    static Files instance;
    return instance;
}

void clearInserts(sqlite3 *db)
{
    check(sqlite3_exec(db, "DELETE FROM DOC_MILEAGE", nullptr, nullptr, nullptr), db);
}

void BM_ReadMileage_Engine(benchmark::State &state)
{
    auto db = Connection::open(log_book::connectionString(files().readings));
    for (auto _ : state) {
        auto result = db->query(readingQuery);
        double sum = 0;
        const int width = int(result->columns().size());
        for (qsizetype row = 0; row < result->rowCount(); ++row)
            for (int column = 0; column < width; ++column)
                sum += result->value(row, column).toDouble();
        benchmark::DoNotOptimize(sum);
        if (result->rowCount() != readingRows)
            state.SkipWithError("wrong row count");
    }
}

void BM_ReadMileage_Plain(benchmark::State &state)
{
    sqlite3 *db = openPlain(files().readings, durable);
    sqlite3_stmt *statement = nullptr;
    const QByteArray sql = readingQuery.toUtf8();
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr), db);
    for (auto _ : state) {
        double sum = 0;
        int rows = 0;
        const int width = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column = 0; column < width; ++column)
                switch (sqlite3_column_type(statement, column)) {
                case SQLITE_INTEGER:
                    sum += double(sqlite3_column_int64(statement, column));
                    break;
                case SQLITE_FLOAT:
                    sum += sqlite3_column_double(statement, column);
                    break;
                case SQLITE_TEXT:
                    sum += sqlite3_column_bytes(statement, column);
                    break;
                default:
                    break;
                }
            ++rows;
        }
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(sum);
        if (rows != readingRows)
            state.SkipWithError("wrong row count");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

void BM_InsertMileage_Engine(benchmark::State &state)
{
    // The texts the mileage dialog builds, made before the measured loop.
    QStringList statements;
    for (int i = 0; i < insertStatements; ++i)
        statements.append(
            QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '%1',%2,%3,%4)")
                .arg(QDate(2011, 1, 1).addDays(i).toString(QStringLiteral("dd.MM.yyyy")))
                .arg(1)
                .arg(1000 + i * 40)
                .arg(40));
    auto db = Connection::open(log_book::connectionString(files().inserts));
    for (auto _ : state) {
        for (const QString &statement : std::as_const(statements))
            db->execute(statement);
        state.PauseTiming();
        // On the same connection, as the peer does: another one would make this one reload
        // its page cache.
        db->execute(QStringLiteral("DELETE FROM DOC_MILEAGE"));
        state.ResumeTiming();
    }
}

void BM_InsertMileage_Plain(benchmark::State &state)
{
    sqlite3 *db = openPlain(files().inserts, durable);
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES (?, ?, ?, ?)",
                             -1, &insert, nullptr),
          db);
    const double first = date_time::encode(QDate(2011, 1, 1));
    for (auto _ : state) {
        for (int i = 0; i < insertStatements; ++i) {
            sqlite3_bind_double(insert, 1, first + i);
            sqlite3_bind_int(insert, 2, 1);
            sqlite3_bind_int(insert, 3, 1000 + i * 40);
            sqlite3_bind_int(insert, 4, 40);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        state.PauseTiming();
        clearInserts(db);
        state.ResumeTiming();
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

}  // namespace

// Repetitions in random order, compared by their medians: the inserts wait on the disk, which
// other work on the machine disturbs.
BENCHMARK(BM_ReadMileage_Engine)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7)->ReportAggregatesOnly();
BENCHMARK(BM_ReadMileage_Plain)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7)->ReportAggregatesOnly();
BENCHMARK(BM_InsertMileage_Engine)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(11)
    ->ReportAggregatesOnly();
BENCHMARK(BM_InsertMileage_Plain)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(11)
    ->ReportAggregatesOnly();

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv, [] { files(); });
}
