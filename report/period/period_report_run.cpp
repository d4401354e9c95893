// The run behind the report tab. Show opens the queries and lets the report's timer prepare the
// pages into the preview; Print hands the prepared pages to the print loop with the print dialog
// and the progress window (owned by the main window) and then prepares the same run again; the
// PDF goes through the code of the command line. Busy covers the timer's wait, the preparation
// and the print, so nothing changes the pages while they are prepared or printed.

#include "report/period/period_report_run.h"

#include "data/data_module.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/output_path.h"
#include "report/draw/pdf_export.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_preview.h"
#include "report/model/report.h"
#include "report/period/period_report.h"
#include "report/period/period_report_pdf.h"
#include "report/preview/preview.h"
#include "report/print/print_windows.h"
#include "report/script/report_text.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QStandardPaths>
#include <QTimer>

namespace vornak {

namespace {

const QString pdfSuffix = QStringLiteral("pdf");

// "Нива 2011-11-01 - 2011-11-30.pdf": a name that sorts by date and needs no quoting.
QString defaultPdfName(const QString &vehicle, const QDate &first, const QDate &last)
{
    QString name = vehicle + QLatin1Char(' ') + first.toString(Qt::ISODate) + QStringLiteral(" - ") +
                   last.toString(Qt::ISODate) + QLatin1Char('.') + pdfSuffix;
    return name.replace(QLatin1Char('/'), QLatin1Char('-'));
}

}  // namespace

PeriodReportRun::PeriodReportRun(TfrxPreview &preview, QWidget &window)
    : preview_(preview),
      window_(&window)
{
    period_ = std::make_unique<PeriodReport>(
        [this](const QString &name) -> TfrxCustomPreview * { return name == preview_.Name() ? &preview_ : nullptr; });
    // Printing goes through the print dialog and shows the progress window; the preview shows
    // its background only until the report is prepared again.
    Report().PrintPages = [this](TfrxReport &report) {
        TfrxPrintEvents events = frxPrintWindows(report, window_);
        events.LockPreview = [this] { preview_.Lock(); };
        return frxPrint(report, events);
    };
}

PeriodReportRun::~PeriodReportRun() = default;

TfrxReport &PeriodReportRun::Report() const
{
    return *period_->frxReport1;
}

void PeriodReportRun::bind(TDataModule1 &dataModule)
{
    dataModule_ = &dataModule;
    period_->bind(dataModule);
}

bool PeriodReportRun::Busy() const
{
    const TfrxReport &report = Report();
    return printing_ || saving_ || report.Timer()->isActive() || (report.Engine() && report.Engine()->Running);
}

void PeriodReportRun::busyChanged()
{
    if (OnBusyChanged)
        OnBusyChanged();
}

PeriodReportRun::Choice PeriodReportRun::choice(const QDate &first, const QDate &last) const
{
    return {dataModule_ ? dataModule_->TableSprAutoid->AsString() : QString(), first, last};
}

void PeriodReportRun::open(const Choice &choice)
{
    period_->open(*dataModule_, choice.vehicleId, choice.first, choice.last);
    run_ = choice;
}

bool PeriodReportRun::prepare(const Choice &choice)
{
    open(choice);
    if (!PrepareReport(Report()))
        return false;
    ShowPreparedReport(Report());
    return true;
}

void PeriodReportRun::watchTimer()
{
    QTimer *timer = Report().Timer();
    // Connected after the preparation's own handler, so it runs once the pages are prepared.
    QObject::connect(
        timer, &QTimer::timeout, timer, [this] { busyChanged(); }, Qt::SingleShotConnection);
}

void PeriodReportRun::Show(const QDate &first, const QDate &last)
{
    const Choice wanted = choice(first, last);
    if (Busy() || wanted.vehicleId.isEmpty())
        return;
    open(wanted);
    ShowReport(Report(), true);
    watchTimer();
    busyChanged();
}

void PeriodReportRun::Print(const QDate &first, const QDate &last)
{
    const Choice wanted = choice(first, last);
    if (Busy() || wanted.vehicleId.isEmpty())
        return;
    if (!run_ && !prepare(wanted))
        return;
    {
        const QScopedValueRollback printing(printing_, true);
        busyChanged();
        // A print that fails (a printer gone, a print file that cannot be written) has locked
        // the preview: it is prepared again before the error is shown.
        try {
            Report().Print();
        } catch (...) {
            refresh();
            throw;
        }
    }
    refresh();
}

void PeriodReportRun::refresh()
{
    if (TfrxCustomPreview *preview = Report().Preview(); preview && !closing_)
        preview->RefreshReport();
    busyChanged();
}

void PeriodReportRun::CancelPrint()
{
    if (!printing_)
        return;
    closing_ = true;
    Report().Terminated = true;
}

QString PeriodReportRun::askPdfPath(const QDate &first, const QDate &last)
{
    QFileDialog save(window_, QStringLiteral("Сохранить отчет"));
    save.setObjectName(QStringLiteral("SavePdfDialog"));
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    // The folder of the last PDF saved, or the documents folder: never the folder another file
    // dialog left behind (one such as /proc hangs the dialog's listing).
    QString folder = pdfFolder_;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    save.setDirectory(folder);
    save.selectFile(QDir(folder).filePath(defaultPdfName(dataModule_->TableSprAutonameauto->AsString(), first, last)));
    if (UserDialogs::current().showModal(save) != ModalResult::Ok || save.selectedFiles().isEmpty())
        return {};
    QString path = save.selectedFiles().constFirst();
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + pdfSuffix;
    return path;
}

void PeriodReportRun::SavePdf(const QDate &first, const QDate &last)
{
    if (Busy() || choice(first, last).vehicleId.isEmpty())
        return;
    if (const QString path = askPdfPath(first, last); !path.isEmpty()) {
        SavePdfTo(first, last, path);
        pdfFolder_ = QFileInfo(path).absolutePath();
    }
}

void PeriodReportRun::SavePdfTo(const QDate &first, const QDate &last, const QString &path)
{
    const Choice wanted = choice(first, last);
    if (Busy() || wanted.vehicleId.isEmpty())
        return;
    if (outputClash(path) != OutputClash::None)
        throw Error(reportText("fileIsDatabase").arg(path));
    const QString notWritten = QStringLiteral("Не удалось сохранить отчет в файл \"%1\".").arg(path);
    std::unique_ptr<PdfFile> file;
    try {
        file = std::make_unique<PdfFile>(path);
    } catch (const Error &) {
        throw Error(notWritten);
    }
    bool written = false;
    {
        const QScopedValueRollback saving(saving_, true);
        busyChanged();
        try {
            written = WritePeriodReportPdf(*period_, *dataModule_, wanted.vehicleId, first, last, *file);
            run_ = wanted;
        } catch (const Error &error) {
            saving_ = false;
            busyChanged();
            if (dynamic_cast<const DatabaseError *>(&error) || dynamic_cast<const EngineError *>(&error))
                throw;
            throw Error(notWritten);
        }
    }
    if (written)
        ShowPreparedReport(Report());
    busyChanged();
}

}  // namespace vornak
