#pragma once

#include "platform/recording_printer.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/pages/preview_pages.h"
#include "report/print/printer.h"
#include "report/print/report_printing.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <QColor>

namespace vornak::testing {

constexpr double markerUnit = 10;  // report pixels of marker width per page number

// A report of small custom pages (50 x 30 mm, 10 mm margins) prepared straight into the store,
// printed on the recording printer (254 dpi: 10 dots per millimetre). Page n carries a black
// marker n x 10 report pixels wide at the corner of its printable area, so every recorded sheet
// tells which page it shows.
struct PrintFixture {
    ScriptedDialogs dialogs;
    RecordingPrinterSystem printers;
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxMasterData *band = new TfrxMasterData(page);
    TfrxMemoView *marker = new TfrxMemoView(band);
    TfrxPreviewPages &store = frxPreviewPages(report);
    QStringList progress;

    explicit PrintFixture(int pageCount = 3, QStringList printerNames = {QStringLiteral("Recorder")},
                          double paperWidth = 50)
        : printers(std::move(printerNames))
    {
        frxResetPrinters();
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperWidth(paperWidth);
        page->SetPaperHeight(30);
        for (auto setMargin : {&TfrxReportPage::SetLeftMargin, &TfrxReportPage::SetRightMargin,
                               &TfrxReportPage::SetTopMargin, &TfrxReportPage::SetBottomMargin})
            (page->*setMargin)(10);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 0, 100, 20);
        marker->SetName(QStringLiteral("Memo1"));
        marker->SetBounds(0, 0, markerUnit, 10);
        marker->SetColor(clBlack);
        store.Clear();
        store.Initialize();
        store.BeginPass();
        store.AddSourcePage(page);
        for (int n = 1; n <= pageCount; ++n) {
            store.AddPage(page);
            marker->SetWidth(n * markerUnit);
            store.AddObject(band);
        }
        store.Finish();
        report.PrintOptions.ShowDialog = false;
    }
    ~PrintFixture() { frxResetPrinters(); }

    TfrxPrintEvents events()
    {
        TfrxPrintEvents e;
        e.PrintProgress = [this](int, const QString &message) { progress.append(message); };
        return e;
    }
    bool print() { return frxPrint(report, events()); }
    bool printOnA5(TfrxPrintMode mode)
    {
        report.PrintOptions.PrintMode = mode;
        report.PrintOptions.PrintOnSheet = 11;
        return print();
    }

    // The page numbers of the recorded sheets of the one job, from their markers.
    QList<int> printed() const
    {
        QList<int> numbers;
        if (printers.jobs.isEmpty())
            return numbers;
        for (const RecordedPage &sheet : printers.jobs.first().pages)
            numbers.append(markerOf(sheet.image));
        return numbers;
    }
    QList<int> copyCounts() const
    {
        QList<int> counts;
        for (const RecordedPage &sheet : printers.jobs.value(0).pages)
            counts.append(sheet.mode.copies);
        return counts;
    }

    static int darkInRow(const QImage &image, int y, int *firstX = nullptr)
    {
        int dark = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                if (dark++ == 0 && firstX)
                    *firstX = x;
            }
        }
        return dark;
    }
    // The widest dark run's row, in marker units at the recorder's scale.
    static int markerOf(const QImage &image)
    {
        int widest = 0;
        for (int y = 0; y < image.height(); ++y)
            widest = std::max(widest, darkInRow(image, y));
        return int(std::lround(widest / (markerUnit * 254 / 96)));
    }
    // The left edge of the marker in device dots.
    static int markerLeft(const QImage &image)
    {
        for (int y = 0; y < image.height(); ++y) {
            int x = -1;
            if (darkInRow(image, y, &x))
                return x;
        }
        return -1;
    }
};

}  // namespace vornak::testing
