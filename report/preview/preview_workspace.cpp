// The preview's page area. The page list holds every page's rectangle in a plane; the view is
// that plane shifted by the scroll position. Painting fills the background around the pages near
// the top page, draws the current page's frame, then each visible page white with its border and
// its contents at the zoom. Vertical scrolling moves the painted contents and repaints only the
// uncovered strip; the page at the top of the view becomes the current page.

#include "report/preview/preview_workspace.h"

#include "platform/clock.h"
#include "report/draw/page_drawing.h"
#include "report/model/custom_preview_pages.h"
#include "report/preview/object_over.h"
#include "report/preview/preview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace vornak {

namespace {

// Cursor codes of report objects and the shapes they stand for; 0 (the default) is the control's
// own hand.
struct CursorRow {
    int code;
    Qt::CursorShape shape;
};

constexpr CursorRow cursors[] = {
    {-2, Qt::ArrowCursor},     {-3, Qt::CrossCursor},      {-4, Qt::IBeamCursor},         {-11, Qt::WaitCursor},
    {-12, Qt::DragMoveCursor}, {-18, Qt::ForbiddenCursor}, {-21, Qt::PointingHandCursor},
};

constexpr Qt::CursorShape defaultCursor = Qt::PointingHandCursor;

Qt::CursorShape cursorShape(int code)
{
    for (const CursorRow &row : cursors)
        if (row.code == code)
            return row.shape;
    return defaultCursor;
}

}  // namespace

TfrxPreviewWorkspace::TfrxPreviewWorkspace(TfrxPreview &preview)
    : QAbstractScrollArea(&preview),
      preview_(preview)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    for (QScrollBar *bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(lineStep);
        bar->setPageStep(pageStep);
        bar->installEventFilter(this);  // the wheel over a bar does nothing either
    }
    viewport()->setMouseTracking(true);
    viewport()->setCursor(defaultCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TfrxPreviewWorkspace::AddPageSize(int index)
{
    if (!pages_)
        return;
    pageSizes_.resize(size_t(std::max(index + 1, int(pageSizes_.size()))));
    pageSizes_[size_t(index)] = pages_->PageSizeAt(index);
}

void TfrxPreviewWorkspace::ReadPageSizes()
{
    pageSizes_.clear();
    const int count = pages_ ? pages_->Count() : 0;
    for (int i = 0; i < count; ++i)
        pageSizes_.push_back(pages_->PageSizeAt(i));
}

void TfrxPreviewWorkspace::ClearPages()
{
    pageSizes_.clear();
    pageList_.Clear();
    UpdateScrollRanges();
    viewport()->update();
}

int TfrxPreviewWorkspace::ClientWidth() const
{
    return width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) - layoutAllowance;
}

void TfrxPreviewWorkspace::Layout()
{
    if (Locked || pageSizes_.empty())
        return;
    pageList_.Layout(pageSizes_, preview_.Zoom(), ClientWidth());
    UpdateScrollRanges();
    if (!Refreshing)
        viewport()->update();
}

void TfrxPreviewWorkspace::UpdateScrollRanges()
{
    const QSize range = pageList_.ScrollRange();
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, range.width() - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, range.height() - visible.height()));
}

