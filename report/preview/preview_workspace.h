#pragma once

// The scrolling page area of the preview: it lays the prepared pages out in rows, paints the ones
// near the view at the preview's zoom, scrolls by the scroll bars and by dragging the pages with
// the mouse, and makes the page under a click the current page.

#include "report/preview/page_list.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QSize>

#include <vector>

namespace vornak {

class TfrxCustomPreviewPages;
class TfrxPreview;

class TfrxPreviewWorkspace : public QAbstractScrollArea {
public:
    explicit TfrxPreviewWorkspace(TfrxPreview &preview);

    static constexpr int lineStep = 8;
    static constexpr int pageStep = 300;
    // Pages painted around the page at the top of the view, before and after it.
    static constexpr int paintReach = 40;

    void SetPreviewPages(TfrxCustomPreviewPages *pages) { pages_ = pages; }
    // Adds the size of page `index` (its list must hold the pages before it); the layout follows
    // with Layout.
    void AddPageSize(int index);
    // Reads every page's size from the store again.
    void ReadPageSizes();
    void ClearPages();
    // Lays the pages out for the current width and zoom, sets the scroll ranges and repaints
    // (nothing while locked or without pages).
    void Layout();
    // Sets the scroll ranges from the page list.
    void UpdateScrollRanges();

    const TfrxPageList &PageList() const { return pageList_; }
    QSize ScrollRange() const { return pageList_.ScrollRange(); }
    QPoint ScrollPosition() const;
    // Moves the view so that `position` of the plane is at its top left (clamped to the ranges).
    void SetScrollPosition(QPoint position);
    // The page at the top of the view (0 without pages).
    int TopPage() const;
    // The width the rows are placed in: page area width − vertical scroll bar width − 26.
    int ClientWidth() const;

    bool Locked = false;
    bool Refreshing = false;

    // Repaints only what changes when the current page moves from `previous` to `current`: the
    // frames around both.
    void RepaintFrames(int previous, int current);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool hasPages() const { return pageList_.Count() > 0; }
    QRect viewRect(int index) const;   // the page's rectangle in view coordinates
    QRect frameRect(int index) const;  // what the current page's frame covers
    void hitTest(QPoint mouse, bool click);

    TfrxPreview &preview_;
    TfrxCustomPreviewPages *pages_ = nullptr;
    std::vector<QSize> pageSizes_;  // at zoom 1, as the store gives them
    TfrxPageList pageList_;
    bool mouseDown_ = false;  // dragging the pages
    QPoint lastMouse_;
    quint64 lastClick_ = 0;  // tick of the last click (double-click detection)
    bool hasLastClick_ = false;
};

}  // namespace vornak
