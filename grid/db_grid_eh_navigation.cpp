// Keyboard, mouse, wheel and scroll bar navigation of the grid, and deleting from it.
#include "grid/db_grid_eh.h"

#include "data/data_set.h"
#include "grid/db_grid_eh_find_dlg.h"
#include "grid/width_fitting.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

namespace vornak {

namespace {

constexpr int resizeGrip = 2;  // pixels on each side of a title border that start a resize

struct KeyAction {
    int key;
    bool ctrl;
    void (*run)(TDBGridEh &grid, TDataSet &dataSet);
};

}  // namespace

void TDBGridEh::moveBy(int distance)
{
    if (TDataSet *dataSet = activeDataSet(); dataSet && distance != 0)
        dataSet->MoveBy(distance);
}

void TDBGridEh::moveColumn(int index)
{
    SetSelectedIndex(index);
}

void TDBGridEh::tabColumn(bool forward)
{
    TDataSet *dataSet = activeDataSet();
    const int count = int(Columns.Visible().size());
    if (!dataSet || count == 0)
        return;
    const int original = selectedIndex_;
    int column = original + (forward ? 1 : -1);
    if (column >= count) {
        dataSet->MoveBy(1);
        column = 0;
    } else if (column < 0) {
        dataSet->MoveBy(-1);
        column = count - 1;
    }
    SetSelectedIndex(column);
}

bool TDBGridEh::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (layoutDirection() == Qt::RightToLeft) {
        if (key == Qt::Key_Left)
            key = Qt::Key_Right;
        else if (key == Qt::Key_Right)
            key = Qt::Key_Left;
    }
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (!options_.contains(dgTabs) || (modifiers & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        tabColumn(key == Qt::Key_Tab && !shift);
        return true;
    }

    static const KeyAction actions[] = {
        {Qt::Key_Up, false,
         [](TDBGridEh &grid, TDataSet &dataSet) {
             if (dataSet.State() == dsInsert && !dataSet.Modified() && !grid.link_.Modified() && dataSet.Eof())
                 dataSet.Cancel();
             else
                 dataSet.MoveBy(-1);
         }},
        {Qt::Key_Down, false,
         [](TDBGridEh &grid, TDataSet &dataSet) {
             if (dataSet.State() == dsInsert && !dataSet.Modified() && !grid.link_.Modified()) {
                 if (!dataSet.Eof())
                     dataSet.Cancel();
             } else {
                 dataSet.MoveBy(1);
             }
         }},
        {Qt::Key_PageUp, false, [](TDBGridEh &grid, TDataSet &dataSet) { dataSet.MoveBy(-grid.visibleRows_); }},
        {Qt::Key_PageDown, false, [](TDBGridEh &grid, TDataSet &dataSet) { dataSet.MoveBy(grid.visibleRows_); }},
        {Qt::Key_Home, false,
         [](TDBGridEh &grid, TDataSet &dataSet) {
             if (grid.Columns.Visible().size() == 1)
                 dataSet.First();
             else
                 grid.moveColumn(0);
         }},
        {Qt::Key_End, false,
         [](TDBGridEh &grid, TDataSet &dataSet) {
             const int count = int(grid.Columns.Visible().size());
             if (count == 1)
                 dataSet.Last();
             else
                 grid.moveColumn(count - 1);
         }},
        {Qt::Key_Left, false, [](TDBGridEh &grid, TDataSet &) { grid.moveColumn(grid.selectedIndex_ - 1); }},
        {Qt::Key_Right, false, [](TDBGridEh &grid, TDataSet &) { grid.moveColumn(grid.selectedIndex_ + 1); }},
        {Qt::Key_Escape, false,
         [](TDBGridEh &, TDataSet &dataSet) {
             if (dataSet.State() == dsEdit || dataSet.State() == dsInsert)
                 dataSet.Cancel();
         }},
        {Qt::Key_Up, true, [](TDBGridEh &grid, TDataSet &) { grid.moveBy(-grid.currentRow()); }},
        {Qt::Key_PageUp, true, [](TDBGridEh &grid, TDataSet &) { grid.moveBy(-grid.currentRow()); }},
        {Qt::Key_Down, true,
         [](TDBGridEh &grid, TDataSet &) { grid.moveBy(grid.link_.RecordCount() - 1 - grid.currentRow()); }},
        {Qt::Key_PageDown, true,
         [](TDBGridEh &grid, TDataSet &) { grid.moveBy(grid.link_.RecordCount() - 1 - grid.currentRow()); }},
        {Qt::Key_Home, true, [](TDBGridEh &, TDataSet &dataSet) { dataSet.First(); }},
        {Qt::Key_End, true, [](TDBGridEh &, TDataSet &dataSet) { dataSet.Last(); }},
        {Qt::Key_Left, true, [](TDBGridEh &grid, TDataSet &) { grid.moveColumn(0); }},
        {Qt::Key_Right, true,
         [](TDBGridEh &grid, TDataSet &) { grid.moveColumn(int(grid.Columns.Visible().size()) - 1); }},
        {Qt::Key_Delete, true, [](TDBGridEh &grid, TDataSet &) { grid.deleteRecord(); }},
        {Qt::Key_F, true, [](TDBGridEh &grid, TDataSet &) { grid.openFindDialog(); }},
    };
    for (const KeyAction &action : actions) {
        if (action.key == key && action.ctrl == ctrl) {
            if (TDataSet *dataSet = activeDataSet())
                action.run(*this, *dataSet);
            return true;
        }
    }
    return false;
}

void TDBGridEh::keyPressEvent(QKeyEvent *event)
{
    if (!link_.Active() || !handleKey(event->key(), event->modifiers()))
        event->ignore();
}

// Deletes the current record after the user confirmed it, when the grid and the dataset allow it.
void TDBGridEh::deleteRecord()
{
    TDataSet *dataSet = activeDataSet();
    if (!dataSet || ReadOnly || dataSet->IsEmpty() || !dataSet->CanModify() ||
        !AllowedOperations.contains(alopDeleteEh))
        return;
    if (options_.contains(dgConfirmDelete)) {
        const QPointer<QWidget> focused = QApplication::focusWidget();
        const ModalResult answer =
            UserDialogs::current().messageBox(QStringLiteral("Delete record?"), QStringLiteral("Confirm"),
                                              MessageButtons::OkCancel, MessageIcon::Question);
        if (focused && QApplication::focusWidget() != focused)
            focused->setFocus();
        if (answer != ModalResult::Ok)
            return;
    }
    dataSet->Delete();
}

void TDBGridEh::openFindDialog()
{
    if (link_.Active() && optionsEh_.contains(dghDialogFind))
        TDBGridEhFindDlg::Execute(*this, QString(), IsFindDialogShowAsModal());
}

// ---- mouse ----

int TDBGridEh::resizeBorderAt(const QPoint &pos) const
{
    if (!options_.contains(dgTitles) || !options_.contains(dgColumnResize) || !optionsEh_.contains(dghColumnResize) ||
        pos.y() < 0 || pos.y() >= geometry_.titleRowHeight)
        return -1;
    for (int i = geometry_.columnCount() - 1; i >= 0; --i) {
        if (std::abs(pos.x() - geometry_.columnRight(i)) <= resizeGrip)
            return i;
    }
    return -1;
}

void TDBGridEh::mousePressEvent(QMouseEvent *event)
{
    if (!isEnabled() || !(focusPolicy() & Qt::ClickFocus))
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (const int border = resizeBorderAt(pos); border >= 0) {
        sizingColumn_ = border;
        sizingOffset_ = pos.x() - geometry_.columnRight(border);
        dragLine_ = geometry_.columnRight(border);
        viewport()->update();
        return;
    }
    if (options_.contains(dgTitles) && pos.y() < geometry_.titleRowHeight) {
        if (optionsEh_.contains(dghColumnMove)) {
            movingColumn_ = geometry_.columnAt(pos.x());
            movePress_ = pos;
        }
        return;
    }
    if (!link_.Active())
        return;
    const int row = geometry_.rowAt(pos.y());
    if (row < 0 || row >= link_.RecordCount())
        return;
    if (const int column = geometry_.columnAt(pos.x()); column >= 0)
        SetSelectedIndex(column);
    moveBy(row - currentRow());
}

void TDBGridEh::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (sizingColumn_ >= 0) {
        dragLine_ = std::max(columnLeft(sizingColumn_) + 1, pos.x() - sizingOffset_);
        viewport()->update();
        return;
    }
    if (movingColumn_ >= 0) {
        if (dragLine_ < 0 && (pos - movePress_).manhattanLength() < QApplication::startDragDistance())
            return;
        const int target = moveTarget(pos.x());
        const int edge = target > movingColumn_ ? geometry_.columnRight(target) : columnLeft(target);
        dragLine_ = target < 0 ? 0 : edge;
        viewport()->update();
        return;
    }
    viewport()->setCursor(resizeBorderAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TDBGridEh::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (sizingColumn_ >= 0)
        finishColumnResize(event->position().toPoint().x() - sizingOffset_);
    else if (movingColumn_ >= 0)
        finishColumnMove(event->position().toPoint().x());
}

int TDBGridEh::moveTarget(int x) const
{
    const int count = geometry_.columnCount();
    if (count == 0)
        return -1;
    if (x < columnLeft(0))
        return 0;
    const int column = geometry_.columnAt(x);
    return column >= 0 ? column : count - 1;
}

// Moves the pressed column to the place of the column it was dropped on; a title clicked
// without dragging moves nothing.
void TDBGridEh::finishColumnMove(int x)
{
    const int from = movingColumn_;
    const bool dragged = dragLine_ >= 0;
    movingColumn_ = -1;
    dragLine_ = -1;
    viewport()->update();
    const int to = moveTarget(x);
    if (!dragged || from < 0 || to < 0 || to == from)
        return;
    const std::vector<TColumnEh *> columns = Columns.Visible();
    TColumnEh *current = selectedIndex_ < int(columns.size()) ? columns[selectedIndex_] : nullptr;
    Columns.Move(Columns.IndexOf(columns[from]), Columns.IndexOf(columns[to]));
    const std::vector<TColumnEh *> moved = Columns.Visible();
    for (int i = 0; i < int(moved.size()); ++i) {
        if (moved[i] == current)
            SetSelectedIndex(i);
    }
}

void TDBGridEh::finishColumnResize(int x)
{
    const int index = sizingColumn_;
    sizingColumn_ = -1;
    dragLine_ = -1;
    const std::vector<TColumnEh *> columns = Columns.Visible();
    if (index < 0 || index >= int(columns.size()))
        return;
    const int oldWidth = columns[index]->Width();
    const int newWidth = std::max(1, x - columnLeft(index));
    if (newWidth == oldWidth) {
        viewport()->update();
        return;
    }
    if (!autoFitColWidths_) {
        columns[index]->SetWidth(newWidth);
        return;
    }
    std::vector<int> weights;
    for (const TColumnEh *column : columns)
        weights.push_back(column->InitWidth);
    resizeFitWeights(weights, index, oldWidth, newWidth);
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i]->InitWidth = weights[i];
    layoutGrid();
}

