// The preview control. Showing a report resets the page area to the report's store; while the
// report prepares, each new page is measured and placed at once for the first 50 pages, and then
// every 5, 20 or 50 pages depending on how fast the second page followed the first; pending
// window messages are let through after every page, so the control repaints and the window stays
// alive. RefreshReport prepares the same report again behind a locked page area and puts the view
// back where it was.

#include "report/preview/preview.h"

#include "platform/clock.h"
#include "report/draw/view_geometry.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/preview/preview_workspace.h"

#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>

namespace vornak {

namespace {

constexpr int pagesShownAtOnce = 50;  // pages placed as soon as they are added

// Pages between display refreshes, by the milliseconds the second page took.
int updateIntervalFor(quint64 secondPageMilliseconds)
{
    if (secondPageMilliseconds <= 4)
        return 50;
    if (secondPageMilliseconds > 9)
        return 5;
    return 20;
}

}  // namespace

TfrxPreview::TfrxPreview(QWidget *parent)
    : QFrame(parent),
      workspace_(new TfrxPreviewWorkspace(*this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(workspace_);
}

TfrxPreview::~TfrxPreview()
{
    if (report_ && report_->Preview() == this)
        report_->SetPreview(nullptr);
}

int TfrxPreview::PageCount() const
{
    return pages_ ? pages_->Count() : 0;
}

void TfrxPreview::Init(TfrxReport &report, TfrxCustomPreviewPages &pages)
{
    report_ = &report;
    pages_ = &pages;
    workspace_->SetPreviewPages(&pages);
    zoomMode_ = report.PreviewOptions.ZoomMode;
    zoom_ = report.PreviewOptions.Zoom > 0 ? report.PreviewOptions.Zoom : 1;
    workspace_->ReadPageSizes();
    if (pages.Count() == 0)
        workspace_->ClearPages();
    layoutPages();
    setPageNo(1, true);
}

void TfrxPreview::layoutPages()
{
    workspace_->Layout();
}

void TfrxPreview::Lock()
{
    locked_ = true;
    workspace_->Locked = true;
    // At once: the pages must not stay visible while they are printed or prepared again.
    workspace_->viewport()->repaint();
}

void TfrxPreview::Unlock()
{
    locked_ = false;
    workspace_->Locked = false;
    layoutPages();
    workspace_->viewport()->update();
}

void TfrxPreview::SetZoom(double value)
{
    if (value <= 0)
        return;
    zoom_ = value;
    layoutPages();
}

void TfrxPreview::setPageNo(int value, bool scroll)
{
    const int count = PageCount();
    const int page = count == 0 ? 0 : std::clamp(value, 1, count);
    const int previous = pageNo_;
    pageNo_ = page;
    if (pages_)
        pages_->CurPreviewPage = std::max(0, page - 1);
    if (page != previous)
        workspace_->RepaintFrames(previous, page);
    if (scroll && page > 0 && page <= workspace_->PageList().Count()) {
        const QScopedValueRollback scrolling(scrollingToPage_, true);
        const QRect rect = workspace_->PageList().PageRect(page - 1);
        workspace_->SetScrollPosition(QPoint(workspace_->ScrollPosition().x(), rect.top() - pageGap));
    }
    pageChanged();
}

void TfrxPreview::pageScrolled(int topPage)
{
    if (!scrollingToPage_)
        setPageNo(topPage, false);
}

void TfrxPreview::pageChanged()
{
    if (OnPageChanged)
        OnPageChanged(*this, pageNo_);
}

void TfrxPreview::SetPosition(int pageN, int top)
{
    const int count = workspace_->PageList().Count();
    if (count == 0)
        return;
    const int page = std::clamp(pageN, 1, count);
    int y = workspace_->PageList().PageRect(page - 1).top() - pageGap;
    if (top != 0 && pages_)
        if (const TfrxReportPage *reportPage = pages_->PageAt(page - 1))
            y += frxRound((reportPage->TopMargin() * fr01cm + top) * zoom_);
    workspace_->SetScrollPosition(QPoint(workspace_->ScrollPosition().x(), y));
}

void TfrxPreview::InternalOnProgressStart()
{
    if (refreshing_)
        return;
    Clear();
    running_ = true;
}

void TfrxPreview::InternalOnProgress(int pageIndex)
{
    const TfrxCustomEngine *engine = report_ ? report_->Engine() : nullptr;
    if (refreshing_) {
        pageChanged();
    } else if (!engine || engine->FinalPass) {
        if (pageIndex < pagesShownAtOnce) {
            workspace_->AddPageSize(pageIndex);
            layoutPages();
        }
        if (pageIndex == 0) {
            setPageNo(1, true);
            layoutPages();
            firstPageTick_ = Clock::current().tickCount();
        } else if (pageIndex == 1) {
            updateInterval_ = updateIntervalFor(Clock::current().tickCount() - firstPageTick_);
        } else if (pageIndex % updateInterval_ == 0) {
            pageChanged();
            // Pages beyond the first 50 join the layout here, so the scroll ranges grow with them.
            if (pageIndex >= pagesShownAtOnce) {
                workspace_->ReadPageSizes();
                layoutPages();
            }
        }
        // The page before this one is complete now: show it.
        workspace_->viewport()->update();
    }
    QCoreApplication::processEvents();
}

void TfrxPreview::InternalOnProgressStop()
{
    if (refreshing_)
        return;
    running_ = false;
    pageChanged();
    workspace_->ReadPageSizes();
    layoutPages();
    workspace_->viewport()->update();
}

void TfrxPreview::Clear()
{
    if (running_)
        return;
    Lock();
    if (pages_)
        pages_->Clear();
    Unlock();
    workspace_->ClearPages();
    setPageNo(1, true);
    workspace_->viewport()->update();
}

void TfrxPreview::ReportDestroyed()
{
    Clear();
    report_ = nullptr;
    pages_ = nullptr;
    workspace_->SetPreviewPages(nullptr);
}

void TfrxPreview::RefreshReport()
{
    if (!report_ || running_)
        return;
    const QPoint position = workspace_->ScrollPosition();
    const int page = pageNo_;
    Lock();
    {
        const QScopedValueRollback refreshing(refreshing_, true);
        const QScopedValueRollback workspaceRefreshing(workspace_->Refreshing, true);
        const QScopedValueRollback running(running_, true);
        PrepareReport(*report_, true);
    }
    locked_ = false;
    const bool pageKept = page <= PageCount();
    workspace_->ReadPageSizes();
    workspace_->Locked = false;
    layoutPages();
    workspace_->SetScrollPosition(position);
    pageNo_ = pageKept ? page : 1;
    if (PageCount() == 0)
        pageNo_ = 0;
    workspace_->viewport()->update();
    if (!pageKept)
        setPageNo(1, true);
    else
        pageChanged();
}

}  // namespace vornak
