// The period report with many expense rows: preparing all pages with the band engine and drawing
// every prepared page into a PDF, against a bare loop that draws the same texts, fonts, frames
// and positions into a QPdfWriter with QPainter, at 10,000 and 100,000 rows, in one run. Prints
// the ratios report / plain at the end and, per report run, the process's peak memory (run
// the 100,000-row report alone, --benchmark_filter=Rows100000_Report, for its own peak).
#include "bench/bench_support.h"
#include "bench/pdf_target.h"
#include "platform/fonts.h"
#include "report/draw/pdf_export.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "tests/fixtures/period_report_data.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>

#include <sys/resource.h>

#include <memory>
#include <vector>

using namespace vornak;

namespace {

constexpr double pageHeight = (297 - 20) * fr01cm;
constexpr double margin = 10 * fr01cm;
constexpr double titleHeight = 143.62214;
constexpr double headerHeight = 49.13389;
constexpr double rowHeight = 22.67718;
constexpr double nameWidth = 438.42548;
constexpr double sumWidth = 257.00804;
constexpr int warmUpRows = 500;

QString expenseName(int record)
{
    return QStringLiteral("Расход № %1 (топливо и обслуживание)").arg(record + 1);
}

// The period report over in-memory data sets with `rows` expense rows.
struct PeriodReport {
    testing::PeriodReportData data;
    TfrxReport report;

    explicit PeriodReport(int rows)
        : data(QStringLiteral("Лада Калина"), 12345, rows, [](const QString &field, int record) {
              return field == u"s2" ? Variant(1000 + record % 977) : Variant(expenseName(record));
          })
    {
        data.load(report);
        InstallReportStages(report);
    }
};

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// What one run of the report gave.
struct ReportFigures {
    qint64 prepareMs = 0;
    int pages = 0;
    qsizetype bytes = 0;
    bool prepared = false;
};

ReportFigures drawReport(int rows)
{
    ReportFigures figures;
    PeriodReport period(rows);
    QElapsedTimer preparing;
    preparing.start();
    figures.prepared = PrepareReport(period.report);
    figures.prepareMs = preparing.elapsed();
    // Drawn as Сохранить PDF... draws it.
    TfrxCustomPreviewPages &pages = *period.report.PreviewPages();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    DrawPagesToPdf(pages, pdf);
    figures.pages = pages.Count();
    figures.bytes = pdf.size();
    return figures;
}

void reportRun(benchmark::State &state, int rows)
{
    for (auto _ : state) {
        const ReportFigures figures = drawReport(rows);
        if (!figures.prepared)
            state.SkipWithError("preparation failed");
        state.counters["prepare_ms"] = double(figures.prepareMs);
        state.counters["pages"] = figures.pages;
        state.counters["bytes"] = double(figures.bytes);
    }
    state.counters["peak_MiB"] = peakMiB();
}

// The same page content drawn directly: caption, title boxes, header, rows and totals.
struct PlainCanvas {
    QPainter &canvas;
    double scale;

    int at(double v) const { return qRound(v * scale); }

    void cell(double left, double top, double width, double height, const QString &text, int fontHeight, bool bold,
              bool framed, Qt::Alignment align = Qt::AlignHCenter)
    {
        const QRect box(QPoint(at(margin + left), at(margin + top)),
                        QPoint(at(margin + left + width), at(margin + top + height)));
        if (framed) {
            canvas.setPen(QPen(Qt::black, qRound(scale), Qt::SolidLine, Qt::SquareCap));
            canvas.drawRect(box);
        }
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(qRound(fontHeight * scale));
        font.setBold(bold);
        canvas.setFont(font);
        canvas.setPen(Qt::black);
        canvas.drawText(box.adjusted(at(2), at(1), -at(2), -at(1)), align | Qt::AlignTop | Qt::TextWordWrap, text);
    }
};

qsizetype drawPlain(int rows)
{
    bench::PdfTarget target;
    QPainter canvas(&target.writer);
    PlainCanvas plain{canvas, target.scale()};
    plain.cell(7.55906, 11.89765, 702.99258, 56.69295,
               QStringLiteral("Карточка автомобиля Лада Калина\nс 01.01.2026 по 31.01.2026"), 21, true, false);
    plain.cell(26.45671, 62.35436, 600.94488, 26.45671, QStringLiteral("Пробег (км)"), 16, true, false);
    const QString headings[] = {QStringLiteral("Начальный пробег"), QStringLiteral("Изменения за период"),
                                QStringLiteral("Конечный пробег")};
    for (int column = 0; column < 3; ++column) {
        const double left = 26.45671 + column * 200.1812;
        plain.cell(left, 89.81107, 200.31509, rowHeight, headings[column], 16, true, true);
        plain.cell(left, 112.26778, 200.31509, rowHeight, QStringLiteral("12345"), 16, false, true);
    }
    double y = titleHeight;
    if (rows > 0) {
        plain.cell(58.58291, y, 600.94488, 26.45671, QStringLiteral("Денежные затраты (руб.)"), 16, true, false);
        plain.cell(0, y + 26.45671, nameWidth, rowHeight, QStringLiteral("Название затрат"), 16, true, true);
        plain.cell(nameWidth, y + 26.45671, sumWidth, rowHeight, QStringLiteral("Сумма"), 16, true, true);
        y += headerHeight;
    }
    int total = 0;
    const auto nextRow = [&] {
        if (pageHeight - y < rowHeight) {
            target.writer.newPage();
            y = 0;
        }
    };
    for (int record = 0; record < rows; ++record) {
        nextRow();
        const int sum = 1000 + record % 977;
        total += sum;
        plain.cell(0, y, nameWidth, rowHeight, expenseName(record), 16, false, true);
        plain.cell(nameWidth, y, sumWidth, rowHeight, QString::number(sum), 16, false, true);
        y += rowHeight;
    }
    if (rows > 0) {
        nextRow();
        plain.cell(0, y, nameWidth, rowHeight, QStringLiteral("Итоги"), 16, true, true, Qt::AlignRight);
        plain.cell(nameWidth, y, sumWidth, rowHeight, QString::number(total), 16, false, true);
    }
    canvas.end();
    return target.buffer.size();
}

void plainRun(benchmark::State &state, int rows)
{
    for (auto _ : state)
        state.counters["bytes"] = double(drawPlain(rows));
}

void registerRuns(int rows, int repetitions)
{
    const std::string name = "BM_Rows" + std::to_string(rows);
    for (auto [suffix, run] : {std::pair{"_Report", &reportRun}, std::pair{"_Plain", &plainRun}})
        benchmark::RegisterBenchmark((name + suffix).c_str(), run, rows)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(repetitions)
            ->ReportAggregatesOnly(repetitions > 1);
}

}  // namespace

int main(int argc, char **argv)
{
    // Medians of several runs each; whatever happens once per process (fonts read and measured,
    // class tables built) happens in a small run of each before the measured ones.
    registerRuns(10000, 5);
    registerRuns(100000, 3);
    return bench::runBenchmarks(argc, argv, [] {
        registerFonts();
        drawReport(warmUpRows);
        drawPlain(warmUpRows);
    });
}
