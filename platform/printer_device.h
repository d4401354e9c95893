#pragma once

// The platform's printers as the report's printer layer sees them: the list of installed
// printers with the default one, and for each printer a device with its driver settings
// (device mode), its measures and its print jobs. Qt's print support (which talks to CUPS) is
// the real platform; tests install a recording printer (platform/recording_printer.h).

#include <memory>
#include <QList>
#include <QString>
#include <QStringList>

class QPainter;

namespace vornak {

// The driver's settings record of one printer.
struct PrinterDeviceMode {
    enum Orientation { Portrait = 1, Landscape = 2 };
    enum Duplex { Simplex = 1, Vertical = 2, Horizontal = 3 };
    static constexpr int customPaper = 256;
    static constexpr int defaultSource = 7;

    int orientation = Portrait;
    int paperSize = 9;    // standard paper code, customPaper for the size below
    int paperLength = 0;  // tenths of a millimetre, for customPaper
    int paperWidth = 0;   // tenths of a millimetre, for customPaper
    int copies = 1;
    int source = defaultSource;
    int duplex = Simplex;

    bool operator==(const PrinterDeviceMode &) const = default;
};

// What the device reports about the sheet, in device dots.
struct PrinterMeasures {
    int dpiX = 0;
    int dpiY = 0;
    int physicalWidth = 0;
    int physicalHeight = 0;
    int offsetX = 0;  // unprintable margin at the left
    int offsetY = 0;  // unprintable margin at the top
    int printableWidth = 0;
    int printableHeight = 0;
};

struct PrinterPaper {
    QString name;
    int code = 0;
};

// One printer: its settings and its print jobs. A job is BeginDoc, then BeginPage, drawing on
// Canvas and EndPage for every page, then EndDoc (or AbortDoc at any point). A job reaches the
// printer, or its file, only when it ends: an aborted job leaves nothing behind.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    virtual QString port() const = 0;
    virtual QList<PrinterPaper> papers() const = 0;
    virtual QList<PrinterPaper> bins() const = 0;
    // The settings the driver reports when the printer is first used.
    virtual PrinterDeviceMode defaultMode() const = 0;
    // Resets the device with `mode`; the measures follow it. Between pages of a job it applies
    // from the next page on.
    virtual void setMode(const PrinterDeviceMode &mode) = 0;
    virtual PrinterMeasures measures() const = 0;
    // The driver's own settings dialog, started from `mode`; true when it was closed with OK,
    // with `mode` holding what was chosen there.
    virtual bool propertiesDialog(PrinterDeviceMode &mode) { return false; }

    // `fileName` empty: the job goes to the printer. False when the job cannot start.
    virtual bool beginDoc(const QString &title, const QString &fileName) = 0;
    virtual void beginPage() = 0;
    // The surface of the page begun; its origin is the corner of the printable area.
    virtual QPainter &canvas() = 0;
    virtual void endPage() = 0;
    // Hands the job to the printer or puts its file in place; false when that failed (nothing
    // was printed, no file was left).
    virtual bool endDoc() = 0;
    virtual void abortDoc() = 0;
};

// The printers installed on the machine.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;

    // Names in the platform's enumeration order.
    virtual QStringList printers() const = 0;
    virtual QString defaultPrinter() const = 0;
    // nullptr when the printer cannot be opened.
    virtual std::unique_ptr<PrinterDevice> open(const QString &name) = 0;

    static PrinterSystem &current();
    // Installs `system` (not owned); nullptr restores the platform's printers.
    static void install(PrinterSystem *system);
};

}  // namespace vornak
