// The platform's printers through Qt's print support: the printer list and the default printer
// from the print system (CUPS), and one QPrinter per opened printer. A device mode is applied as
// Qt's page layout, copy count and duplex mode; the measures are read back from the page layout
// at the printer's resolution, with the painter's origin at the corner of the printable area.

#include "platform/printer_device.h"

#include "platform/message_box.h"

#include <cmath>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace vornak {

namespace {

QPrinter::DuplexMode qtDuplex(int duplex)
{
    switch (duplex) {
    case PrinterDeviceMode::Vertical:
        return QPrinter::DuplexLongSide;
    case PrinterDeviceMode::Horizontal:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

int modeDuplex(QPrinter::DuplexMode duplex)
{
    switch (duplex) {
    case QPrinter::DuplexLongSide:
        return PrinterDeviceMode::Vertical;
    case QPrinter::DuplexShortSide:
        return PrinterDeviceMode::Horizontal;
    default:
        return PrinterDeviceMode::Simplex;
    }
}

QPageSize qtPageSize(const PrinterDeviceMode &mode)
{
    if (mode.paperSize == PrinterDeviceMode::customPaper) {
        const bool landscape = mode.orientation == PrinterDeviceMode::Landscape;
        // The mode holds the custom size as it lies on the sheet; Qt wants it portrait.
        const double width = (landscape ? mode.paperLength : mode.paperWidth) / 10.0;
        const double length = (landscape ? mode.paperWidth : mode.paperLength) / 10.0;
        return QPageSize(QSizeF(width, length), QPageSize::Millimeter);
    }
    return QPageSize(QPageSize::id(mode.paperSize));
}

class QtPrinterDevice : public PrinterDevice {
public:
    explicit QtPrinterDevice(const QPrinterInfo &info)
        : info_(info),
          printer_(info, QPrinter::HighResolution)
    {
    }

    QString port() const override { return info_.location(); }

    QList<PrinterPaper> papers() const override
    {
        QList<PrinterPaper> result;
        for (const QPageSize &size : info_.supportedPageSizes())
            result.append({size.name(), size.windowsId() ? size.windowsId() : PrinterDeviceMode::customPaper});
        return result;
    }

    QList<PrinterPaper> bins() const override { return {}; }

    PrinterDeviceMode defaultMode() const override
    {
        PrinterDeviceMode mode;
        const QPageSize size = info_.defaultPageSize();
        if (size.isValid() && size.windowsId())
            mode.paperSize = size.windowsId();
        mode.duplex = modeDuplex(info_.defaultDuplexMode());
        return mode;
    }

    void setMode(const PrinterDeviceMode &mode) override
    {
        printer_.setPageSize(qtPageSize(mode));
        printer_.setPageOrientation(mode.orientation == PrinterDeviceMode::Landscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
        printer_.setCopyCount(std::max(1, mode.copies));
        printer_.setDuplex(qtDuplex(mode.duplex));
    }

    bool propertiesDialog(PrinterDeviceMode &mode) override
    {
        setMode(mode);
        QPageSetupDialog dialog(&printer_);
        if (UserDialogs::current().showModal(dialog) != ModalResult::Ok)
            return false;
        mode.duplex = modeDuplex(printer_.duplex());
        mode.orientation = printer_.pageLayout().orientation() == QPageLayout::Landscape ? PrinterDeviceMode::Landscape
                                                                                         : PrinterDeviceMode::Portrait;
        if (const int code = printer_.pageLayout().pageSize().windowsId())
            mode.paperSize = code;
        return true;
    }

    PrinterMeasures measures() const override
    {
        const int dpi = printer_.resolution();
        const QPageLayout layout = printer_.pageLayout();
        const QRect full = layout.fullRectPixels(dpi);
        const QRect printable = layout.paintRectPixels(dpi);
        return {dpi,
                dpi,
                full.width(),
                full.height(),
                printable.left(),
                printable.top(),
                printable.width(),
                printable.height()};
    }

    bool beginDoc(const QString &title, const QString &fileName) override
    {
        printer_.setDocName(title);
        printer_.setOutputFileName(fileName);
        if (!fileName.isEmpty())
            printer_.setOutputFormat(QPrinter::PdfFormat);
        firstPage_ = true;
        return painter_.begin(&printer_);
    }

    void beginPage() override
    {
        if (!firstPage_)
            printer_.newPage();
        firstPage_ = false;
    }

    QPainter &canvas() override { return painter_; }
    void endPage() override {}

    void endDoc() override
    {
        if (painter_.isActive())
            painter_.end();
    }

    void abortDoc() override
    {
        if (painter_.isActive())
            printer_.abort();
        endDoc();
    }

private:
    QPrinterInfo info_;
    QPrinter printer_;
    QPainter painter_;
    bool firstPage_ = true;
};

class QtPrinterSystem : public PrinterSystem {
public:
    QStringList printers() const override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinter() const override { return QPrinterInfo::defaultPrinterName(); }
    std::unique_ptr<PrinterDevice> open(const QString &name) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(name);
        if (info.isNull())
            return nullptr;
        return std::make_unique<QtPrinterDevice>(info);
    }
};

PrinterSystem *installed = nullptr;

}  // namespace

PrinterSystem &PrinterSystem::current()
{
    static QtPrinterSystem platform;
    return installed ? *installed : platform;
}

void PrinterSystem::install(PrinterSystem *system)
{
    installed = system;
}

}  // namespace vornak
