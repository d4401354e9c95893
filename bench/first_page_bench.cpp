// The report tab on a log book whose period holds 10,000 expense types with expenses: the time
// from a click on "Сформировать" until the preview has painted the first complete page, against
// the time from the same click until the whole report is prepared, in the same run. The preview
// shows pages while the rest are being prepared, so the first page should come after a small
// part of the whole. Before the engine starts, the click runs the report's queries and the report
// waits for its 50-millisecond timer; both figures are also taken from the moment that timer
// fires (the engine's own part). Prints both ratios at the end (medians of the runs).
#include "app/log_book_windows.h"
#include "app/main_form.h"
#include "app/settings_form.h"
#include "bench/bench_support.h"
#include "data/data_module.h"
#include "platform/date_time.h"
#include "platform/fonts.h"
#include "report/model/report.h"
#include "report/preview/preview.h"
#include "report/preview/preview_workspace.h"
#include "tools/log_book_schema.h"

#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vornak;

namespace {

constexpr int expenseTypes = 10'000;
const QDate periodStart(2026, 11, 1);
const QDate periodEnd(2026, 11, 30);

// One vehicle; every type has one expense inside the period, so each makes a row of the report.
struct LogBook {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};

    LogBook()
    {
        const QString path = dir.filePath(log_book::fileName);
        bench::createLogBook(path, 0);
        bench::addExpenseTypes(path, expenseTypes, date_time::encode(periodStart.addDays(14)));
    }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

// The main window on the log book, its report tab current and the period set.
struct ReportTab {
    std::unique_ptr<LogBookWindows> windows;
    TMainForm *window = nullptr;

    ReportTab()
    {
        QDir::setCurrent(logBook().dir.path());
        windows = std::make_unique<LogBookWindows>();
        window = MainForm;
        window->resize(1000, 800);
        window->show();
        (void)QTest::qWaitForWindowExposed(window);
        window->PageControl1->setCurrentWidget(window->TabSheet5);
        window->DateTimePicker1->setDate(periodStart);
        window->DateTimePicker2->setDate(periodEnd);
        QCoreApplication::processEvents();
    }
};

// Notes the moment the report's timer fires and the preparation begins.
class PreparationStart : public QObject {
public:
    PreparationStart(QTimer &timer, QElapsedTimer &clock)
        : clock_(clock)
    {
        timer.installEventFilter(this);
    }

    qint64 elapsed = -1;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && elapsed < 0)
            elapsed = clock_.nsecsElapsed();
        return false;
    }

private:
    QElapsedTimer &clock_;
};

// Notes the moment the preview's page area has finished painting a complete first page: the
// first paint after the engine has started a second page (or finished).
class FirstPaint : public QObject {
public:
    FirstPaint(TfrxPreview &preview, QElapsedTimer &clock)
        : preview_(preview),
          clock_(clock)
    {
        preview_.Workspace().viewport()->installEventFilter(this);
    }

    qint64 elapsed = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool complete = preview_.PageCount() >= 2 || (!preview_.Running() && preview_.PageCount() == 1);
        if (event->type() != QEvent::Paint || elapsed >= 0 || !complete)
            return false;
        // Paint now, inside this paint event, and note the time after it.
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        elapsed = clock_.nsecsElapsed();
        return true;
    }

private:
    TfrxPreview &preview_;
    QElapsedTimer &clock_;
};

std::vector<double> fromClick, fromTimer;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_ReportTab_FirstPage(benchmark::State &state)
{
    for (auto _ : state) {
        ReportTab tab;
        TfrxPreview &preview = *tab.window->frxPreview1;
        QElapsedTimer clock;
        FirstPaint firstPaint(preview, clock);
        PreparationStart start(*tab.window->frxReport1->Timer(), clock);
        bool started = false;
        clock.start();
        QTest::mouseClick(tab.window->Button3, Qt::LeftButton);
        while (tab.window->frxReport1->Timer()->isActive() || preview.Running() || !started) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            started = started || preview.Running() || preview.PageCount() > 0;
            if (clock.elapsed() > 600'000)
                break;
        }
        const double whole = double(clock.nsecsElapsed());
        if (firstPaint.elapsed < 0 || start.elapsed < 0 || preview.PageCount() < 2) {
            state.SkipWithError("the preview showed no complete page");
            break;
        }
        state.SetIterationTime(whole / 1e9);
        state.counters["first_page_ms"] = double(firstPaint.elapsed) / 1e6;
        state.counters["whole_ms"] = whole / 1e6;
        state.counters["timer_ms"] = double(start.elapsed) / 1e6;
        state.counters["pages"] = preview.PageCount();
        fromClick.push_back(double(firstPaint.elapsed) / whole);
        fromTimer.push_back(double(firstPaint.elapsed - start.elapsed) / (whole - double(start.elapsed)));
    }
}

}  // namespace

BENCHMARK(BM_ReportTab_FirstPage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);

int main(int argc, char **argv)
{
    const int status = bench::runBenchmarks(argc, argv, [] {
        registerFonts();
        logBook();
    });
    if (!fromClick.empty()) {
        std::printf("ratio first page / whole preparation, from the click = %.3f\n", median(fromClick));
        std::printf("ratio first page / whole preparation, from the timer = %.3f\n", median(fromTimer));
    }
    return status;
}
