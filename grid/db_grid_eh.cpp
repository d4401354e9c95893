#include "grid/db_grid_eh.h"

#include "data/data_set.h"
#include "data/data_source.h"
#include "grid/cell_metrics.h"
#include "grid/grid_painter.h"
#include "grid/width_fitting.h"
#include "platform/fonts.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace vornak {

TDBGridEh::TDBGridEh(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFont(windowFont());
    titleFont_ = windowFont();

    QScrollBar *bar = verticalScrollBar();
    bar->setTracking(true);
    connect(bar, &QAbstractSlider::actionTriggered, this, [this](int action) { scrollBarAction(action); });
    connect(bar, &QAbstractSlider::sliderPressed, this, [this] { thumbTracked_ = false; });
    connect(bar, &QAbstractSlider::sliderReleased, this, [this] { scrollBarReleased(); });
    connect(bar, &QAbstractSlider::valueChanged, this, [this](int value) { scrollBarValueChanged(value); });
    bar->installEventFilter(this);
    layoutGrid();
}

TDBGridEh::~TDBGridEh() = default;

TDataSource *TDBGridEh::DataSource() const
{
    return link_.DataSource();
}

void TDBGridEh::SetDataSource(TDataSource *dataSource)
{
    link_.SetDataSource(dataSource);
    layoutGrid();
}

TDataSet *TDBGridEh::activeDataSet() const
{
    return link_.Active() ? link_.DataSet() : nullptr;
}

TDataSet *TDBGridEh::linkedDataSet() const
{
    return link_.DataSet();
}

void TDBGridEh::SetOptions(TDBGridOptions options)
{
    options_ = options;
    layoutGrid();
}

void TDBGridEh::SetOptionsEh(TDBGridEhOptions options)
{
    optionsEh_ = options;
    layoutGrid();
}

void TDBGridEh::SetAutoFitColWidths(bool fit)
{
    autoFitColWidths_ = fit;
    layoutGrid();
}

void TDBGridEh::SetMinAutoFitWidth(int width)
{
    minAutoFitWidth_ = width;
    layoutGrid();
}

void TDBGridEh::SetTitleLines(int lines)
{
    titleLines_ = lines;
    layoutGrid();
}

void TDBGridEh::SetTitleHeight(int height)
{
    titleHeight_ = height;
    layoutGrid();
}

void TDBGridEh::SetFlat(bool flat)
{
    flat_ = flat;
    layoutGrid();
}

void TDBGridEh::SetTitleFont(const QFont &font)
{
    titleFont_ = font;
    layoutGrid();
}

QColor TDBGridEh::FixedColor() const
{
    return fixedColor_ ? *fixedColor_ : palette().color(QPalette::Button);
}

void TDBGridEh::SetFixedColor(const QColor &color)
{
    fixedColor_ = color;
    viewport()->update();
}

QColor TDBGridEh::Color() const
{
    return color_ ? *color_ : palette().color(QPalette::Base);
}

void TDBGridEh::SetColor(const QColor &color)
{
    color_ = color;
    viewport()->update();
}

void TDBGridEh::SetSelectedIndex(int index)
{
    const int count = int(Columns.Visible().size());
    index = std::clamp(index, 0, std::max(0, count - 1));
    if (index == selectedIndex_)
        return;
    selectedIndex_ = index;
    viewport()->update();
}

void TDBGridEh::Loaded()
{
    for (int i = 0; i < Columns.Count(); ++i)
        Columns[i]->InitWidth = Columns[i]->DeclaredWidth();
    layoutGrid();
}

// ---- geometry ----

namespace {

constexpr int rowPadding = 3;        // pixels a data row adds to its text height
constexpr int flatRowPadding = 1;    // the same for a flat grid
constexpr int titleFontPadding = 4;  // added to a title font's height when the tallest is chosen
constexpr int titlePadding = 2;      // pixels the title row adds to its lines of text

}  // namespace

int TDBGridEh::dataRowCount() const
{
    return std::max(1, link_.RecordCount());
}

int TDBGridEh::currentRow() const
{
    return link_.Active() ? link_.ActiveRecord() : 0;
}

