// A printer keeps the driver's settings record (device mode) it got when first used and changes
// it for every SetPrintParams; after each change the device is reset and the measures are read
// again: millimetres from device dots, rounded, so a 4.2 mm unprintable margin counts as 4 mm.
// Overrides from the driver's settings dialog (Bin, Duplex) win over the page's choices until
// the document ends.

#include "report/print/printer.h"

#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/number_format.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <QPainter>

namespace vornak {

namespace {

// Dots at `dpi` to whole millimetres.
double dotsToMillimetres(int dots, int dpi)
{
    return roundHalfEven(double(dots) / dpi * 25.4);
}

void showInvalidPrinter()
{
    UserDialogs::current().messageBox(reportText("invalidPrinter"), reportText("errorCaption"), MessageButtons::Ok,
                                      MessageIcon::Error);
}

int deviceDuplex(TfrxDuplexMode duplex, int printerDefault)
{
    switch (duplex) {
    case dmVertical:
        return PrinterDeviceMode::Vertical;
    case dmHorizontal:
        return PrinterDeviceMode::Horizontal;
    case dmSimplex:
        return PrinterDeviceMode::Simplex;
    case dmNone:
        break;
    }
    return printerDefault;
}

}  // namespace

TfrxPrinter::~TfrxPrinter()
{
    if (Printing)
        Abort();
}

void TfrxPrinter::Init()
{
    if (Initialized)
        return;
    if (!device_) {
        device_ = PrinterSystem::current().open(Name);
        if (!device_) {
            showInvalidPrinter();
            return;
        }
        Port = device_->port();
        mode_ = device_->defaultMode();
        DefPaper = mode_.paperSize;
        DefBin = mode_.source;
        DefDuplex = mode_.duplex;
        DefOrientation = mode_.orientation == PrinterDeviceMode::Landscape ? poLandscape : poPortrait;
        Papers = QList<PrinterPaper>{{reportText("customPaper"), PrinterDeviceMode::customPaper}} + device_->papers();
        Bins = QList<PrinterPaper>{{reportText("defaultBin"), PrinterDeviceMode::defaultSource}} + device_->bins();
        device_->setMode(mode_);
    }
    readMeasures();
}

void TfrxPrinter::readMeasures()
{
    const PrinterMeasures m = device_->measures();
    if (m.dpiX <= 0 || m.dpiY <= 0) {
        Initialized = false;
        showInvalidPrinter();
        return;
    }
    DPI = QPoint(m.dpiX, m.dpiY);
    PaperWidth = dotsToMillimetres(m.physicalWidth, m.dpiX);
    PaperHeight = dotsToMillimetres(m.physicalHeight, m.dpiY);
    LeftMargin = dotsToMillimetres(m.offsetX, m.dpiX);
    TopMargin = dotsToMillimetres(m.offsetY, m.dpiY);
    RightMargin = PaperWidth - dotsToMillimetres(m.printableWidth, m.dpiX) - LeftMargin;
    BottomMargin = PaperHeight - dotsToMillimetres(m.printableHeight, m.dpiY) - TopMargin;
    Initialized = true;
}

void TfrxPrinter::SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                                 int bin, TfrxDuplexMode duplex, int copies)
{
    if (!device_)
        return;
    mode_.orientation = orientation == poLandscape ? PrinterDeviceMode::Landscape : PrinterDeviceMode::Portrait;
    mode_.paperSize = paperSize;
    mode_.copies = std::max(1, copies);
    if (paperSize == PrinterDeviceMode::customPaper) {
        const int length = int(roundHalfEven(paperHeight * 10));
        const int width = int(roundHalfEven(paperWidth * 10));
        const bool portrait = orientation == poPortrait;
        mode_.paperLength = portrait ? length : width;
        mode_.paperWidth = portrait ? width : length;
    }
    mode_.source = Bin != -1 ? Bin : bin == PrinterDeviceMode::defaultSource ? DefBin : bin;
    mode_.duplex = Duplex != -1 ? Duplex : deviceDuplex(duplex, DefDuplex);
    device_->setMode(mode_);
    readMeasures();
}

