#pragma once

#include "report/model/component.h"
#include "report/model/report_data_sets.h"
#include "report/model/report_options.h"
#include "report/model/report_script_names.h"
#include "report/model/report_variables.h"

#include <functional>
#include <memory>
#include <QStringList>

class QTimer;

namespace vornak {

class TfrxCustomDrawText;
class TfrxCustomEngine;
class TfrxCustomPreview;
class TfrxCustomPreviewPages;
class TfrxExpressionEvaluator;
class TfsScript;
class TfrxDataSet;
class TfrxView;

// The report: pages, data source list, script, options and the run-time state of a preparation.
class TfrxReport : public TfrxComponent {
public:
    explicit TfrxReport(TfrxComponent *owner = nullptr);
    ~TfrxReport() override;
    QString ClassName() const override { return QStringLiteral("TfrxReport"); }
    TfrxReport *asReport() override { return this; }

    static QString CurrentVersion() { return QStringLiteral("4.10.1"); }

    // Stored properties.
    QString Version() const { return CurrentVersion(); }
    void SetVersion(const QString &) {}  // always the current version
    const QString &ScriptLanguage() const { return scriptLanguage_; }
    void SetScriptLanguage(const QString &value) { scriptLanguage_ = value; }
    const QStringList &ScriptText() const { return scriptText_; }
    void SetScriptText(const QStringList &value) { scriptText_ = value; }
    TfrxReportDataSets &Datasets() { return dataSets_; }
    const TfrxReportDataSets &Datasets() const { return dataSets_; }
    TfrxVariables &Variables() { return variables_; }
    const TfrxVariables &Variables() const { return variables_; }
    TfrxStyles &Style() { return styles_; }
    const TfrxStyles &Style() const { return styles_; }
    TfrxCustomPreview *Preview() const { return preview_; }
    void SetPreview(TfrxCustomPreview *value) { preview_ = value; }
    TfrxDataSet *DataSet() const { return binding_.DataSet(); }
    void SetDataSet(TfrxDataSet *value) { binding_.SetDataSet(value); }
    QString DataSetName() const { return binding_.Name(); }
    void SetDataSetName(const QString &value) { binding_.SetName(value, this); }
    bool DotMatrixReport() const { return dotMatrixReport_; }
    void SetDotMatrixReport(bool value) { dotMatrixReport_ = value; }
    const QString &IniFile() const { return iniFile_; }
    void SetIniFile(const QString &value) { iniFile_ = value; }
    bool ShowProgress() const { return showProgress_; }
    void SetShowProgress(bool value) { showProgress_ = value; }
    bool OldStyleProgress() const { return oldStyleProgress_; }
    void SetOldStyleProgress(bool value) { oldStyleProgress_ = value; }
    bool StoreInDFM() const { return storeInDFM_; }
    void SetStoreInDFM(bool value) { storeInDFM_ = value; }
    const QString &ParentReport() const { return parentReport_; }
    void SetParentReport(const QString &value) { parentReport_ = value; }

    TfrxEngineOptions EngineOptions;
    TfrxPrintOptions PrintOptions;
    TfrxPreviewOptions PreviewOptions;
    TfrxReportOptions ReportOptions;

    // The data source of the first item whose data source has the user name `userName`
    // (ignoring the case of A to Z); nullptr when none.
    TfrxDataSet *GetDataset(const QString &userName) const;
    // The user name of `dataSet` when an item holds it, "(компонент не включен в
    // Report.DataSets)" when none does, empty for no data set.
    QString GetAlias(const TfrxDataSet *dataSet) const;
    // The data sources of the items that have an enabled one.
    QList<TfrxDataSet *> EnabledDataSets() const;
    // The check before a run: one error per item without a data source; true when none.
    bool CheckDataSets();

    // The report's script (created with the report; the unit constants are registered in it).
    TfsScript &Script() const { return *script_; }