void TDBGridEh::computeHeights()
{
    shape_.titles = options_.contains(dgTitles);
    shape_.indicator = options_.contains(dgIndicator);
    shape_.colLines = options_.contains(dgColLines);
    shape_.rowLines = options_.contains(dgRowLines);
    shape_.indicatorWidth = IndicatorWidth;
    shape_.rowHeight = cellMetrics(Font()).height() + (flat_ ? flatRowPadding : rowPadding) + rowLineWidth();

    QFont tallest = titleFont_;
    int tallestHeight = -1;
    for (const TColumnEh *column : Columns.Visible()) {
        const QFont font = column->Title.Font();
        const int height = cellMetrics(font).height() + titleFontPadding;
        if (height > tallestHeight) {
            tallestHeight = height;
            tallest = font;
        }
    }
    const CellMetrics titleMetrics = cellMetrics(tallest);
    shape_.titleRowHeight = std::max(1, titleLines_) * titleMetrics.height() + titleMetrics.externalLeading +
                            titleHeight_ + titlePadding + rowLineWidth();

    const GridGeometry rows = layOutGrid(shape_, {});
    const int clientHeight = std::max(0, height() - 2 * frameWidth());
    visibleRows_ = std::max(1, (clientHeight - rows.dataTop) / rows.rowPitch());
}

void TDBGridEh::fitWidths()
{
    if (!autoFitColWidths_)
        return;
    const std::vector<TColumnEh *> columns = Columns.Visible();
    std::vector<FitColumn> fit;
    fit.reserve(columns.size());
    for (TColumnEh *column : columns) {
        if (column->InitWidth < 0)
            column->InitWidth = column->DeclaredWidth();
        fit.push_back(
            {column->Width(), column->InitWidth, column->MinWidth, column->MaxWidth, column->AutoFitColWidth});
    }
    const bool barShown = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    const int clientWidth =
        std::max(0, width() - 2 * frameWidth() - (barShown ? verticalScrollBar()->sizeHint().width() : 0));
    const std::vector<int> widths = fitColumnWidths(fit, {clientWidth, minAutoFitWidth_, options_.contains(dgIndicator),
                                                          options_.contains(dgColLines), IndicatorWidth});
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i]->fittedWidth_ = widths[i];
}

void TDBGridEh::layoutGrid()
{
    if (laying_)
        return;
    QScopedValueRollback guard(laying_, true);
    computeHeights();
    link_.SetBufferCount(visibleRows_);
    for (int pass = 0; pass < 2; ++pass) {
        fitWidths();
        if (!updateScrollBar())
            break;
    }
    std::vector<int> widths;
    for (const TColumnEh *column : Columns.Visible())
        widths.push_back(column->Width());
    geometry_ = layOutGrid(shape_, widths);
    SetSelectedIndex(selectedIndex_);
    viewport()->update();
}

// Shows the proportional scroll bar from two records on; true when its visibility changed.
bool TDBGridEh::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const TDataSet *dataSet = activeDataSet();
    const int count = dataSet ? dataSet->RecordCount() : 0;
    const bool show = dataSet && count >= 2;
    if (dataSet) {
        const QSignalBlocker blocker(bar);
        bar->setRange(1, std::max(1, count));
        bar->setPageStep(visibleRows_);
        bar->setSingleStep(1);
        if (dataSet->State() != dsInsert && dataSet->RecNo() > 0)
            bar->setValue(dataSet->RecNo());
    }
    const bool shown = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    if (show == shown)
        return false;
    setVerticalScrollBarPolicy(show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    return true;
}

// ---- notifications of the data link ----

void TDBGridEh::linkActiveChanged()
{
    layoutGrid();
}

void TDBGridEh::linkDataChanged()
{
    if (updateScrollBar())
        layoutGrid();
    viewport()->update();
}

void TDBGridEh::linkScrolled(int)
{
    linkDataChanged();
}

void TDBGridEh::linkLayoutChanged()
{
    layoutGrid();
}

void TDBGridEh::linkRecordChanged(TField *)
{
    viewport()->update();
}

// ---- events ----

void TDBGridEh::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    GridPainter(*this, painter).paint(viewport()->rect());
}

void TDBGridEh::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutGrid();
}

void TDBGridEh::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        layoutGrid();
}

void TDBGridEh::scrollContentsBy(int, int)
{
    // The rows follow the dataset, not the scroll bar's value.
}

void TDBGridEh::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TDBGridEh::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    TDataSet *dataSet = activeDataSet();
    if (!dataSet || !options_.contains(dgCancelOnExit))
        return;
    try {
        if (dataSet->State() == dsInsert && !dataSet->Modified() && !link_.Modified())
            dataSet->Cancel();
    } catch (...) {
        setFocus();
        throw;
    }
}

bool TDBGridEh::event(QEvent *event)
{
    // Tab and Shift+Tab move between cells instead of leaving the grid.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && options_.contains(dgTabs) && link_.Active() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

}  // namespace vornak