void TDBGridEh::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

// The wheel moves one record a notch wherever the pointer is, over the scroll bar too.
bool TDBGridEh::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void TDBGridEh::wheelEvent(QWheelEvent *event)
{
    event->accept();
    // Fine-grained wheels send parts of a notch; they add up to whole notches.
    wheelDelta_ += event->angleDelta().y();
    const int notches = wheelDelta_ / 120;
    wheelDelta_ -= notches * 120;
    for (int i = 0; i < std::abs(notches); ++i)
        moveBy(notches > 0 ? -1 : 1);
}

// ---- scroll bar ----

void TDBGridEh::scrollBarAction(int action)
{
    TDataSet *dataSet = activeDataSet();
    if (!dataSet)
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        moveBy(-(currentRow() + 1));
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        moveBy(link_.RecordCount() - currentRow());
        break;
    case QAbstractSlider::SliderPageStepSub:
        moveBy(-visibleRows_);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        moveBy(visibleRows_);
        break;
    case QAbstractSlider::SliderToMinimum:
        dataSet->First();
        break;
    case QAbstractSlider::SliderToMaximum:
        dataSet->Last();
        break;
    case QAbstractSlider::SliderMove:
        thumbTracked_ = true;
        moveBy(verticalScrollBar()->sliderPosition() - dataSet->RecNo());
        return;
    default:
        return;
    }
    // The bar shows the current record, not where the action would have put the thumb.
    showCurrentOnScrollBar();
}

void TDBGridEh::scrollBarReleased()
{
    if (!thumbTracked_)
        moveToPosition(verticalScrollBar()->sliderPosition());
}

// A value set on the bar without one of its actions ("Scroll here" of its menu, or a program)
// moves like a thumb released there.
void TDBGridEh::scrollBarValueChanged(int value)
{
    const TDataSet *dataSet = activeDataSet();
    if (!dataSet || dataSet->State() == dsInsert || value == dataSet->RecNo())
        return;
    moveToPosition(value);
    showCurrentOnScrollBar();
}

void TDBGridEh::moveToPosition(int position)
{
    TDataSet *dataSet = activeDataSet();
    if (!dataSet)
        return;
    if (position <= 1)
        dataSet->First();
    else if (position >= dataSet->RecordCount())
        dataSet->Last();
    else
        moveBy(position - dataSet->RecNo());
}

void TDBGridEh::showCurrentOnScrollBar()
{
    const TDataSet *dataSet = activeDataSet();
    if (!dataSet || dataSet->RecNo() <= 0)
        return;
    const QSignalBlocker blocker(verticalScrollBar());
    verticalScrollBar()->setSliderPosition(dataSet->RecNo());
}

}  // namespace vornak
