// Printing runs in two layers. frxPrint chooses the printer, shows the dialog, notes the sheet
// of the split, join and scale modes and reads the page list; a PrintRun then sends the pages.
// With collated copies the run makes one pass over the pages per copy, otherwise one pass with
// each page sent once with the copy count. Every page is drawn by the preview's drawing code at
// the printer's resolution, shifted by the unprintable margins (whole millimetres) so that
// report coordinates measured from the sheet's corner land on the sheet's corner. The printer's
// parameters are set only when a page needs other ones than the page before it. Between pages
// pending events are processed and the report's stop flag is checked; the page cache is
// emptied after every page.

#include "report/print/report_printing.h"

#include "platform/heap.h"
#include "platform/message_box.h"
#include "platform/paper_sizes.h"
#include "report/draw/page_drawing.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/print/page_numbers.h"
#include "report/print/printer.h"
#include "report/print/sheet_fitting.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <QCoreApplication>
#include <QPainter>
#include <QScopedValueRollback>

namespace vornak {

namespace {

constexpr double screenDpi = 96;
constexpr double mmPerInch = 25.4;
const QString untitledJob = QStringLiteral("Report Document");

// The paper of the split, join and scale modes, in millimetres.
struct Sheet {
    int code = 0;
    double width = 0;
    double height = 0;
};

// What SetPrintParams was last called with.
struct PrintParams {
    int paperSize;
    int paperWidth;  // rounded mm
    int paperHeight;
    int bin;
    TPrinterOrientation orientation;
    TfrxDuplexMode duplex;
    bool operator==(const PrintParams &) const = default;
};

class PrintRun {
public:
    PrintRun(TfrxReport &report, TfrxCustomPreviewPages &pages, TfrxCustomPrinter &printer, const QList<int> &list,
             const Sheet &sheet, const TfrxPrintEvents &events)
        : report_(report),
          pages_(pages),
          printer_(printer),
          options_(report.PrintOptions),
          list_(list),
          sheet_(sheet),
          events_(events)
    {
    }

    void run();

private:
    void sendPages();
    QList<int> passPages() const;
    bool cancelled();
    void setParams(const PrintParams &params, double width, double height, int copies);
    void beginPage();
    void endPage();
    void draw(int index, double offsetX, double offsetY, double scaleX, double scaleY, int copyNo,
              double printScale = 1);
    int bin(int index, const TfrxReportPage &page) const;
    TfrxDuplexMode duplex(const TfrxReportPage &page) const;
    void reportProgress(int index);
    bool pass(int copyNo, int copies);
    bool printPage(int index, int copyNo, int copies);
    bool splitPage(int index, int copyNo, int copies);
    bool joinPass();