QPoint TfrxPreviewWorkspace::ScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TfrxPreviewWorkspace::SetScrollPosition(QPoint position)
{
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

int TfrxPreviewWorkspace::TopPage() const
{
    return pageList_.FindPage(verticalScrollBar()->value());
}

QRect TfrxPreviewWorkspace::viewRect(int index) const
{
    return pageList_.PageRect(index).translated(-ScrollPosition());
}

QRect TfrxPreviewWorkspace::frameRect(int index) const
{
    return viewRect(index).adjusted(-3, -3, 3, 3);
}

void TfrxPreviewWorkspace::RepaintFrames(int previous, int current)
{
    if (!hasPages() || Locked)
        return;
    QRegion frames;
    for (int index : {previous - 1, current - 1})
        if (index >= 0 && index < pageList_.Count())
            frames += QRegion(frameRect(index)).subtracted(viewRect(index).adjusted(1, 1, -1, -1));
    viewport()->update(frames);
}

void TfrxPreviewWorkspace::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QRect visible = viewport()->rect();
    if (Locked || !hasPages() || !pages_) {
        painter.fillRect(visible, preview_.BackColor);
        return;
    }
    const int top = TopPage();
    std::vector<int> shown;
    QRegion background(visible);
    for (int i = std::max(0, top - paintReach); i <= std::min(pageList_.Count() - 1, top + paintReach); ++i)
        if (viewRect(i).intersects(visible)) {
            shown.push_back(i);
            background -= viewRect(i);
        }
    painter.save();
    painter.setClipRegion(background);
    painter.fillRect(visible, preview_.BackColor);
    painter.restore();

    const int current = preview_.PageNo() - 1;
    if (current >= 0 && current < pageList_.Count()) {
        const QRect page = viewRect(current);
        const int left = page.left(), top = page.top(), right = page.left() + page.width(),
                  bottom = page.top() + page.height();
        painter.setPen(QPen(preview_.ActiveFrameColor, 2));
        painter.drawPolyline(
            QPolygon({QPoint(left - 1, top - 1), QPoint(right + 1, top - 1), QPoint(right + 1, bottom + 1),
                      QPoint(left - 1, bottom + 1), QPoint(left - 1, top - 2)}));
    }

    for (int i : shown) {
        const QRect page = viewRect(i);
        painter.setPen(preview_.FrameColor);
        painter.setBrush(Qt::white);
        painter.drawRect(page.adjusted(0, 0, -1, -1));
        painter.setBrush(Qt::NoBrush);
        painter.save();
        DrawPage(*pages_, i, painter, preview_.Zoom(), preview_.Zoom(), page.left(), page.top());
        painter.restore();
    }
}

void TfrxPreviewWorkspace::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    Layout();
}

void TfrxPreviewWorkspace::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
    if (dy != 0 && hasPages() && !Locked)
        preview_.pageScrolled(TopPage() + 1);
}

void TfrxPreviewWorkspace::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !hasPages() || Locked)
        return;
    mouseDown_ = true;
    lastMouse_ = event->position().toPoint();
}

void TfrxPreviewWorkspace::mouseMoveEvent(QMouseEvent *event)
{
    if (!hasPages() || Locked)
        return;
    const QPoint mouse = event->position().toPoint();
    if (mouseDown_) {
        const QPoint moved = lastMouse_ - mouse;
        SetScrollPosition(ScrollPosition() + moved);
        lastMouse_ = mouse;
        return;
    }
    hitTest(mouse, false);
}

void TfrxPreviewWorkspace::mouseReleaseEvent(QMouseEvent *event)
{
    mouseDown_ = false;
    if (!hasPages() || Locked)
        return;
    const QPoint mouse = event->position().toPoint();
    const QPoint plane = mouse + ScrollPosition();
    preview_.setPageNo(pageList_.FindPage(plane.y(), plane.x()) + 1, false);
    if (event->button() == Qt::RightButton)
        return;
    const quint64 now = Clock::current().tickCount();
    const bool doubleClick = hasLastClick_ && now - lastClick_ <= quint64(QApplication::doubleClickInterval());
    hasLastClick_ = !doubleClick;
    lastClick_ = now;
    hitTest(mouse, true);
}

void TfrxPreviewWorkspace::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The platform's double click arrives as a press; the second release tells it apart.
    mousePressEvent(event);
}

void TfrxPreviewWorkspace::hitTest(QPoint mouse, bool click)
{
    if (!pages_)
        return;
    const QPoint plane = mouse + ScrollPosition();
    const int index = pageList_.FindPage(plane.y(), plane.x());
    const TfrxObjectOver over =
        ObjectOver(*pages_, index, mouse, preview_.Zoom(), viewRect(index).topLeft(), preview_.UseReportHints);
    if (!click)
        viewport()->setCursor(over.Object ? cursorShape(over.Cursor) : defaultCursor);
    if (over.Hint == TfrxObjectOver::HintShown) {
        viewport()->setToolTip(over.HintText);
    } else if (over.Hint == TfrxObjectOver::HintHidden) {
        viewport()->setToolTip(QString());
        QToolTip::hideText();
    }
}

void TfrxPreviewWorkspace::wheelEvent(QWheelEvent *event)
{
    event->accept();  // the wheel does nothing here
}

void TfrxPreviewWorkspace::keyPressEvent(QKeyEvent *event)
{
    event->ignore();  // the page area takes no keyboard input
}

bool TfrxPreviewWorkspace::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && (watched == horizontalScrollBar() || watched == verticalScrollBar())) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool TfrxPreviewWorkspace::viewportEvent(QEvent *event)
{
    // The wheel does nothing over the pages either (the scroll area would scroll by it).
    if (event->type() == QEvent::Wheel) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace vornak
