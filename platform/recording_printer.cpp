#include "platform/recording_printer.h"

#include "platform/paper_sizes.h"

#include <cmath>
#include <QPainter>

namespace vornak {

namespace {

class RecordingDevice : public PrinterDevice {
public:
    RecordingDevice(RecordingPrinterSystem &system, const QString &name)
        : system_(system),
          name_(name),
          mode_(system.startMode),
          dpi_(system.invalidPrinters.contains(name) ? 0 : system.dpi)
    {
    }

    QString port() const override { return QStringLiteral("recorder:") + name_; }
    QList<PrinterPaper> papers() const override { return {{QStringLiteral("A4"), 9}, {QStringLiteral("A5"), 11}}; }
    QList<PrinterPaper> bins() const override { return {}; }
    PrinterDeviceMode defaultMode() const override { return system_.startMode; }
    void setMode(const PrinterDeviceMode &mode) override { mode_ = mode; }
    bool propertiesDialog(PrinterDeviceMode &mode) override
    {
        return system_.propertiesDialog && system_.propertiesDialog(mode);
    }

    PrinterMeasures measures() const override
    {
        int width = mode_.paperWidth;
        int length = mode_.paperLength;
        if (mode_.paperSize != PrinterDeviceMode::customPaper) {
            const PaperSize paper = findPaperSize(mode_.paperSize).value_or(PaperSize{9, 2100, 2970});
            width = paper.width;
            length = paper.height;
            if (mode_.orientation == PrinterDeviceMode::Landscape)
                std::swap(width, length);
        }
        const int w = int(std::lround(width / 254.0 * dpi_));
        const int h = int(std::lround(length / 254.0 * dpi_));
        const int m = dpi_ ? system_.marginDots : 0;
        return {dpi_, dpi_, w, h, m, m, w - 2 * m, h - 2 * m};
    }

    bool beginDoc(const QString &title, const QString &fileName) override
    {
        if (system_.refuseJobs)
            return false;
        system_.jobs.append({name_, title, fileName, {}, false, false});
        job_ = int(system_.jobs.size()) - 1;
        return true;
    }

    void beginPage() override
    {
        endPage();
        const PrinterMeasures m = measures();
        QImage image(std::max(1, m.printableWidth), std::max(1, m.printableHeight), QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(dpi_ / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        job().pages.append({mode_, image});
        painter_.begin(&job().pages.last().image);
    }

    QPainter &canvas() override { return painter_; }

    void endPage() override
    {
        if (painter_.isActive())
            painter_.end();
    }

    bool endDoc() override
    {
        endPage();
        job().ended = true;
        return true;
    }

    void abortDoc() override
    {
        endPage();
        job().aborted = true;
    }

private:
    RecordedJob &job() { return system_.jobs[job_]; }

    RecordingPrinterSystem &system_;
    QString name_;
    PrinterDeviceMode mode_;
    int dpi_;
    int job_ = -1;
    QPainter painter_;
};

}  // namespace

RecordingPrinterSystem::RecordingPrinterSystem(QStringList printerNames)
    : names(std::move(printerNames)),
      defaultName(names.value(0))
{
    PrinterSystem::install(this);
}

RecordingPrinterSystem::~RecordingPrinterSystem()
{
    PrinterSystem::install(nullptr);
}

std::unique_ptr<PrinterDevice> RecordingPrinterSystem::open(const QString &name)
{
    if (!names.contains(name))
        return nullptr;
    return std::make_unique<RecordingDevice>(*this, name);
}

}  // namespace vornak
