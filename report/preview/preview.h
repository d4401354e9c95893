#pragma once

// The preview control: shows a report's prepared pages inside a window of the program. The
// report hands it its prepared pages store (Init) and reports progress while it prepares, so the
// pages appear and the window keeps repainting during a long preparation. The control's state:
//
//   Report, PreviewPages  the report shown and its store (nullptr until a report is shown)
//   PageNo                the current page, from 1; 0 without pages
//   Zoom, ZoomMode        scale of the page area (1: one screen pixel per report pixel)
//   locked                the page area paints only its background and ignores the mouse
//   refreshing            RefreshReport prepares the report again
//   running               from the start to the end of a preparation
//   update interval       pages between display refreshes after the first 50 while preparing

#include "report/model/custom_preview.h"
#include "report/model/report_options.h"

#include <QColor>
#include <QFrame>

#include <functional>

namespace vornak {

class TfrxPreviewWorkspace;

class TfrxPreview : public QFrame, public TfrxCustomPreview {
public:
    explicit TfrxPreview(QWidget *parent = nullptr);
    ~TfrxPreview() override;

    QString Name() const override { return objectName(); }
    void Init(TfrxReport &report, TfrxCustomPreviewPages &pages) override;
    void Lock() override;
    void Unlock() override;
    void RefreshReport() override;
    void InternalOnProgressStart() override;
    void InternalOnProgress(int pageIndex) override;
    void InternalOnProgressStop() override;

    // Empties the store and the page area (nothing while a preparation runs).
    void Clear();
    // The report's component is being destroyed: clear and forget it.
    void ReportDestroyed() override;

    int PageNo() const { return pageNo_; }
    void SetPageNo(int value) { setPageNo(value, true); }
    int PageCount() const;
    void First() { SetPageNo(1); }
    void Prior() { SetPageNo(pageNo_ - 1); }
    void Next() { SetPageNo(pageNo_ + 1); }
    void Last() { SetPageNo(PageCount()); }
    // Scrolls so that page `pageN` starts 10 pixels below the view's top; a non-zero `top` moves
    // the view further down by (the page's top margin in pixels + top) × zoom.
    void SetPosition(int pageN, int top);

    double Zoom() const { return zoom_; }
    void SetZoom(double value);
    TfrxZoomMode ZoomMode() const { return zoomMode_; }

    TfrxReport *Report() const { return report_; }
    TfrxCustomPreviewPages *PreviewPages() const { return pages_; }
    TfrxPreviewWorkspace &Workspace() const { return *workspace_; }
    bool Running() const { return running_; }
    int UpdateInterval() const { return updateInterval_; }

    bool UseReportHints = true;
    QColor BackColor{128, 128, 128};
    QColor FrameColor{Qt::black};
    QColor ActiveFrameColor{32, 64, 128};
    // Fired after every page change and periodically while preparing.
    std::function<void(TfrxPreview &sender, int pageNo)> OnPageChanged;

private:
    friend class TfrxPreviewWorkspace;

    // Sets the current page; `scroll` brings its top 10 pixels below the view's top.
    void setPageNo(int value, bool scroll);
    // The view scrolled and `topPage` is now at its top (not while SetPageNo scrolls to a page).
    void pageScrolled(int topPage);
    void pageChanged();
    void layoutPages();

    TfrxPreviewWorkspace *workspace_;
    TfrxReport *report_ = nullptr;
    TfrxCustomPreviewPages *pages_ = nullptr;
    int pageNo_ = 0;
    double zoom_ = 1;
    TfrxZoomMode zoomMode_ = zmDefault;
    bool locked_ = false;
    bool refreshing_ = false;
    bool running_ = false;
    bool scrollingToPage_ = false;
    int updateInterval_ = 20;
    quint64 firstPageTick_ = 0;
};

}  // namespace vornak
