// The band engine.
//
// A run (Run) links the bands of every report page, initialises the data sources, then walks the
// pages. A page body starts a prepared page (printing the header list: report title, page
// header, column header), prints the page's loose objects once, then the page's data runs: for
// each record of a data band its header before the first row, the row itself, the nested data
// runs, and after the last row the footer. Every band is prepared (its objects compute their
// texts and heights), tested against the free space left (a band that does not fit strictly
// starts a new page first), placed at CurY, handed to the prepared pages store, and finished
// (its objects get their template texts and geometry back). Ending a page prints the column
// footer, the report summary on the last page and the page footer at the bottom.
//
// Nothing of the template keeps a printed state: the store holds every prepared page.

#include "report/engine/engine.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "report/engine/band_links.h"
#include "report/model/band.h"
#include "report/model/custom_draw_text.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/data_band.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/stretcheable.h"
#include "report/script/report_text.h"
#include "report/script/script.h"
#include "report/script/script_items.h"

#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QScopeGuard>

#include <algorithm>
#include <exception>

namespace vornak {

namespace {

TfrxDataSet *dataOf(TfrxBand *band)
{
    auto *data = static_cast<TfrxDataBand *>(band);
    return data->DataSet() ? data->DataSet() : data->VirtualDataSet.get();
}

bool isEngineBand(const TfrxBand *band)
{
    return dynamic_cast<const TfrxNullBand *>(band) != nullptr;
}

QList<TfrxCustomMemoView *> suppressingMemos(const TfrxBand &band)
{
    QList<TfrxCustomMemoView *> memos;
    for (TfrxComponent *child : band.Objects())
        if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(child); memo && memo->SuppressRepeated())
            memos << memo;
    return memos;
}

QList<TfrxReportPage *> reportPages(const TfrxReport &report)
{
    QList<TfrxReportPage *> pages;
    for (TfrxComponent *child : report.Objects())
        if (auto *page = dynamic_cast<TfrxReportPage *>(child))
            pages << page;
    return pages;
}

// The height of a band and the chain of its child bands.
double chainHeight(const TfrxBand *band)
{
    double height = 0;
    for (; band; band = band->Child())
        height += band->Height();
    return height;
}

// Objects below a grown object move down with it; a band marked Stretched takes the height of
// its lowest object; objects with smMaxHeight reach down to the band's bottom.
void stretchObjects(TfrxBand &band, TfrxCustomDrawText *drawText)
{
    for (TfrxComponent *child : band.Objects()) {
        auto *memo = dynamic_cast<TfrxCustomMemoView *>(child);
        if (!drawText || !memo || !memo->Visible() || memo->StretchMode() == smDontStretch)
            continue;
        const double bottom = memo->Top() + memo->Height();
        const double growth = drawText->CalcHeight(*memo) - memo->Height();
        if (growth <= 0)
            continue;
        memo->SetHeight(memo->Height() + growth);
        for (TfrxComponent *other : band.Objects()) {
            auto *view = dynamic_cast<TfrxView *>(other);
            if (!view || view == memo || view->ShiftMode() == smDontShift || view->Top() < bottom)
                continue;
            const bool overlaps =
                view->Left() < memo->Left() + memo->Width() && memo->Left() < view->Left() + view->Width();
            if (overlaps)
                view->SetTop(view->Top() + growth);
        }
    }
    if (band.Stretched()) {
        double lowest = 0;
        for (TfrxComponent *child : band.Objects())
            lowest = std::max(lowest, child->Top() + child->Height());
        band.SetHeight(lowest);
    }
    for (TfrxComponent *child : band.Objects())
        if (auto *view = dynamic_cast<TfrxStretcheable *>(child); view && view->StretchMode() == smMaxHeight)
            view->SetHeight(band.Height() - view->Top());
}

}  // namespace

TfrxEngine::TfrxEngine(TfrxReport &report)
    : TfrxCustomEngine(report),
      aggregates_(report)
{
}

TfrxEngine::~TfrxEngine() = default;

TfrxEngine &TfrxEngine::install(TfrxReport &report)
{
    auto engine = std::make_unique<TfrxEngine>(report);
    TfrxEngine &result = *engine;
    report.SetEngine(std::move(engine));
    return result;
}

void TfrxEngine::runEvent(const QString &handler, TfrxComponent *sender)
{
    if (handler.isEmpty())
        return;
    if (ScriptProcedure *procedure = Report().Script().EventHandler(handler))
        procedure->Call(procedure->parameters().empty() ? QList<Variant>{} : QList<Variant>{scriptObjectValue(sender)});
}

