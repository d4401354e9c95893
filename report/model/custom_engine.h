#pragma once

#include "platform/variant.h"
#include "report/script/script_object.h"

#include <QList>
#include <QString>

namespace vornak {

class TfrxBand;
class TfrxComponent;
class TfrxReport;

// The band engine as the report and the stages below the engine see it: its run state, read by
// system variables, aggregates and scripts ("Engine"), and its operations in the order of their
// slots. The engine itself (TfrxEngine) lives in report/engine; the report holds it through
// this base.
class TfrxCustomEngine : public ScriptObject {
public:
    explicit TfrxCustomEngine(TfrxReport &report)
        : report_(report)
    {
    }

    // What scripts see: CurColumn, CurVColumn, CurX, CurY, DoublePass (the report's engine
    // option), FinalPass, PageHeight, PageWidth, StartDate, StartTime, TotalPages and
    // SecondScriptCall; CurX, CurY, CurColumn and CurVColumn can be set.
    QString scriptClassName() const override { return QStringLiteral("TfrxEngine"); }
    int findScriptProperty(const QString &name) const override;
    Variant scriptProperty(int index) const override;
    void setScriptProperty(int index, const Variant &value) override;

    TfrxReport &Report() const { return report_; }

    // Run state (pixels measured from the printable area of the current page).
    double CurX = 0;
    double CurY = 0;
    double PageWidth = 0;
    int CurColumn = 1;
    int CurVColumn = 0;
    int CurLine = 0;         // "Line": the row number within the current data band run
    int CurLineThrough = 0;  // "Line#": the running row number
    double StartDate = 0;    // "Date": when the run started
    double StartTime = 0;    // "Time"
    bool FinalPass = true;
    int TotalPages = 0;  // the first pass's page total in a two-pass report; 0 otherwise
    bool Running = false;
    bool SecondScriptCall = false;
    TfrxBand *CurBand = nullptr;  // the band being printed; aggregates are looked up for it
    // Objects told about the run's progress; cleared at every preparation before the script's
    // items go.
    QList<TfrxComponent *> NotifyList;

    virtual double PageHeight() const = 0;
    virtual void EndPage() = 0;
    virtual void BreakAllKeep() = 0;
    virtual void NewColumn() = 0;
    virtual void NewPage() = 0;
    virtual void ShowBand(TfrxBand *band) = 0;
    // The first band of that class on the current page.
    virtual void ShowBand(const QString &bandClassName) = 0;
    virtual double HeaderHeight() = 0;
    virtual double FooterHeight() = 0;
    virtual double FreeSpace() = 0;
    // The value of the aggregate item matching the call (SUM, AVG, MIN, MAX or COUNT, the
    // expression text, the data band or nullptr for any, the flags); Null when none matches.
    virtual Variant GetAggregateValue(const QString &name, const QString &expression, TfrxBand *band, int flags) = 0;
    // Prepares the whole report into the prepared pages store; true when it completed.
    virtual bool Run() = 0;

private:
    TfrxReport &report_;
};

}  // namespace vornak
