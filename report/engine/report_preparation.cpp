// Preparing and showing a report.
//
// PrepareReport saves the whole template as text, prepares the script and runs the band engine
// inside one error trap, then reads the template back from the text, so that nothing the run or
// the script changed stays in it. Only then are the collected errors shown, once.

#include "report/engine/report_preparation.h"

#include "platform/errors.h"
#include "platform/message_box.h"
#include "report/draw/draw_text.h"
#include "report/engine/engine.h"
#include "report/expr/report_expressions.h"
#include "report/model/custom_preview.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/pages/preview_pages.h"
#include "report/script/report_text.h"

#include <QObject>
#include <QScopedValueRollback>
#include <QTimer>

#include <optional>

namespace vornak {

namespace {

// What survives reading the template back: run-time state and settings that are not stored.
struct PreservedState {
    QStringList errors;
    QString password;
    TfrxCustomPreview *preview;
    QString onStartReport, onStopReport;
    bool destroyForms, useGlobalDataSetList, enableThreadSafe;

    explicit PreservedState(const TfrxReport &report)
        : errors(report.Errors()),
          password(report.ReportOptions.Password),
          preview(report.Preview()),
          onStartReport(report.OnStartReport),
          onStopReport(report.OnStopReport),
          destroyForms(report.EngineOptions.DestroyForms),
          useGlobalDataSetList(report.EngineOptions.UseGlobalDataSetList),
          enableThreadSafe(report.EngineOptions.EnableThreadSafe)
    {
    }

    void applyTo(TfrxReport &report) const
    {
        for (const QString &error : errors)
            report.AddError(error);
        report.ReportOptions.Password = password;
        report.SetPreview(preview);
        report.OnStartReport = onStartReport;
        report.OnStopReport = onStopReport;
        report.EngineOptions.DestroyForms = destroyForms;
        report.EngineOptions.UseGlobalDataSetList = useGlobalDataSetList;
        report.EngineOptions.EnableThreadSafe = enableThreadSafe;
    }
};

// The template as text, with the report password left out of the copy.
QString saveTemplate(TfrxReport &report)
{
    const QScopedValueRollback withoutPassword(report.ReportOptions.Password, QString());
    return report.SaveToText();
}

void restoreTemplate(TfrxReport &report, const QString &text)
{
    const PreservedState kept(report);
    report.ClearErrors();
    report.LoadFromText(text);
    const QStringList readErrors = report.Errors();
    report.ClearErrors();
    kept.applyTo(report);
    for (const QString &error : readErrors)
        report.AddError(error);
}

// One run: the script prepared and its main block run, then the engine. Errors go to the list.
bool runPreparation(TfrxReport &report)
{
    // The stages InstallReportStages gives a report, each with the text that names it missing.
    const struct {
        bool installed;
        const char *missing;
    } stages[] = {{report.ExpressionCache() != nullptr, "noExpressions"},
                  {report.PreviewPages() != nullptr, "noPreviewPages"},
                  {report.DrawText() != nullptr, "noTextLayout"},
                  {report.Engine() != nullptr, "noEngine"}};
    try {
        for (const auto &stage : stages)
            if (!stage.installed)
                throw EngineError(reportText(stage.missing));
        if (!report.PrepareScript())
            return false;
        report.RunScriptMainBlock();
        if (report.Terminated)
            return false;
        return report.Engine()->Run();
    } catch (const Error &error) {
        report.AddError(error.message());
    } catch (const std::exception &error) {
        report.AddError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void showErrors(TfrxReport &report)
{
    const QString text = reportText("preparationErrors") + QLatin1Char('\n') + report.Errors().join(QLatin1Char('\n'));
    switch (report.EngineOptions.NewSilentMode) {
    case simSilent:
        return;
    case simReThrow:
        throw EngineError(text);
    case simMessageBoxes:
        UserDialogs::current().messageBox(text, reportText("errorCaption"), MessageButtons::Ok, MessageIcon::Error);
        return;
    }
}

}  // namespace

bool PrepareReport(TfrxReport &report, bool clearLastReport)
{
    // A preparation asked for while one runs (from an event the running one let through) would
    // replace the template under it: it is not started.
    if (report.Engine() && report.Engine()->Running)
        return false;
    if (clearLastReport && report.PreviewPages())
        report.PreviewPages()->Clear();
    report.PrintOptions.Duplex = 0;
    report.ClearErrors();
    report.Terminated = false;

    bool succeeded = false;
    if (report.CheckDataSets()) {
        std::optional<QString> saved;
        if (report.EngineOptions.DestroyForms)
            saved = saveTemplate(report);
        succeeded = runPreparation(report);
        if (saved)
            restoreTemplate(report, *saved);
    }
    if (report.Errors().isEmpty())
        return succeeded;
    showErrors(report);
    return false;
}

void ShowReport(TfrxReport &report, bool clearLastReport)
{
    if (clearLastReport && report.PreviewPages())
        report.PreviewPages()->Clear();
    if (report.OldStyleProgress()) {
        if (PrepareReport(report, false))
            ShowPreparedReport(report);
        return;
    }
    QTimer *timer = report.Timer();
    QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(timer, &QTimer::timeout, timer, [&report, timer] {
        timer->stop();
        PrepareReport(report, false);
    });
    timer->setInterval(50);
    timer->start();
    ShowPreparedReport(report);
}

void ShowPreparedReport(TfrxReport &report)
{
    if (TfrxCustomPreview *preview = report.Preview(); preview && report.PreviewPages())
        preview->Init(report, *report.PreviewPages());
}

namespace {

// The store's notices while preparing, passed on to whatever preview the report has at the time.
void connectPreview(TfrxReport &report, TfrxPreviewPages &store)
{
    store.OnPreparationStarted = [&report] {
        if (TfrxCustomPreview *preview = report.Preview())
            preview->InternalOnProgressStart();
    };
    store.OnProgress = [&report](int pages) {
        if (TfrxCustomPreview *preview = report.Preview())
            preview->InternalOnProgress(pages - 1);
    };
    store.OnPreparationStopped = [&report] {
        if (TfrxCustomPreview *preview = report.Preview())
            preview->InternalOnProgressStop();
    };
}

}  // namespace

void InstallReportStages(TfrxReport &report)
{
    if (!report.ExpressionCache())
        ReportExpressions::install(report);
    connectPreview(report, frxPreviewPages(report));
    frxDrawText(report);
    if (!report.Engine())
        TfrxEngine::install(report);
}

}  // namespace vornak