template <class T>
T *TfrxEngine::pageBand() const
{
    return page_ ? page_->FindBand<T>() : nullptr;
}

// --- Run ---------------------------------------------------------------------------------------

bool TfrxEngine::Run()
{
    TfrxCustomPreviewPages *store = Report().PreviewPages();
    if (!store)
        throw EngineError(reportText("noPagesStore"));
    initialize();

    bool completed = false;
    std::exception_ptr failure;
    const auto attempt = [&failure](auto &&step) {
        try {
            step();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    attempt([&] {
        if (!linkAndCheck())
            return;
        for (TfrxDataSet *dataSet : Report().EnabledDataSets()) {
            dataSet->ReportRef = &Report();
            dataSet->Initialize();
        }
        Report().DoStartReport();
        for (TfrxReportPage *page : reportPages(Report())) {
            store->AddSourcePage(page);
            aggregates_.AddItems(*page);
        }
        FinalPass = true;
        TotalPages = 0;
        store->BeginPass();
        runReportPages();
        completed = !Report().Terminated;
    });

    // Whatever happened: the stop event, the data sources finalised, the store told.
    attempt([&] { Report().DoStopReport(); });
    for (TfrxDataSet *dataSet : Report().EnabledDataSets())
        attempt([&] { dataSet->Finalize(); });
    attempt([&] { store->Finish(); });
    Running = false;
    CurBand = nullptr;
    page_ = nullptr;
    headerList_.clear();
    if (failure)
        std::rethrow_exception(failure);
    return completed;
}

void TfrxEngine::initialize()
{
    TfrxCustomPreviewPages &store = *Report().PreviewPages();
    store.Initialize();
    store.AddPageAction = TfrxCustomPreviewPages::apAdd;
    const double now = date_time::encode(Clock::current().now());
    StartDate = double(qint64(now));
    StartTime = now;
    Running = true;
    CurVColumn = 0;
    CurBand = nullptr;
    breakingBand_ = nullptr;
    startNewPageBand_ = nullptr;
    headerList_.clear();
    aggregates_.Clear();
    eventClock_.invalidate();
}

// Links the bands of every page and checks the data sources; false when errors were found.
bool TfrxEngine::linkAndCheck()
{
    TfrxReport &report = Report();
    const QList<TfrxReportPage *> pages = reportPages(report);
    for (TfrxReportPage *page : pages) {
        page->AlignChildren();
        for (const QString &error : LinkBands(*page))
            report.AddError(error);
    }
    if (report.EngineOptions.DoublePass)
        report.AddError(reportText("unsupportedDoublePass"));

    TfrxDataSet *reportData = report.DataSet();
    for (TfrxReportPage *page : pages) {
        if (reportData && page->DataSet() == reportData)
            report.AddError(reportText("sameDataSetReportPage"));
        for (TfrxBand *band : page->FSubBands) {
            TfrxDataSet *bandData = static_cast<TfrxDataBand *>(band)->DataSet();
            if (!bandData)
                continue;
            if (bandData == reportData)
                report.AddError(reportText("sameDataSetReportBand"));
            if (bandData == page->DataSet())
                report.AddError(reportText("sameDataSetPageBand"));
        }
    }
    return report.Errors().isEmpty();
}

void TfrxEngine::runReportPages()
{
    for (TfrxReportPage *page : reportPages(Report())) {
        if (page->Subreport || !page->Visible())
            continue;
        runPage(*page);
        if (Report().Terminated)
            break;
    }
}

void TfrxEngine::runPage(TfrxReportPage &page)
{
    page_ = &page;
    firstBand_ = true;
    runEvent(page.OnBeforePrint, &page);
    if (TfrxDataSet *pageData = page.DataSet()) {
        for (pageData->First(); !pageData->Eof() && !Report().Terminated; pageData->Next())
            pageBody(page);
    } else {
        for (int i = 0; i < page.PageCount() && !Report().Terminated; ++i)
            pageBody(page);
    }
    runEvent(page.OnAfterPrint, &page);
}

void TfrxEngine::pageBody(TfrxReportPage &page)
{
    if (!Report().EngineOptions.PrintIfEmpty) {
        const bool anyRecord = std::any_of(page.FSubBands.begin(), page.FSubBands.end(), [](TfrxBand *band) {
            TfrxDataSet *data = dataOf(band);
            data->First();
            return !data->Eof();
        });
        if (!anyRecord)
            return;
    }
    startPage();
    showLooseObjects();
    if (page.OnManualBuild.isEmpty())
        runDataBands(page.FSubBands);
    else
        runEvent(page.OnManualBuild, &page);
    lastPage_ = true;
    EndPage();
    lastPage_ = false;
}

// --- Pages -------------------------------------------------------------------------------------

void TfrxEngine::startPage()
{
    headerList_.clear();
    auto *title = pageBand<TfrxReportTitle>();
    auto *pageHeader = pageBand<TfrxPageHeader>();
    QList<TfrxBand *> top =
        page_->TitleBeforeHeader() ? QList<TfrxBand *>{title, pageHeader} : QList<TfrxBand *>{pageHeader, title};
    for (TfrxBand *band : top)
        if (band)
            headerList_ << HeaderEntry{band, 0};

    pageHeight_ = page_->PrintableHeight();
    PageWidth = page_->PrintableWidth();
    CurX = 0;
    CurY = 0;
    CurColumn = 1;
    firstPage_ = true;
    lastPage_ = false;
    summaryPrinted_ = false;
    if (page_->ResetPageNumbers())
        Report().PreviewPages()->ResetLogicalPageNumber();
    addPage();

    if (auto *columnHeader = pageBand<TfrxColumnHeader>()) {
        ShowBand(columnHeader);
        headerList_ << HeaderEntry{columnHeader, 0};
    }
    if (title)
        removeHeader(title);
}

void TfrxEngine::addPage()
{
    previousFooterHeight_ = 0;
    Report().PreviewPages()->AddPage(page_);
    CurY = 0;

    const double savedX = CurX;
    QScopedValueRollback atTop(printingAtTop_, true);
    const QList<HeaderEntry> entries = headerList_;
    for (const HeaderEntry &entry : entries) {
        TfrxBand *band = entry.band;
        CurX = entry.left;
        if (band == startNewPageBand_)
            continue;
        if (auto *pageHeader = dynamic_cast<TfrxPageHeader *>(band);
            pageHeader && firstPage_ && !pageHeader->PrintOnFirstPage()) {
            if (!pageHeader->PrintChildIfInvisible() || !pageHeader->Child())
                continue;
            band = pageHeader->Child();
        }
        if (dynamic_cast<TfrxHeader *>(band) && band == breakingBand_)
            continue;
        ShowBand(band);
        if (dynamic_cast<TfrxReportTitle *>(band))
            removeHeader(band);
    }
    CurX = savedX;
}

void TfrxEngine::removeHeader(TfrxBand *band)
{
    headerList_.removeIf([band](const HeaderEntry &entry) { return entry.band == band; });
}

void TfrxEngine::NewPage()
{
    TfrxBand *const current = CurBand;
    breakingBand_ = current;
    EndPage();
    addPage();
    breakingBand_ = nullptr;
    CurBand = current;
}

void TfrxEngine::NewColumn()
{
    NewPage();  // one column per page: the next column is the next page
}

void TfrxEngine::EndPage()
{
    if (!insideEndPage_) {
        QScopedValueRollback inside(insideEndPage_, true);
        QScopedValueRollback bottom(printingPageBottom_, true);
        if (auto *columnFooter = pageBand<TfrxColumnFooter>())
            ShowBand(columnFooter);
    }
    if (!lastPage_) {
        CurX = 0;
        CurColumn = 1;
    }
    if (lastPage_ && !summaryPrinted_) {
        summaryPrinted_ = true;
        if (auto *summary = pageBand<TfrxReportSummary>()) {
            // A summary that does not fit breaks to a page that is not yet the last one.
            QScopedValueRollback notLast(lastPage_, false);
            ShowBand(summary);
        }
    }
    if (auto *pageFooter = pageBand<TfrxPageFooter>()) {
        CurY = pageHeight_ - pageFooter->Height();
        if (lastPage_ && pageFooter->PrintOnLastPage())
            previousFooterHeight_ = pageFooter->Height();
        const bool hidden =
            (firstPage_ && !pageFooter->PrintOnFirstPage()) || (lastPage_ && !pageFooter->PrintOnLastPage());
        if (!hidden) {
            QScopedValueRollback bottom(printingPageBottom_, true);
            QScopedValueRollback once(printingAtTop_, true);  // one page footer per page
            ShowBand(pageFooter);
        }
        aggregates_.Reset(*pageFooter);
    }
    firstPage_ = false;
}

double TfrxEngine::HeaderHeight()
{
    return chainHeight(pageBand<TfrxColumnHeader>()) + chainHeight(pageBand<TfrxPageHeader>());
}

double TfrxEngine::FooterHeight()
{
    double height = 0;
    if (auto *columnFooter = pageBand<TfrxColumnFooter>())
        height += columnFooter->Height();
    if (auto *pageFooter = pageBand<TfrxPageFooter>())
        height += pageFooter->Height();
    return height;
}

double TfrxEngine::FreeSpace()
{
    if (page_ && page_->EndlessHeight())
        return 1000000;
    return pageHeight_ - CurY - (previousFooterHeight_ != 0 ? previousFooterHeight_ : FooterHeight());
}

// The objects placed on the page itself print once per page body, in an engine band as large as
// the printable area, at their design positions and over whatever bands print there.
void TfrxEngine::showLooseObjects()
{
    QList<TfrxComponent *> loose;
    for (TfrxComponent *child : page_->Objects())
        if (!dynamic_cast<TfrxBand *>(child))
            loose << child;
    if (loose.isEmpty())
        return;
    // The band is a child of the page while it prints, so its objects find their report.
    TfrxNullBand band(page_);
    band.SetBounds(0, 0, PageWidth, pageHeight_);
    for (TfrxComponent *object : loose)
        object->SetParent(&band);
    const double savedY = CurY;
    const auto giveBack = qScopeGuard([&] {
        for (TfrxComponent *object : loose)
            object->SetParent(page_);
        CurY = savedY;
    });
    band.AlignChildren();
    ShowBand(&band);
}

// --- Data bands --------------------------------------------------------------------------------

// Pending user-interface events are processed at the start of a data band run, at most every
// kEventInterval milliseconds: often enough for the preview to repaint and a stop to arrive,
// rarely enough not to cost more than the rows themselves.
void TfrxEngine::letEventsThrough()
{
    constexpr qint64 kEventInterval = 20;
    if (!QCoreApplication::instance() || (eventClock_.isValid() && eventClock_.elapsed() < kEventInterval))
        return;
    QCoreApplication::processEvents();
    eventClock_.start();
}

bool TfrxEngine::rowIsPrinted(TfrxDataBand &band)
{
    if (band.FSubBands.isEmpty() || band.PrintIfDetailEmpty())
        return true;
    return std::any_of(band.FSubBands.begin(), band.FSubBands.end(), [](TfrxBand *sub) {
        TfrxDataSet *data = dataOf(sub);
        data->First();
        return !data->Eof();
    });
}

void TfrxEngine::runDataBands(const QList<TfrxBand *> &bands)
{
    letEventsThrough();
    if (Report().Terminated)
        return;
    for (TfrxBand *member : bands) {
        auto &band = *static_cast<TfrxDataBand *>(member);
        TfrxDataSet *data = dataOf(&band);
        if (!data)
            continue;
        data->First();
        band.FLineN = 1;
        band.FLineThrough = 1;
        band.CurColumn = 1;
        for (TfrxCustomMemoView *memo : suppressingMemos(band))
            memo->LastValue.clear();

        bool printed = false;
        while (!data->Eof()) {
            if (rowIsPrinted(band)) {
                if (!printed) {
                    auto *header = dynamic_cast<TfrxHeader *>(band.FHeader);
                    if (header && header->ReprintOnNewPage())
                        headerList_ << HeaderEntry{header, CurX};
                    ShowBand(band.FHeader);
                    printed = true;
                }
                CurLine = band.FLineN;
                CurLineThrough = band.FLineThrough;
                ShowBand(&band);
                ++band.FLineN;
                ++band.FLineThrough;
                runDataBands(band.FSubBands);
                firstBand_ = false;
                if (band.FooterAfterEach())
                    ShowBand(band.FFooter);
            }
            data->Next();
            if ((band.RowCount() != 0 && band.RowCount() < band.FLineN) || Report().Terminated)
                break;
        }

        if (printed) {
            // The repeated header stays in the list while the footer prints: a footer moved to a
            // new page still has its header above it.
            if (!band.FooterAfterEach()) {
                QScopedValueRollback footer(printingFooter_, true);
                ShowBand(band.FFooter);
            }
            removeHeader(band.FHeader);
        }
        if (Report().Terminated)
            return;
        firstBand_ = false;
    }
}

// --- Bands -------------------------------------------------------------------------------------

void TfrxEngine::ShowBand(TfrxBand *band)
{
    if (!band)
        return;
    printBand(band);
    if (TfrxBand *child = band->Child(); child && (band->Visible() || band->PrintChildIfInvisible()))
        ShowBand(child);
    if (dynamic_cast<TfrxDataBand *>(band))
        aggregates_.AddValue(*band);
}

void TfrxEngine::ShowBand(const QString &bandClassName)
{
    if (page_)
        ShowBand(page_->FindBand(bandClassName));
}

void TfrxEngine::ShowBandByName(const QString &name)
{
    if (page_)
        ShowBand(dynamic_cast<TfrxBand *>(page_->FindObject(name)));
}

void TfrxEngine::StopReport()
{
    Report().Terminated = true;
}

Variant TfrxEngine::GetAggregateValue(const QString &name, const QString &expression, TfrxBand *band, int flags)
{
    return aggregates_.GetValue(CurBand, name, expression, band, flags);
}

void TfrxEngine::prepareBand(TfrxBand *band)
{
    TfrxReport &report = Report();
    CurBand = band;
    band->BeforePrint();
    runEvent(band->OnBeforePrint, band);
    for (TfrxComponent *child : band->Objects()) {
        auto *object = dynamic_cast<TfrxReportComponent *>(child);
        if (!object)
            continue;
        report.CurObject = object->Name();
        object->BeforePrint();
        if (!band->Visible())
            continue;
        runEvent(object->OnBeforePrint, object);
        if (object->Visible()) {
            object->GetData();
            runEvent(object->OnAfterData, object);
        }
    }
    if (band->Visible())
        stretchObjects(*band, report.DrawText());
    runEvent(band->OnAfterCalcHeight, band);
    if (band->Visible() && band->AfterCalcHeight)
        band->AfterCalcHeight(*band);
}

void TfrxEngine::finishBand(TfrxBand *band)
{
    for (TfrxComponent *child : band->Objects())
        if (auto *object = dynamic_cast<TfrxReportComponent *>(child)) {
            runEvent(object->OnAfterPrint, object);
            object->AfterPrint();
        }
    runEvent(band->OnAfterPrint, band);
    band->AfterPrint();
}

void TfrxEngine::printBand(TfrxBand *band)
{
    // A band asking for a page of its own breaks before it is prepared (not on a data band's first
    // row, and not when it already starts the page).
    const bool firstRow = dynamic_cast<TfrxDataBand *>(band) && band->FLineN == 1;
    if (band->Visible() && band->StartNewPage() && !printingAtTop_ && !firstRow) {
        startNewPageBand_ = band;
        NewPage();
        startNewPageBand_ = nullptr;
    }

    bool finished = false;
    const auto finish = qScopeGuard([&] {
        if (!finished)
            finishBand(band);
    });
    prepareBand(band);
    double height = band->Height();

    if (band->Visible() && !isEngineBand(band))
        height = fitOnPage(band, height);

    if (band->Visible()) {
        TfrxCustomPreviewPages &store = *Report().PreviewPages();
        if (!isEngineBand(band)) {
            band->SetLeft(CurX);
            band->SetTop(CurY);
        }
        if (!printingAtTop_ || !store.BandExists(band))
            store.AddObject(band);
        CurY += height;
    }
    finished = true;
    finishBand(band);
    aggregates_.Reset(*band);
}

// Starts a new page when the band does not fit in the space left (a band that fits exactly
// stays); a band that can never fit ends the run. Returns the band's height, which a second
// preparation may change.
double TfrxEngine::fitOnPage(TfrxBand *band, double height)
{
    if (printingPageBottom_ || FreeSpace() >= height)
        return height;
    const auto tooHigh = [band] { return EngineError(reportText("bandTooHigh").arg(band->Name())); };
    if (printingAtTop_ || height > pageHeight_ - FooterHeight())
        throw tooHigh();

    // Repeated texts that were suppressed print again at the top of the new page.
    if (const QList<TfrxCustomMemoView *> memos = suppressingMemos(*band); !memos.isEmpty()) {
        for (TfrxCustomMemoView *memo : memos)
            memo->LastValue.clear();
        finishBand(band);
        CurLine = band->FLineN;
        QScopedValueRollback second(SecondScriptCall, true);
        prepareBand(band);
        height = band->Height();
    }
    NewColumn();
    if (FreeSpace() < height)
        throw tooHigh();
    return height;
}

}  // namespace vornak