    TfrxReport &report_;
    TfrxCustomPreviewPages &pages_;
    TfrxCustomPrinter &printer_;
    const TfrxPrintOptions &options_;
    const QList<int> &list_;
    Sheet sheet_;
    const TfrxPrintEvents &events_;
    std::optional<PrintParams> last_;
    bool started_ = false;  // the document was begun
    bool aborted_ = false;
    int sheetsInPass_ = 0;
};

// The page indexes one pass prints, in order: the list's (or all pages), reversed on request,
// without pages outside the store and without the even or odd numbers left out.
QList<int> PrintRun::passPages() const
{
    const int count = pages_.Count();
    const int entries = list_.isEmpty() ? count : int(list_.size());
    QList<int> result;
    for (int k = 0; k < entries; ++k) {
        const int entry = options_.Reverse ? entries - 1 - k : k;
        const int index = list_.isEmpty() ? entry : list_[entry] - 1;
        if (index < 0 || index >= count)
            continue;
        const bool odd = (index + 1) % 2 == 1;
        if ((options_.PrintPages == ppOdd && !odd) || (options_.PrintPages == ppEven && odd))
            continue;
        result.append(index);
    }
    return result;
}

bool PrintRun::cancelled()
{
    if (!report_.Terminated)
        return false;
    printer_.Abort();
    aborted_ = true;
    return true;
}

void PrintRun::setParams(const PrintParams &params, double width, double height, int copies)
{
    printer_.SetPrintParams(params.paperSize, width, height, params.orientation, params.bin, params.duplex, copies);
    last_ = params;
}

void PrintRun::beginPage()
{
    if (!started_)
        printer_.BeginDoc();
    started_ = true;
    printer_.BeginPage();
    ++sheetsInPass_;
}

void PrintRun::endPage()
{
    printer_.EndPage();
    QCoreApplication::processEvents();
    pages_.ClearCache();
}

// Draws page `index` with the device origin at (offsetX, offsetY) dots from the printable
// area's corner, at the printer's resolution times (scaleX, scaleY).
void PrintRun::draw(int index, double offsetX, double offsetY, double scaleX, double scaleY, int copyNo,
                    double printScale)
{
    QPainter *canvas = printer_.Canvas();
    if (!canvas)
        return;
    const double dpiX = printer_.DPI.x();
    const double dpiY = printer_.DPI.y();
    DrawPage(pages_, index, *canvas, dpiX / screenDpi * scaleX, dpiY / screenDpi * scaleY,
             offsetX - printer_.LeftMargin * dpiX / mmPerInch, offsetY - printer_.TopMargin * dpiY / mmPerInch, copyNo,
             printScale);
}

void PrintRun::run()
{
    keepLargeBlocksInHeap();  // the printer's PDF writer takes large buffers for every page
    report_.Terminated = false;
    if (events_.PrintStarted)
        events_.PrintStarted();
    const QString name = report_.ReportOptions.Name;
    printer_.Title = name.isEmpty() ? untitledJob : name;

    try {
        sendPages();
        if (started_ && !aborted_)
            printer_.EndDoc();
    } catch (...) {
        // A page that cannot be rebuilt or a job that cannot start: the job goes, the progress
        // window closes, and the error ends the print command.
        if (printer_.Printing)
            printer_.Abort();
        if (events_.PrintStopped)
            events_.PrintStopped();
        throw;
    }
    if (events_.PrintStopped)
        events_.PrintStopped();
}

void PrintRun::sendPages()
{
    const int copies = std::max(1, options_.Copies);
    if (options_.PrintMode == pmJoin) {
        joinPass();
    } else if (options_.Collate) {
        for (int copy = 1; copy <= copies; ++copy) {
            sheetsInPass_ = 0;
            if (!pass(copy, 1))
                break;
            // A duplex copy that ends on the front of a sheet leaves its back empty.
            const bool duplex = last_ && last_->duplex != dmNone && last_->duplex != dmSimplex;
            if (duplex && sheetsInPass_ % 2 == 1 && copy < copies) {
                beginPage();
                endPage();
            }
        }
    } else {
        pass(1, copies);
    }
}

// The paper source: the first page's for the report's first page, the other pages' else.
int PrintRun::bin(int index, const TfrxReportPage &page) const
{
    return index == 0 ? page.Bin() : page.BinOtherPages();
}

// The dialog's duplex when one was chosen, else the page's.
TfrxDuplexMode PrintRun::duplex(const TfrxReportPage &page) const
{
    return options_.Duplex != dmNone ? TfrxDuplexMode(options_.Duplex) : page.Duplex();
}

void PrintRun::reportProgress(int index)
{
    if (events_.PrintProgress)
        events_.PrintProgress(index + 1, reportText("printingPage").arg(index + 1));
}

bool PrintRun::pass(int copyNo, int copies)
{
    for (int index : passPages()) {
        if (cancelled())
            return false;
        const bool sent =
            options_.PrintMode == pmSplit ? splitPage(index, copyNo, copies) : printPage(index, copyNo, copies);
        if (!sent)
            return false;
    }
    return true;
}

// One page on one sheet (default and scale modes).
bool PrintRun::printPage(int index, int copyNo, int copies)
{
    const TfrxReportPage &page = *pages_.PageAt(index);
    const int bin = this->bin(index, page);
    const TfrxDuplexMode duplex = this->duplex(page);
    const double pageWidth = page.PaperWidth();
    const double pageHeight = page.PaperHeight();
    if (options_.PrintMode == pmScale) {
        const PrintParams params{
            sheet_.code, int(std::lround(sheet_.width)), int(std::lround(sheet_.height)), bin, page.Orientation(),
            duplex};
        if (!last_ || last_->bin != bin || last_->orientation != params.orientation || last_->duplex != duplex)
            setParams(params, sheet_.width, sheet_.height, copies);
    } else {
        const PrintParams params{page.PaperSize(),
                                 int(std::lround(pageWidth)),
                                 int(std::lround(pageHeight)),
                                 bin,
                                 page.Orientation(),
                                 duplex};
        if (last_ != params)
            setParams(params, pageWidth, pageHeight, copies);
    }

    beginPage();
    if (options_.PrintMode == pmScale && pageWidth > 0 && pageHeight > 0) {
        const double factorX = sheet_.width / pageWidth;
        const double factorY = sheet_.height / pageHeight;
        draw(index, 0, 0, factorX, factorY, copyNo, std::min(factorX, factorY));
    } else {
        draw(index, 0, 0, 1, 1, copyNo);
    }
    reportProgress(index);
    endPage();
    return true;
}

// One page cut into tiles, each on a sheet of its own, row by row. When a direction needs more
// than one sheet, each tile covers the sheet's printable part less the splicing overlap.
bool PrintRun::splitPage(int index, int copyNo, int copies)
{
    const TfrxReportPage &page = *pages_.PageAt(index);
    const double pageWidth = page.PaperWidth();
    const double pageHeight = page.PaperHeight();
    const TfrxSheetGrid grid = frxSplitGrid(pageWidth, pageHeight, sheet_.width, sheet_.height);
    if (grid.columns == 1 && grid.rows == 1)
        return printPage(index, copyNo, copies);

    const int bin = this->bin(index, page);
    const TfrxDuplexMode duplex = this->duplex(page);
    const double sheetWidth = grid.turned ? sheet_.height : sheet_.width;
    const double sheetHeight = grid.turned ? sheet_.width : sheet_.height;
    const PrintParams params{sheet_.code, int(std::lround(sheet_.width)),         int(std::lround(sheet_.height)),
                             bin,         grid.turned ? poLandscape : poPortrait, duplex};
    if (last_ != params)
        setParams(params, sheet_.width, sheet_.height, copies);

    const auto tileLength = [this](int count, double sheet, double margins) {
        return count > 1 ? sheet - margins - options_.SplicingLine : sheet;
    };
    const double tileWidth = tileLength(grid.columns, sheetWidth, printer_.LeftMargin + printer_.RightMargin);
    const double tileHeight = tileLength(grid.rows, sheetHeight, printer_.TopMargin + printer_.BottomMargin);
    const double dotsX = printer_.DPI.x() / mmPerInch;
    const double dotsY = printer_.DPI.y() / mmPerInch;
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            if (cancelled())
                return false;
            beginPage();
            if (QPainter *canvas = printer_.Canvas()) {
                canvas->setClipRect(QRectF(0, 0, (sheetWidth - printer_.LeftMargin - printer_.RightMargin) * dotsX,
                                           (sheetHeight - printer_.TopMargin - printer_.BottomMargin) * dotsY));
            }
            // A tile beyond the first in a direction starts at the printable area's corner.
            const double shiftX = grid.columns > 1 ? printer_.LeftMargin * dotsX - column * tileWidth * dotsX : 0;
            const double shiftY = grid.rows > 1 ? printer_.TopMargin * dotsY - row * tileHeight * dotsY : 0;
            draw(index, shiftX, shiftY, 1, 1, copyNo);
            reportProgress(index);
            endPage();
        }
    }
    return true;
}

