#pragma once

// The band engine: turns the report's template pages into prepared pages in the report's
// prepared pages store. See engine.cpp for how a run goes.

#include "report/expr/aggregate_list.h"
#include "report/model/custom_engine.h"

#include <QElapsedTimer>
#include <QList>

namespace vornak {

class TfrxDataBand;
class TfrxReportPage;

class TfrxEngine : public TfrxCustomEngine {
public:
    explicit TfrxEngine(TfrxReport &report);
    ~TfrxEngine() override;
    // Makes a new engine the report's engine and returns it.
    static TfrxEngine &install(TfrxReport &report);

    double PageHeight() const override { return pageHeight_; }
    void EndPage() override;
    void BreakAllKeep() override {}  // nothing is ever kept (keeping is refused when linking)
    void NewColumn() override;
    void NewPage() override;
    void ShowBand(TfrxBand *band) override;
    void ShowBand(const QString &bandClassName) override;
    double HeaderHeight() override;
    double FooterHeight() override;
    double FreeSpace() override;
    Variant GetAggregateValue(const QString &name, const QString &expression, TfrxBand *band, int flags) override;
    bool Run() override;

    // The first band named `name` on the current page, printed with ShowBand.
    void ShowBandByName(const QString &name);
    // Sets the report's terminated flag: the loops stop at their next check.
    void StopReport();

    TfrxAggregateList &Aggregates() { return aggregates_; }

private:
    // An entry of the header list: a band printed at the top of every new page.
    struct HeaderEntry {
        TfrxBand *band;
        double left;
    };

    void initialize();
    bool linkAndCheck();
    void runReportPages();
    void runPage(TfrxReportPage &page);
    void pageBody(TfrxReportPage &page);
    void startPage();
    void addPage();
    void showLooseObjects();
    void runDataBands(const QList<TfrxBand *> &bands);
    void letEventsThrough();
    bool rowIsPrinted(TfrxDataBand &band);
    void printBand(TfrxBand *band);
    void prepareBand(TfrxBand *band);
    void finishBand(TfrxBand *band);
    double fitOnPage(TfrxBand *band, double height);
    void removeHeader(TfrxBand *band);
    template <class T>
    T *pageBand() const;
    void runEvent(const QString &handler, TfrxComponent *sender);

    // State of a run (besides the script-visible fields of TfrxCustomEngine).
    TfrxAggregateList aggregates_;          // the aggregates of the run's pages
    TfrxReportPage *page_ = nullptr;        // the template page being run
    double pageHeight_ = 0;                 // printable height of the current page, pixels
    QList<HeaderEntry> headerList_;         // bands printed at the top of every new page
    double previousFooterHeight_ = 0;       // page footer height reserved on the last page
    TfrxBand *breakingBand_ = nullptr;      // the band that caused the current page break
    TfrxBand *startNewPageBand_ = nullptr;  // asked for the break; not repeated on the new page
    bool firstPage_ = false;                // the first page of the page body
    bool lastPage_ = false;                 // ending the last page of the page body
    bool firstBand_ = false;                // nothing of the page's data printed yet
    bool printingAtTop_ = false;            // printing the header list on a new page
    bool printingFooter_ = false;           // printing a data band's footer
    bool printingPageBottom_ = false;       // column or page footer: printed without a fit test
    bool insideEndPage_ = false;            // EndPage is running (no column footer again)
    bool summaryPrinted_ = false;           // the report summary is on the last page
    QElapsedTimer eventClock_;              // since events were last let through (invalid: never)
};

}  // namespace vornak
