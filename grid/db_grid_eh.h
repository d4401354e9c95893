#pragma once

#include "grid/column_eh.h"
#include "grid/grid_data_link_eh.h"
#include "grid/grid_geometry.h"
#include "grid/grid_options.h"

#include <functional>
#include <optional>
#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPoint>

namespace vornak {

class TDataSet;
class TDataSource;
class TField;

// A read-only grid showing the records of one data source as rows and its columns as cells. It
// draws everything itself on its viewport; the vertical scroll bar is proportional to the
// records of the dataset.
class TDBGridEh : public QAbstractScrollArea {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TDBGridEh *sender)>;

    static constexpr int IndicatorWidth = 11;
    static constexpr int DefaultColWidth = 64;

    explicit TDBGridEh(QWidget *parent = nullptr);
    ~TDBGridEh() override;

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *dataSource);
    TGridDataLinkEh &DataLink() { return link_; }
    const TGridDataLinkEh &DataLink() const { return link_; }
    // The link's dataset while the link is active; nothing otherwise.
    TDataSet *activeDataSet() const;
    // The linked dataset, open or not (its persistent fields exist while it is closed).
    TDataSet *linkedDataSet() const;

    TDBGridColumnsEh Columns{this};

    TDBGridOptions Options() const { return options_; }
    void SetOptions(TDBGridOptions options);
    TDBGridEhOptions OptionsEh() const { return optionsEh_; }
    void SetOptionsEh(TDBGridEhOptions options);
    TDBGridEhAllowedOperations AllowedOperations = allGridOperations;

    bool AutoFitColWidths() const { return autoFitColWidths_; }
    void SetAutoFitColWidths(bool fit);
    int MinAutoFitWidth() const { return minAutoFitWidth_; }
    void SetMinAutoFitWidth(int width);
    int TitleLines() const { return titleLines_; }
    void SetTitleLines(int lines);
    int TitleHeight() const { return titleHeight_; }
    void SetTitleHeight(int height);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    QFont Font() const { return font(); }
    void SetFont(const QFont &font) { setFont(font); }
    QFont TitleFont() const { return titleFont_; }
    void SetTitleFont(const QFont &font);
    QColor FixedColor() const;
    void SetFixedColor(const QColor &color);
    QColor Color() const;
    void SetColor(const QColor &color);
    bool ReadOnly = false;

    // The current column among the visible columns.
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);

    TNotifyEvent OnDblClick;
    // Called while a data row is painted, with the row's record active in the dataset: the owner
    // may change the colour and the font of the row's text (the highlight of the current cell
    // keeps its own text colour).
    using TRowTextEvent = std::function<void(TDBGridEh *sender, QColor &text, QFont &font)>;
    TRowTextEvent OnRowText;

    // Called once the grid's window has been built: every column's fit weight becomes its declared
    // width, or its default width at that moment (64 while no field is bound).
    void Loaded();

    // Geometry, computed once per layout: height of a data row and of the title row (their grid
    // lines not included), the number of fully visible data rows, and the left edge of a visible
    // column.
    const GridGeometry &cellGeometry() const { return geometry_; }
    int RowHeight() const { return geometry_.rowHeight; }
    int titleRowHeight() const { return geometry_.titleRowHeight; }
    int visibleDataRowCount() const { return visibleRows_; }
    int columnLeft(int visibleIndex) const { return geometry_.columnLeft(visibleIndex); }
    int dataTop() const { return geometry_.dataTop; }
    int rowPitch() const { return geometry_.rowPitch(); }
    int colLineWidth() const { return options_.contains(dgColLines) ? 1 : 0; }
    int rowLineWidth() const { return options_.contains(dgRowLines) ? 1 : 0; }
    // The number of data rows drawn: the link's records, at least one.
    int dataRowCount() const;
    // The data row of the current record.
    int currentRow() const;

    // Searches the dataset for `text` (see the find dialog); true when a record was found.
    bool LocateText(const QString &fieldName, const QString &text, TLocateTextMatchTypeEh matchType,
                    TLocateTextDirectionEh direction, TLocateTextOptionsEh options);
    bool IsFindDialogShowAsModal() const { return true; }

    // Redoes the layout: row heights, the number of data rows, the scroll bar and the widths.
    void layoutGrid();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class GridPainter;
    friend class TGridDataLinkEh;

    // Notifications of the data link.
    void linkActiveChanged();
    void linkDataChanged();
    void linkScrolled(int distance);
    void linkLayoutChanged();
    void linkRecordChanged(TField *field);

    void computeHeights();
    void fitWidths();
    bool updateScrollBar();
    void scrollBarAction(int action);
    void scrollBarReleased();
    void scrollBarValueChanged(int value);
    // Makes the record at a scroll bar position current: the first at 1 or less, the last at the
    // record count or beyond.
    void moveToPosition(int position);
    // Puts the thumb on the current record.
    void showCurrentOnScrollBar();

    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void moveBy(int distance);
    void moveColumn(int index);
    void tabColumn(bool forward);
    void deleteRecord();
    void openFindDialog();

    // Column whose right title border lies under x, or -1.
    int resizeBorderAt(const QPoint &pos) const;
    void finishColumnResize(int x);
    void finishColumnMove(int x);
    // Where a title dragged to x would land: the visible column under x, or -1.
    int moveTarget(int x) const;

    TGridDataLinkEh link_{*this};
    TDBGridOptions options_ = defaultGridOptions;
    TDBGridEhOptions optionsEh_ = defaultGridOptionsEh;
    bool autoFitColWidths_ = false;
    int minAutoFitWidth_ = 0;
    int titleLines_ = 0;
    int titleHeight_ = 0;
    bool flat_ = false;
    QFont titleFont_;
    std::optional<QColor> fixedColor_;
    std::optional<QColor> color_;
    int selectedIndex_ = 0;

    GridShape shape_;
    GridGeometry geometry_;
    int visibleRows_ = 1;
    bool laying_ = false;

    int sizingColumn_ = -1;  // column whose border is being dragged
    int sizingOffset_ = 0;   // where the border was pressed, relative to the border
    int movingColumn_ = -1;  // column whose title is pressed (it moves once dragged)
    QPoint movePress_;
    int dragLine_ = -1;  // x of the feedback line of a resize or a move
    bool thumbTracked_ = false;
    int wheelDelta_ = 0;  // wheel movement not yet amounting to a notch
};

}  // namespace vornak