// Pages side by side on the sheet, row by row from its top-left corner, each place the size
// of the first page; each copy of a page takes a place of its own.
bool PrintRun::joinPass()
{
    const QList<int> indexes = passPages();
    if (indexes.isEmpty())
        return true;
    const TfrxReportPage &firstPage = *pages_.PageAt(indexes.first());
    const double placeWidth = firstPage.PaperWidth();
    const double placeHeight = firstPage.PaperHeight();
    const TfrxSheetGrid grid = frxJoinGrid(placeWidth, placeHeight, sheet_.width, sheet_.height);
    setParams({sheet_.code, int(std::lround(sheet_.width)), int(std::lround(sheet_.height)),
               bin(indexes.first(), firstPage), poPortrait, duplex(firstPage)},
              sheet_.width, sheet_.height, 1);

    const int places = grid.columns * grid.rows;
    const int copies = std::max(1, options_.Copies);
    const double dotsX = printer_.DPI.x() / mmPerInch;
    const double dotsY = printer_.DPI.y() / mmPerInch;
    int place = 0;
    for (int index : indexes) {
        for (int copy = 1; copy <= copies; ++copy, ++place) {
            if (cancelled())
                return false;
            const int onSheet = place % places;
            if (onSheet == 0) {
                if (place > 0)
                    endPage();
                beginPage();
            }
            draw(index, onSheet % grid.columns * placeWidth * dotsX, onSheet / grid.columns * placeHeight * dotsY, 1, 1,
                 copy);
            reportProgress(index);
            QCoreApplication::processEvents();
        }
    }
    if (place > 0)
        endPage();
    return true;
}

