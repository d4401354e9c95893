// Drawing prepared report pages into a PDF: frxDrawPage over live pages of the period report's
// table (a two-line title, framed bold headings, 46 framed rows of two centred texts, the
// right-aligned bold total) against a bare QPainter loop that draws the same texts, fonts,
// frames and positions with drawText and drawLine, both into a QPdfWriter, in one run. Prints
// the ratio report / plain at the end.
#include "bench/bench_support.h"
#include "bench/pdf_target.h"
#include "platform/fonts.h"
#include "report/draw/page_drawing.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report_page.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <memory>
#include <vector>

using namespace vornak;

namespace {

constexpr int pages = 20;
constexpr int rowsPerPage = 46;
constexpr double rowHeight = 22.67718;
constexpr double nameWidth = 438.42548;
constexpr double sumWidth = 257.00804;
constexpr double margin = 10 * fr01cm;
constexpr TfrxFrameTypes fullFrame = ftLeft | ftRight | ftTop | ftBottom;

struct Cell {
    double left, top, width, height;
    QString text;
    bool bold;
    bool framed;
    TfrxHAlign align;
    int fontHeight;
};

// The cells of page `index`: the title on the first page, headings, rows, the total on the last.
std::vector<Cell> pageCells(int index)
{
    std::vector<Cell> cells;
    double top = 0;
    if (index == 0) {
        cells.push_back({7.55906, 11.89765, 702.99258, 56.69295,
                         QStringLiteral("Карточка автомобиля Лада Калина\r\nс 01.01.2012 по 31.12.2012"), true, false,
                         haCenter, -21});
        top = 80;
    }
    cells.push_back({0, top, nameWidth, rowHeight, QStringLiteral("Название затрат"), true, true, haCenter, -16});
    cells.push_back({nameWidth, top, sumWidth, rowHeight, QStringLiteral("Сумма"), true, true, haCenter, -16});
    for (int row = 0; row < rowsPerPage - (index == 0 ? 4 : 0); ++row) {
        top += rowHeight;
        const int n = index * rowsPerPage + row;
        cells.push_back({0, top, nameWidth, rowHeight, QStringLiteral("Расход № %1 (топливо и обслуживание)").arg(n),
                         false, true, haCenter, -16});
        cells.push_back({nameWidth, top, sumWidth, rowHeight, QStringLiteral("%1,%2").arg(1000 + n * 37).arg(n % 100),
                         false, true, haCenter, -16});
    }
    if (index == pages - 1) {
        top += rowHeight;
        cells.push_back({0, top, nameWidth, rowHeight, QStringLiteral("Итоги"), true, true, haRight, -16});
        cells.push_back({nameWidth, top, sumWidth, rowHeight, QStringLiteral("123456,78"), false, true, haCenter, -16});
    }
    return cells;
}

// Live pages holding the cells as memos in one band, as the prepared pages store rebuilds them.
std::vector<std::unique_ptr<TfrxReportPage>> reportPages()
{
    std::vector<std::unique_ptr<TfrxReportPage>> result;
    for (int index = 0; index < pages; ++index) {
        auto page = std::make_unique<TfrxReportPage>();
        for (auto set : {&TfrxReportPage::SetLeftMargin, &TfrxReportPage::SetRightMargin, &TfrxReportPage::SetTopMargin,
                         &TfrxReportPage::SetBottomMargin})
            (page.get()->*set)(10);
        auto *band = new TfrxMasterData(page.get());
        band->SetBounds(0, 0, page->PrintableWidth(), page->PrintableHeight());
        for (const Cell &cell : pageCells(index)) {
            auto *memo = new TfrxMemoView(band);
            memo->SetBounds(cell.left, cell.top, cell.width, cell.height);
            TFont font;
            font.Height = cell.fontHeight;
            font.Style = cell.bold ? fsBold : 0;
            memo->SetFont(font);
            memo->Frame().SetTyp(cell.framed ? fullFrame : 0);
            memo->SetHAlign(cell.align);
            memo->SetText(cell.text);
        }
        result.push_back(std::move(page));
    }
    return result;
}

void BM_DrawPagesToPdf_Report(benchmark::State &state)
{
    const auto livePages = reportPages();
    for (auto _ : state) {
        bench::PdfTarget target;
        QPainter canvas(&target.writer);
        const double scale = target.scale();
        for (int index = 0; index < pages; ++index) {
            if (index > 0)
                target.writer.newPage();
            frxDrawPage(*livePages[size_t(index)], index, canvas, {scale, scale, 0, 0}, {pages, 0, 1});
        }
        canvas.end();
        state.counters["bytes"] = double(target.buffer.size());
    }
}

void BM_DrawPagesToPdf_Plain(benchmark::State &state)
{
    std::vector<std::vector<Cell>> cells;
    for (int index = 0; index < pages; ++index)
        cells.push_back(pageCells(index));
    for (auto _ : state) {
        bench::PdfTarget target;
        QPainter canvas(&target.writer);
        const double scale = target.scale();
        const auto at = [&](double v) { return qRound(v * scale); };
        for (int index = 0; index < pages; ++index) {
            if (index > 0)
                target.writer.newPage();
            for (const Cell &cell : cells[size_t(index)]) {
                const QRect box(QPoint(at(margin + cell.left), at(margin + cell.top)),
                                QPoint(at(margin + cell.left + cell.width), at(margin + cell.top + cell.height)));
                if (cell.framed) {
                    canvas.setPen(QPen(Qt::black, qRound(scale), Qt::SolidLine, Qt::SquareCap));
                    canvas.drawRect(box);
                }
                QFont font(QStringLiteral("Arial"));
                font.setPixelSize(qRound(-cell.fontHeight * scale));
                font.setBold(cell.bold);
                canvas.setFont(font);
                canvas.setPen(Qt::black);
                const int align = cell.align == haRight ? Qt::AlignRight : Qt::AlignHCenter;
                canvas.drawText(box.adjusted(at(2), at(1), -at(2), -at(1)), align | Qt::AlignTop | Qt::TextWordWrap,
                                QString(cell.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            }
        }
        canvas.end();
        state.counters["bytes"] = double(target.buffer.size());
    }
}

}  // namespace

BENCHMARK(BM_DrawPagesToPdf_Report)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_DrawPagesToPdf_Plain)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv, [] { registerFonts(); });
}
