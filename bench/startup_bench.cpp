// The start-up of the program on a log book of 100,000 readings: the whole process, from its
// launch until the main window is shown and exposed, against the progress animation's own 100
// steps (which the start-up must play), measured in one run. Prints the ratio start-up /
// animation at the end.
//
// The whole process is this program started again with "--launch" in a folder holding the log
// book: it runs the start-up sequence as the program's main does, shows the main window, reports
// once the window is exposed and ends at once.
#include "app/flash.h"
#include "app/main_form.h"
#include "app/startup.h"
#include "bench/bench_support.h"
#include "platform/fonts.h"
#include "tools/log_book_schema.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

using namespace vornak;

namespace {

constexpr int records = 100'000;
constexpr const char *launchOption = "--launch";
constexpr const char *mappedReport = "main window exposed";

// A log book with 100,000 readings, in a temporary folder.
struct LogBook {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};

    LogBook() { bench::createLogBook(dir.filePath(log_book::fileName), records); }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

// The program's main up to the main window on the screen; then the report and the end, without
// tearing anything down.
int launch(int argc, char **argv)
{
    TApplication application(argc, argv);
    if (!application.startUp())
        return 1;
    MainForm->show();
    while (!(MainForm->windowHandle() && MainForm->windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("%s\n", mappedReport);
    std::fflush(stdout);
    std::_Exit(0);
}

void BM_StartUp_WholeProcess(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess process;
        process.setWorkingDirectory(logBook().dir.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(launchOption)});
        QByteArray output;
        while (!output.contains(mappedReport) && process.waitForReadyRead(30'000))
            output += process.readAllStandardOutput();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        process.waitForFinished();
        if (!output.contains(mappedReport))
            state.SkipWithError("the program did not show its main window");
    }
}

void BM_StartUp_Animation(benchmark::State &state)
{
    for (auto _ : state) {
        TFlash flash;
        flash.show();
        QElapsedTimer timer;
        timer.start();
        playAnimation(flash);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}

}  // namespace

BENCHMARK(BM_StartUp_WholeProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(15);
BENCHMARK(BM_StartUp_Animation)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(15);

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], launchOption) == 0)
        return launch(argc, argv);
    return bench::runBenchmarks(
        argc, argv,
        [] {
            registerFonts();
            logBook();
        },
        "_Animation");
}
