#pragma once

// The report's printers: the list of the machine's printers (TfrxPrinters, one for the whole
// process) and each printer (TfrxPrinter) with its driver settings, its measures in whole
// millimetres, its papers and paper sources, and its print jobs. The platform's printers are
// reached through PrinterSystem (platform/printer_device.h).

#include "platform/printer_device.h"
#include "report/model/report_types.h"

#include <memory>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace vornak {

// The printer operations printing uses.
class TfrxCustomPrinter {
public:
    TfrxCustomPrinter(const QString &name, const QString &port)
        : Name(name),
          Port(port)
    {
    }
    virtual ~TfrxCustomPrinter() = default;

    QString Name;
    QString Port;
    QPoint DPI;  // horizontal and vertical dots per inch
    // The sheet and its unprintable margins, in whole millimetres.
    double PaperWidth = 0;
    double PaperHeight = 0;
    double LeftMargin = 0;
    double TopMargin = 0;
    double RightMargin = 0;
    double BottomMargin = 0;
    QList<PrinterPaper> Papers;  // "Пользовательский" = 256 first
    QList<PrinterPaper> Bins;    // "По умолчанию" = 7 first
    // As the driver reported them when the printer was first used.
    int DefPaper = 9;
    int DefBin = PrinterDeviceMode::defaultSource;
    int DefDuplex = PrinterDeviceMode::Simplex;
    TPrinterOrientation DefOrientation = poPortrait;
    // Chosen in the driver's own settings dialog; -1 = none.
    int Bin = -1;
    int Duplex = -1;
    QString Title;     // print job name
    QString FileName;  // output file of the job; empty = the printer
    bool Initialized = false;
    bool Printing = false;

    virtual void Init() = 0;
    virtual void Abort() = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void EndDoc() = 0;
    virtual void EndPage() = 0;
    // Paper code (256: the size below, in millimetres), orientation, paper source (7: the
    // printer's default), duplex and copies for the pages that follow; the measures are read
    // again.
    virtual void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                                int bin, TfrxDuplexMode duplex, int copies) = 0;
    // The surface of the page begun; nullptr outside a page.
    virtual QPainter *Canvas() = 0;
    // The driver's own settings dialog; a paper source or duplex chosen there overrides the
    // pages' until the document ends.
    virtual void PropertiesDlg() {}
};

// A printer of the platform. Its device is opened on Init; a device that cannot be opened or
// reports a resolution of 0 leaves the printer uninitialized, with "Printer selected is not
// valid" shown.
class TfrxPrinter : public TfrxCustomPrinter {
public:
    using TfrxCustomPrinter::TfrxCustomPrinter;
    ~TfrxPrinter() override;

    void Init() override;
    void Abort() override;
    void BeginDoc() override;
    void BeginPage() override;
    void EndDoc() override;
    void EndPage() override;
    void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation, int bin,
                        TfrxDuplexMode duplex, int copies) override;
    QPainter *Canvas() override;
    void PropertiesDlg() override;

private:
    void readMeasures();

    std::unique_ptr<PrinterDevice> device_;
    PrinterDeviceMode mode_;
    bool pageOpen_ = false;
};

// The one printer of a machine without printers: it prints nothing.
class TfrxVirtualPrinter : public TfrxCustomPrinter {
public:
    TfrxVirtualPrinter();
    void Init() override {}
    void Abort() override { Printing = false; }
    void BeginDoc() override { Printing = true; }
    void BeginPage() override {}
    void EndDoc() override { Printing = false; }
    void EndPage() override {}
    void SetPrintParams(int, double, double, TPrinterOrientation, int, TfrxDuplexMode, int) override {}
    QPainter *Canvas() override { return nullptr; }
};

// The machine's printers, in the platform's order; without any, the one virtual printer
// "Виртуальный". The current printer starts as the platform's default printer (the first
// printer when the default is not listed).
class TfrxPrinters {
public:
    TfrxPrinters();
    ~TfrxPrinters();

    bool HasPhysicalPrinters = false;
    QStringList Printers() const;
    int Count() const { return int(printers_.size()); }
    TfrxCustomPrinter &Items(int index) { return *printers_[size_t(index)]; }
    // The index of the printer named `name` (ignoring case), -1 when none.
    int IndexOf(const QString &name) const;
    int PrinterIndex() const { return printerIndex_; }
    // Makes printer `index` current and initializes it; an index outside the list is ignored.
    void SetPrinterIndex(int index);
    TfrxCustomPrinter &Printer() { return Items(printerIndex_); }

private:
    std::vector<std::unique_ptr<TfrxCustomPrinter>> printers_;
    int printerIndex_ = 0;
};

// The process's printer list, created on first use from the platform's printers.
TfrxPrinters &frxPrinters();
// Drops the printer list so that the next use reads the platform's printers again (after a test
// installed its own).
void frxResetPrinters();

}  // namespace vornak