    // The parts of a run that live in the stages below the model, each owned by the report once
    // set (nullptr until then): the band engine, the prepared pages store, the expression cache
    // and the text layout engine.
    TfrxCustomEngine *Engine() const { return engine_.get(); }
    void SetEngine(std::unique_ptr<TfrxCustomEngine> engine);
    TfrxCustomPreviewPages *PreviewPages() const { return previewPages_.get(); }
    void SetPreviewPages(std::unique_ptr<TfrxCustomPreviewPages> pages);
    TfrxExpressionEvaluator *ExpressionCache() const { return expressionCache_.get(); }
    void SetExpressionCache(std::unique_ptr<TfrxExpressionEvaluator> cache);
    TfrxCustomDrawText *DrawText() const { return drawText_.get(); }
    void SetDrawText(std::unique_ptr<TfrxCustomDrawText> drawText);

    // Printing the prepared pages: the printing stage (report/print) installs how; true when the
    // pages were printed. Print runs it; while none is installed nothing is printed (false).
    std::function<bool(TfrxReport &)> PrintPages;
    bool Print();

    // The value of an expression through the expression cache; a failure goes to the error list
    // and is raised (EngineError). Without an expression cache it raises EngineError.
    Variant Calc(const QString &expression);

    // Names of script procedures run when a run starts and stops (none are set in this system).
    QString OnStartReport;
    QString OnStopReport;
    // Runs the procedure OnStartReport (OnStopReport) names with the report as its argument;
    // nothing for an empty name, EngineError for a name the script does not declare.
    void DoStartReport();
    void DoStopReport();
    // What other layers register in the script at each preparation: the "Outline" object and
    // the functions Get, IIF, SUM, AVG, MIN, MAX and COUNT. "Report" is the report itself,
    // "Engine" is the engine slot unless set here, and "Set" stores into Variables unless set
    // here.
    ReportScriptNames ScriptNames;
    // The first step of a preparation, in this order: empties the expression cache (giving it
    // ScriptLanguage) and the engine's notification list, so that nothing compiled refers to
    // the items about to go; removes what the previous preparation registered; registers every
    // object by name, "Report", "Engine", "Outline", "Value", "Self" and the eight functions;
    // and compiles ScriptText in ScriptLanguage. On a compile error adds "Ошибка в скрипте
    // <position>: <message>" to the error list and returns false.
    bool PrepareScript();
    // Runs the script's main block when it has statements (errors pass through).
    void RunScriptMainBlock();
    // The script's "Value" (the value of the text object being processed).
    void SetScriptValue(const Variant &value);

    // Frees all pages and objects, empties the lists and resets options and script.
    void Clear() override;

    // The whole report in the template text form (see template_reader.h), and back. Reading
    // replaces the report's content; errors of the reader go to the error list.
    QString SaveToText() const;
    void LoadFromText(const QString &text);

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time state.
    // Errors of a preparation: sorted, duplicates (ignoring case) ignored.
    const QStringList &Errors() const { return errors_; }
    void AddError(const QString &text);
    void ClearErrors() { errors_.clear(); }
    // "Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#".
    const QStringList &SystemVariables() const { return systemVariables_; }
    QString CurObject;  // name of the object being processed; prefixes error texts
    bool Terminated = false;
    QTimer *Timer() const { return timer_.get(); }  // one-shot, 50 milliseconds
    TfrxView *SelfObject() const { return self_; }
    // Also the script's "Self".
    void SetSelfObject(TfrxView *view);

private:
    void resetProperties();

    QString scriptLanguage_;
    QStringList scriptText_;
    TfrxReportDataSets dataSets_{this};
    TfrxVariables variables_;
    TfrxStyles styles_;
    TfrxCustomPreview *preview_ = nullptr;
    TfrxDataSetBinding binding_;
    bool dotMatrixReport_ = false;
    QString iniFile_;
    bool showProgress_ = true;
    bool oldStyleProgress_ = false;
    bool storeInDFM_ = true;
    QString parentReport_;

    QStringList errors_;
    QStringList systemVariables_;
    std::unique_ptr<QTimer> timer_;
    TfrxView *self_ = nullptr;
    std::unique_ptr<TfsScript> script_;
    ReportScriptVariables scriptVariables_;  // valid while the script's Removals() still equals:
    quint64 scriptVariablesRemovals_ = 0;
    std::unique_ptr<TfrxCustomEngine> engine_;
    std::unique_ptr<TfrxCustomPreviewPages> previewPages_;
    std::unique_ptr<TfrxExpressionEvaluator> expressionCache_;
    std::unique_ptr<TfrxCustomDrawText> drawText_;
};

}  // namespace vornak
