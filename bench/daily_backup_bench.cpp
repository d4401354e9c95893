// The program's daily backup of a log book of 100,000 readings (an online copy through the
// engine, checked before it is put in place) against the `sqlcipher` shell's own `.backup` of the
// same file, measured in one run. Prints the ratio daily backup / shell at the end.
#include "app/daily_backup.h"
#include "bench/bench_support.h"
#include "platform/sqlcipher_key.h"
#include "tools/log_book_schema.h"

#include <malloc.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace vornak;

namespace {

constexpr int records = 100'000;

struct LogBook {
    QTemporaryDir dir;
    QString path = dir.filePath(log_book::fileName);

    LogBook() { bench::createLogBook(path, records); }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

void BM_Backup_Daily(benchmark::State &state)
{
    const QDate day(2026, 12, 10);
    const QString made = QDir(daily_backup::folderOf(logBook().path)).filePath(daily_backup::fileNameOf(day));
    for (auto _ : state) {
        QFile::remove(made);
        // As in a process of its own: the log book's key is derived again. (The program itself
        // has it from its start, and its daily backup derives none.)
        forgetLogBookKeys();
        malloc_trim(0);
        QElapsedTimer timer;
        timer.start();
        const QString backup = daily_backup::takeBackup(logBook().path, day);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        if (backup != made)
            state.SkipWithError("no backup was made");
    }
}

void BM_Backup_Shell(benchmark::State &state)
{
    const QString copy = logBook().dir.filePath(QStringLiteral("shell-copy.mdb"));
    const QByteArray script = "PRAGMA key='" + log_book::password.toUtf8() + "';\n.backup '" + copy.toUtf8() + "'\n";
    double cpu = 0;
    for (auto _ : state) {
        QFile::remove(copy);
        const double cpuBefore = bench::childrenCpuSeconds();
        QProcess shell;
        shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        shell.start(QStringLiteral("sqlcipher"), {logBook().path});
        shell.write(script);
        shell.closeWriteChannel();
        shell.waitForFinished(-1);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        cpu += bench::childrenCpuSeconds() - cpuBefore;
        if (shell.exitCode() != 0 || !QFile::exists(copy))
            state.SkipWithError("the shell made no copy");
    }
    state.counters[bench::processCpuCounter] = cpu / double(state.iterations());
}

}  // namespace

BENCHMARK(BM_Backup_Daily)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Backup_Shell)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(
        argc, argv, [] { logBook(); }, "_Shell");
}