void TfrxPrinter::PropertiesDlg()
{
    if (!device_)
        return;
    PrinterDeviceMode chosen = mode_;
    if (!device_->propertiesDialog(chosen))
        return;
    if (chosen.source != mode_.source)
        Bin = chosen.source;
    if (chosen.duplex != mode_.duplex)
        Duplex = chosen.duplex;
    mode_ = chosen;
    device_->setMode(mode_);
    readMeasures();
}

void TfrxPrinter::BeginDoc()
{
    if (!device_)
        return;
    if (!device_->beginDoc(Title, FileName))
        throw Error(FileName.isEmpty() ? reportText("printNotStarted").arg(Name)
                                       : reportText("printFileNotWritten").arg(FileName));
    Printing = true;
}

void TfrxPrinter::BeginPage()
{
    if (!Printing)
        return;
    device_->beginPage();
    pageOpen_ = true;
}

void TfrxPrinter::EndPage()
{
    if (pageOpen_)
        device_->endPage();
    pageOpen_ = false;
}

QPainter *TfrxPrinter::Canvas()
{
    return pageOpen_ ? &device_->canvas() : nullptr;
}

void TfrxPrinter::EndDoc()
{
    bool delivered = true;
    if (Printing) {
        EndPage();
        delivered = device_->endDoc();
    }
    Printing = false;
    // The next job starts from the driver's own source and duplex again.
    mode_.source = DefBin;
    mode_.duplex = DefDuplex;
    Bin = -1;
    Duplex = -1;
    if (!delivered)
        throw Error(FileName.isEmpty() ? reportText("printNotStarted").arg(Name)
                                       : reportText("printFileNotWritten").arg(FileName));
}

void TfrxPrinter::Abort()
{
    if (Printing) {
        pageOpen_ = false;
        device_->abortDoc();
        Printing = false;
    }
    EndDoc();
}

TfrxVirtualPrinter::TfrxVirtualPrinter()
    : TfrxCustomPrinter(reportText("virtualPrinter"), QString())
{
    DPI = QPoint(600, 600);
    PaperWidth = 210;
    PaperHeight = 297;
    Papers = {{reportText("customPaper"), PrinterDeviceMode::customPaper}};
    Bins = {{reportText("defaultBin"), PrinterDeviceMode::defaultSource}};
    Initialized = true;
}

TfrxPrinters::TfrxPrinters()
{
    PrinterSystem &system = PrinterSystem::current();
    const QStringList names = system.printers();
    HasPhysicalPrinters = !names.isEmpty();
    if (!HasPhysicalPrinters) {
        printers_.push_back(std::make_unique<TfrxVirtualPrinter>());
        return;
    }
    for (const QString &name : names)
        printers_.push_back(std::make_unique<TfrxPrinter>(name, QString()));
    printerIndex_ = std::max(0, IndexOf(system.defaultPrinter()));
}

TfrxPrinters::~TfrxPrinters() = default;

QStringList TfrxPrinters::Printers() const
{
    QStringList names;
    for (const auto &printer : printers_)
        names.append(printer->Name);
    return names;
}

int TfrxPrinters::IndexOf(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    for (size_t i = 0; i < printers_.size(); ++i)
        if (printers_[i]->Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TfrxPrinters::SetPrinterIndex(int index)
{
    if (index < 0 || index >= Count())
        return;
    printerIndex_ = index;
    Printer().Init();
}

namespace {
std::unique_ptr<TfrxPrinters> &printerList()
{
    static std::unique_ptr<TfrxPrinters> list;
    return list;
}
}  // namespace

TfrxPrinters &frxPrinters()
{
    auto &list = printerList();
    if (!list)
        list = std::make_unique<TfrxPrinters>();
    return *list;
}

void frxResetPrinters()
{
    printerList().reset();
}

}  // namespace vornak
