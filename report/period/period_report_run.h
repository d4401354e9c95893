#pragma once

// The report tab's report: the period report and its run, the vehicle and period of the last
// preparation with their caption and figures. The tab's buttons call Show, Print and SavePdf
// with the period on screen (the vehicle is the data module's current one). A print, and the
// preview's refresh after it, always use the last run: a printout never names one vehicle and
// shows another's figures. Print before any run prepares one first. While a preparation or a
// print runs, every call does nothing.
//
//   period_      the report, its data sets and the run's queries
//   run_         the vehicle and period of the last run (none before the first)
//   printing_    a print is under way (its progress window is shown)
//   saving_      a PDF is being prepared and written
//   closing_     the main window closed during the print: no refresh after it
//   pdfFolder_   the folder of the last PDF saved (the next one is offered there)

#include <QDate>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace vornak {

class TDataModule1;

class PeriodReport;
class TfrxPreview;
class TfrxReport;

class PeriodReportRun {
public:
    // `preview`: the tab's preview control, which the template names; `window`: the main window,
    // which owns the print's progress window and the file dialog.
    PeriodReportRun(TfrxPreview &preview, QWidget &window);
    ~PeriodReportRun();

    // Binds the report to the data module (once it exists).
    void bind(TDataModule1 &dataModule);

    // Opens the run for the current vehicle and the period and shows the report; it is prepared
    // 50 milliseconds later. A query the engine rejects raises; the last run stays.
    void Show(const QDate &first, const QDate &last);
    // Prints the last run's pages through the print dialog (the run for the current vehicle and
    // the period prepared first when there is none), then prepares the last run again in the
    // preview, also after an error.
    void Print(const QDate &first, const QDate &last);
    // Asks for a PDF file ("Сохранить отчет") and saves the report of the current vehicle and the
    // period into it (SavePdfTo).
    void SavePdf(const QDate &first, const QDate &last);
    // Prepares the run of the current vehicle and the period, shows it and writes its pages into
    // the PDF file `path`, as `vornak-db report --pdf` does. The file appears whole or not at all;
    // one that cannot be written, or that is a database (the log book), raises Error with a
    // Russian message.
    void SavePdfTo(const QDate &first, const QDate &last, const QString &path);

    // A preparation or a print runs.
    bool Busy() const;
    bool Printing() const { return printing_; }
    // The main window is closing: a print under way stops before its next page and sends nothing.
    void CancelPrint();
    // Called whenever Busy may have changed.
    std::function<void()> OnBusyChanged;

    TfrxReport &Report() const;

private:
    struct Choice {
        QString vehicleId;
        QDate first;
        QDate last;
    };
    // The current vehicle and the period; no vehicle: empty key.
    Choice choice(const QDate &first, const QDate &last) const;
    void open(const Choice &choice);
    // Opens `choice` and prepares it at once; false when the report could not be prepared.
    bool prepare(const Choice &choice);
    void busyChanged();
    // The report's preview prepares the last run again (not when the window is closing).
    void refresh();
    // The PDF file the user chooses ("Сохранить отчет"); empty when the dialog was cancelled.
    // The dialog is gone when it returns, so that nothing of it runs while the report is prepared.
    QString askPdfPath(const QDate &first, const QDate &last);
    // Busy ends when the report's timer has prepared the report.
    void watchTimer();

    TfrxPreview &preview_;
    QPointer<QWidget> window_;
    TDataModule1 *dataModule_ = nullptr;
    std::unique_ptr<PeriodReport> period_;
    std::optional<Choice> run_;
    bool printing_ = false;
    bool saving_ = false;
    bool closing_ = false;
    QString pdfFolder_;
};

}  // namespace vornak
