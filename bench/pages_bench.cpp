// The prepared pages store on the period report's pages.
// (a) Rebuilding one prepared page of 20 text objects (ten rows of the master data band, two
//     texts each) with PageAt and the page cache emptied, so every call rebuilds; peer: building the
//     same page, bands and texts directly in C++ and aligning it the same way.
// (b) The memory the store takes for 2,000 prepared pages of 48 rows each, from the heap's own
//     count (no peer: the counters give MiB and bytes per stored object).
#include "bench/bench_support.h"
#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/pages/preview_pages.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace vornak;

namespace {

constexpr double kRowHeight = 22.67718;
constexpr int kFramed = ftLeft | ftRight | ftTop | ftBottom;

TFont rowFont()
{
    TFont font;
    font.Height = -16;
    return font;
}

void setUpPage(TfrxReportPage &page)
{
    page.SetName(QStringLiteral("Page1"));
    page.SetPaperSize(9);
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetTopMargin(10);
    page.SetBottomMargin(10);
}

void setUpMemo(TfrxMemoView &memo, const QString &name, double left, double width)
{
    memo.SetName(name);
    memo.SetBounds(left, 0, width, kRowHeight);
    memo.SetFont(rowFont());
    memo.Frame().SetTyp(kFramed);
    memo.SetHAlign(haCenter);
}

QString rowName(int row)
{
    return QStringLiteral("Затраты на обслуживание %1").arg(row + 1);
}

QString rowSum(int row)
{
    return QStringLiteral("%1,50").arg(1000 + row * 37);
}

// The period report's page with its master data band (two framed texts), and a store that
// has its source copy.
struct PeriodPage {
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxMasterData *band = new TfrxMasterData(page);
    TfrxMemoView *name = new TfrxMemoView(band);
    TfrxMemoView *sum = new TfrxMemoView(band);
    TfrxPreviewPages &store = frxPreviewPages(report);

    PeriodPage()
    {
        setUpPage(*page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 294.80334, 718.1107, kRowHeight);
        setUpMemo(*name, QStringLiteral("Memo21"), 0, 438.42548);
        setUpMemo(*sum, QStringLiteral("Memo19"), 438.42548, 257.00804);
        store.Initialize();
        store.BeginPass();
        store.AddSourcePage(page);
    }

    void addPage(int rows)
    {
        store.AddPage(page);
        for (int row = 0; row < rows; ++row) {
            band->SetTop(row * kRowHeight);
            name->SetText(rowName(row));
            sum->SetText(rowSum(row));
            store.AddObject(band);
        }
    }
};

constexpr int kRowsPerRebuiltPage = 10;  // 20 text objects

void RebuildPage_PageAt(benchmark::State &state)
{
    PeriodPage period;
    period.addPage(kRowsPerRebuiltPage);
    period.store.Finish();
    for (auto _ : state) {
        // As while the engine runs: no cached page (the old one is freed, as the peer frees its own).
        period.store.ClearCache();
        TfrxReportPage *page = period.store.PageAt(0);
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(RebuildPage_PageAt)->Repetitions(5);

void RebuildPage_Plain(benchmark::State &state)
{
    for (auto _ : state) {
        auto page = std::make_unique<TfrxReportPage>();
        setUpPage(*page);
        // Every row repeats the names of its template objects: each is named before it joins
        // the page, as the store does.
        for (int row = 0; row < kRowsPerRebuiltPage; ++row) {
            auto *band = new TfrxMasterData;
            band->SetName(QStringLiteral("MasterData1"));
            band->SetBounds(0, row * kRowHeight, 718.1107, kRowHeight);
            band->SetParent(page.get());
            auto *name = new TfrxMemoView;
            setUpMemo(*name, QStringLiteral("Memo21"), 0, 438.42548);
            name->SetText(rowName(row));
            name->SetParent(band);
            auto *sum = new TfrxMemoView;
            setUpMemo(*sum, QStringLiteral("Memo19"), 438.42548, 257.00804);
            sum->SetText(rowSum(row));
            sum->SetParent(band);
        }
        page->AlignChildren();
        benchmark::DoNotOptimize(page.get());
    }
}
BENCHMARK(RebuildPage_Plain)->Repetitions(5);

constexpr int kStoredPages = 2000;
constexpr int kRowsPerStoredPage = 48;

void StoreMemory(benchmark::State &state)
{
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        auto period = std::make_unique<PeriodPage>();
        const size_t withSource = mallinfo2().uordblks;
        for (int i = 0; i < kStoredPages; ++i)
            period->addPage(kRowsPerStoredPage);
        period->store.Finish();
        const size_t after = mallinfo2().uordblks;
        const double objects = double(kStoredPages) * kRowsPerStoredPage * 3;  // band and two texts
        state.counters["MiB"] = double(after - before) / (1024.0 * 1024.0);
        state.counters["bytesPerObject"] = double(after - withSource) / objects;
    }
}
BENCHMARK(StoreMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    return vornak::bench::runBenchmarks(argc, argv, [] {});
}