// The sheet of the split, join and scale modes: the printer's current paper for 256, else the
// standard paper of that code.
Sheet modeSheet(const TfrxPrintOptions &options, const TfrxCustomPrinter &printer)
{
    if (options.PrintOnSheet == PrinterDeviceMode::customPaper || options.PrintOnSheet == 0)
        return {PrinterDeviceMode::customPaper, printer.PaperWidth, printer.PaperHeight};
    if (const std::optional<PaperSize> paper = findPaperSize(options.PrintOnSheet))
        return {paper->code, paper->width / 10.0, paper->height / 10.0};
    return {PrinterDeviceMode::customPaper, printer.PaperWidth, printer.PaperHeight};
}

void showError(const QString &text)
{
    UserDialogs::current().messageBox(text, reportText("errorCaption"), MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace

bool frxPrint(TfrxReport &report, const TfrxPrintEvents &events)
{
    TfrxPrinters &printers = frxPrinters();
    if (!printers.HasPhysicalPrinters) {
        showError(reportText("noPrinters"));
        return false;
    }
    TfrxCustomPreviewPages *pages = report.PreviewPages();
    if (!pages)
        return false;

    const QScopedValueRollback savedOptions(report.PrintOptions);
    TfrxPrintOptions &options = report.PrintOptions;
    const int index = printers.IndexOf(options.Printer);
    if (index >= 0 && index != printers.PrinterIndex())
        printers.SetPrinterIndex(index);
    else
        printers.Printer().Init();

    QString dialogFile;
    if (options.ShowDialog && events.ShowDialog && !events.ShowDialog(options, dialogFile))
        return false;
    TfrxCustomPrinter &printer = printers.Printer();
    printer.FileName = !dialogFile.isEmpty() ? dialogFile : options.FileName;
    const Sheet sheet = modeSheet(options, printer);

    // Read before the preview is locked: a bad list leaves the preview showing its pages.
    const QList<int> list = frxParsePageNumbers(options.PageNumbers, pages->Count());
    if (frxNamesNoPage(options.PageNumbers, list, pages->Count())) {
        showError(reportText("noPagesInList").arg(options.PageNumbers));
        return false;
    }
    if (events.LockPreview)
        events.LockPreview();
    if (!printer.Initialized) {
        showError(reportText("invalidPrinter"));
        return false;
    }
    pages->ClearCache();
    PrintRun(report, *pages, printer, list, sheet, events).run();
    return true;
}

QString frxCurrentPageList(TfrxReport &report)
{
    TfrxCustomPreviewPages *pages = report.PreviewPages();
    return QString::number((pages ? pages->CurPreviewPage : 0) + 1);
}

}  // namespace vornak
