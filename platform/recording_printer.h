#pragma once

// A printer system for tests: printers that exist only in memory and record every job, each
// page with the device mode it was printed with and an image of what was drawn on it. Installed
// for its lifetime.

#include "platform/printer_device.h"

#include <functional>
#include <QImage>
#include <QSet>

namespace vornak {

struct RecordedPage {
    PrinterDeviceMode mode;
    QImage image;  // the printable area at the printer's resolution
};

struct RecordedJob {
    QString printer;
    QString title;
    QString fileName;
    QList<RecordedPage> pages;
    bool ended = false;
    bool aborted = false;
};

class RecordingPrinterSystem : public PrinterSystem {
public:
    explicit RecordingPrinterSystem(QStringList printerNames = {QStringLiteral("Recorder")});
    ~RecordingPrinterSystem() override;

    QStringList names;
    QString defaultName;
    QSet<QString> invalidPrinters;  // their devices report a resolution of 0
    int dpi = 254;                  // 10 dots per millimetre
    int marginDots = 0;             // the unprintable margin on every side
    PrinterDeviceMode startMode;    // what every driver reports at first
    bool refuseJobs = false;        // beginDoc fails (a printer gone, a file that cannot be written)
    // The driver's settings dialog: edits the mode, true for OK; none = closed with Cancel.
    std::function<bool(PrinterDeviceMode &)> propertiesDialog;

    QList<RecordedJob> jobs;

    QStringList printers() const override { return names; }
    QString defaultPrinter() const override { return defaultName; }
    std::unique_ptr<PrinterDevice> open(const QString &name) override;
};

}  // namespace vornak
