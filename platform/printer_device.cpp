// The platform's printers through Qt's print support: the printer list and the default printer
// from the print system (CUPS), and one QPrinter per opened printer. A device mode is applied as
// Qt's page layout, copy count and duplex mode; the measures are read back from the page layout
// at the printer's resolution, with the painter's origin at the corner of the printable area.
//
// A job is drawn into a PDF document with that same page layout and resolution, so the measures
// hold whatever the job's output: a print into a file writes the document beside the file and
// puts it in place when the job ends; a print to the queue writes it into a temporary file that
// is handed to CUPS when the job ends. Until then nothing exists outside the process, so an
// aborted job (or a file that cannot be completed) leaves no job on the queue and no file. The
// copies the device makes are never collated: collated copies are separate passes of the pages.

#include "platform/printer_device.h"

#include "platform/message_box.h"
#include "platform/print_queue.h"

#include <cmath>
#include <QDir>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>

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

// The CUPS "sides" of a device duplex.
const char *cupsSides(int duplex)
{
    switch (duplex) {
    case PrinterDeviceMode::Vertical:
        return "two-sided-long-edge";
    case PrinterDeviceMode::Horizontal:
        return "two-sided-short-edge";
    default:
        return "one-sided";
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

    bool propertiesDialog(PrinterDeviceMode &mode) override
    {
        applyMode(mode);
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
        title_ = title;
        if (fileName.isEmpty()) {
            auto spool = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vornak-job-XXXXXX.pdf"));
            if (!spool->open())
                return false;
            output_ = std::move(spool);
        } else {
            auto file = std::make_unique<QSaveFile>(fileName);
            if (!file->open(QIODevice::WriteOnly))
                return false;
            output_ = std::move(file);
        }
        writer_ = std::make_unique<QPdfWriter>(output_.get());
        writer_->setTitle(title);
        writer_->setResolution(printer_.resolution());
        writer_->setPageLayout(printer_.pageLayout());
        firstPage_ = true;
        if (!painter_.begin(writer_.get())) {
            dropJob();
            return false;
        }
        return true;
    }

    void setMode(const PrinterDeviceMode &mode) override
    {
        applyMode(mode);
        // Between pages of a job the next page takes the new layout.
        if (writer_)
            writer_->setPageLayout(printer_.pageLayout());
    }

    void beginPage() override
    {
        if (!firstPage_)
            writer_->newPage();
        firstPage_ = false;
    }

    QPainter &canvas() override { return painter_; }
    void endPage() override {}

    bool endDoc() override
    {
        if (!writer_)
            return true;
        painter_.end();
        writer_.reset();
        bool delivered = false;
        if (auto *file = dynamic_cast<QSaveFile *>(output_.get()))
            delivered = file->commit();
        else if (output_->isOpen() && static_cast<QFileDevice &>(*output_).flush())
            delivered = submit(static_cast<QFileDevice &>(*output_).fileName());
        output_.reset();
        return delivered;
    }

    void abortDoc() override { dropJob(); }

private:
    void applyMode(const PrinterDeviceMode &mode)
    {
        printer_.setPageSize(qtPageSize(mode));
        printer_.setPageOrientation(mode.orientation == PrinterDeviceMode::Landscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
        printer_.setCopyCount(std::max(1, mode.copies));
        printer_.setCollateCopies(false);
        printer_.setDuplex(qtDuplex(mode.duplex));
    }

    // The job's document goes unfinished and unsent: the spool file or the unfinished file is
    // removed.
    void dropJob()
    {
        if (painter_.isActive())
            painter_.end();
        writer_.reset();
        if (auto *file = dynamic_cast<QSaveFile *>(output_.get()))
            file->cancelWriting();
        output_.reset();
    }

    // Hands the finished document at `path` to the printer's queue, with the options the
    // printer's settings ask for; false when CUPS refuses the job.
    bool submit(const QString &path) const
    {
        QList<print_queue::Option> options = {
            {"media", printer_.pageLayout().pageSize().key().toUtf8()},
            {"copies", QByteArray::number(std::max(1, printer_.copyCount()))},
            {"Collate", "False"},
            {"multiple-document-handling", "separate-documents-uncollated-copies"},
            {"sides", cupsSides(modeDuplex(printer_.duplex()))},
        };
        if (printer_.pageLayout().orientation() == QPageLayout::Landscape)
            options.append(print_queue::Option("landscape", ""));
        // An instance ("queue/instance") is printed on its queue.
        const QByteArray queue = info_.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
        return print_queue::submit(queue, path, title_, options);
    }

    QPrinterInfo info_;
    QPrinter printer_;  // the queue's settings and measures
    QString title_;
    std::unique_ptr<QIODevice> output_;  // the job's file: QSaveFile or QTemporaryFile
    std::unique_ptr<QPdfWriter> writer_;
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
