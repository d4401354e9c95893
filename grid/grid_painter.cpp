#include "grid/grid_painter.h"

#include "data/data_set.h"
#include "data/field.h"
#include "grid/cell_metrics.h"
#include "grid/db_grid_eh.h"
#include "grid/grid_geometry.h"
#include "grid/indicator_glyphs.h"

#include <QFontMetrics>
#include <QPainter>

namespace vornak {

namespace {

const QColor fixedLineColor(128, 128, 128);
const QColor silver(192, 192, 192);

constexpr int textLeftMargin = 2;   // left-aligned cell text starts this far right of the cell
constexpr int textRightMargin = 3;  // right-aligned cell text ends this far left of the cell's edge
constexpr int textTopMargin = 2;    // cell text starts this far below the cell's top
constexpr int captionMargin = 1;    // margin of a title caption on each side
constexpr int edgeWidth = 1;        // the raised 3-D edge of a fixed cell
constexpr int glyphBoxWidth = 11;   // the indicator glyph is centred in the rightmost pixels of its cell

// Breaks a caption at spaces into lines no wider than `width` (a single long word keeps its line).
QStringList wrapAtSpaces(const QFontMetrics &metrics, const QString &text, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(u' ')) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.append(line);
    return lines;
}

int alignedLeft(TAlignment alignment, int left, int width, int textWidth)
{
    switch (alignment) {
    case taLeftJustify:
        return left + textLeftMargin;
    case taRightJustify:
        return left + width - textWidth - textRightMargin;
    case taCenter:
        return left + width / 2 - textWidth / 2;
    }
    return left;
}

IndicatorGlyph glyphForState(TDataSetState state)
{
    switch (state) {
    case dsEdit:
        return IndicatorGlyph::Edit;
    case dsInsert:
        return IndicatorGlyph::Insert;
    default:
        return IndicatorGlyph::Arrow;
    }
}

}  // namespace

GridPainter::GridPainter(TDBGridEh &grid, QPainter &painter)
    : grid_(grid),
      geometry_(grid.cellGeometry()),
      painter_(painter)
{
}

void GridPainter::paint(const QRect &client)
{
    painter_.fillRect(client, grid_.Color());
    paintTitles();
    paintDataRows();
    paintExtendedLines(client, geometry_.rowTop(grid_.dataRowCount()));
    painter_.setPen(fixedLineColor);
    painter_.drawLines(fixedLines_);
    painter_.setPen(grid_.Color() == silver ? fixedLineColor : silver);
    painter_.drawLines(dataLines_);
    paintSizingLine(client);
}

// A cell of the title row or of the indicator column: button face with a raised edge.
void GridPainter::paintFixedCell(const QRect &cell)
{
    painter_.fillRect(cell, grid_.FixedColor());
    if (!grid_.OptionsEh().contains(dghFixed3D) || grid_.Flat() || cell.width() <= 0 || cell.height() <= 0)
        return;
    const QPalette &palette = grid_.palette();
    painter_.setPen(palette.color(QPalette::Light));
    painter_.drawLine(cell.left(), cell.top(), cell.right(), cell.top());
    painter_.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom());
    painter_.setPen(palette.color(QPalette::Dark));
    painter_.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    painter_.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
}

void GridPainter::paintTitles()
{
    if (!grid_.Options().contains(dgTitles))
        return;
    const int height = geometry_.titleRowHeight;
    const int lineBottom = height + geometry_.rowLine - 1;
    if (geometry_.indicatorWidth > 0) {
        paintFixedCell(QRect(0, 0, geometry_.indicatorWidth, height));
        if (geometry_.colLine)
            fixedLines_.append(QLine(geometry_.indicatorWidth, 0, geometry_.indicatorWidth, lineBottom));
    }
    const std::vector<TColumnEh *> columns = grid_.Columns.Visible();
    for (int c = 0; c < geometry_.columnCount(); ++c) {
        paintTitleCell(*columns[c], QRect(geometry_.columnLeft(c), 0, geometry_.columnWidth(c), height));
        if (geometry_.colLine)
            fixedLines_.append(QLine(geometry_.columnRight(c), 0, geometry_.columnRight(c), lineBottom));
    }
    const int right = geometry_.columnLeft(geometry_.columnCount());
    if (geometry_.rowLine && right > 0)
        fixedLines_.append(QLine(0, height, right - 1, height));
}

// The caption wrapped at spaces, the block centred vertically and cut at the cell's edge.
void GridPainter::paintTitleCell(const TColumnEh &column, const QRect &cell)
{
    paintFixedCell(cell);
    const bool edged = grid_.OptionsEh().contains(dghFixed3D) && !grid_.Flat();
    const QRect text = edged ? cell.adjusted(edgeWidth, edgeWidth, -edgeWidth, -edgeWidth) : cell;
    const QFont font = column.Title.Font();
    const QFontMetrics metrics(font);
    const QStringList lines = wrapAtSpaces(metrics, column.Title.Caption(), cell.width() - 2 * captionMargin);
    const CellMetrics fontCell = cellMetrics(font);
    const int lineHeight = fontCell.height();
    int y = text.top() + std::max(0, (text.height() - int(lines.size()) * lineHeight) / 2);
    painter_.save();
    painter_.setClipRect(text);
    painter_.setFont(font);
    painter_.setPen(grid_.palette().color(QPalette::WindowText));
    for (const QString &line : lines) {
        const int lineWidth = metrics.horizontalAdvance(line);
        int x = text.left() + captionMargin;
        if (column.Title.Alignment == taRightJustify)
            x = text.left() + text.width() - captionMargin - lineWidth;
        else if (column.Title.Alignment == taCenter)
            x = text.left() + (text.width() - lineWidth) / 2;
        painter_.drawText(x, y + fontCell.ascent, line);
        y += lineHeight;
    }
    painter_.restore();
}

void GridPainter::paintDataRows()
{
    TGridDataLinkEh &link = grid_.DataLink();
    TDataSet *dataSet = grid_.activeDataSet();
    const std::vector<TColumnEh *> columns = grid_.Columns.Visible();
    std::vector<const TField *> fields;
    std::vector<TAlignment> alignments;
    for (const TColumnEh *column : columns) {
        fields.push_back(column->Field());
        alignments.push_back(column->Alignment());
    }

    const bool focused = grid_.hasFocus();
    const QPalette &palette = grid_.palette();
    const CellStyle style{palette.color(QPalette::Text),
                          grid_.Color(),
                          palette.color(QPalette::HighlightedText),
                          focused ? palette.color(QPalette::Highlight) : palette.color(QPalette::Dark),
                          grid_.Options().contains(dgAlwaysShowSelection) ||
                              (focused && grid_.OptionsEh().contains(dghHighlightFocus)),
                          QFontMetrics(grid_.Font()),
                          cellMetrics(grid_.Font()).ascent};
    painter_.setFont(grid_.Font());

    const int records = dataSet ? link.RecordCount() : 0;
    const int current = grid_.currentRow();
    const int firstLeft = geometry_.columnLeft(0);
    const int right = geometry_.columnLeft(geometry_.columnCount());
    const int savedRecord = dataSet ? dataSet->ActiveRecord() : 0;
    QRect currentCell;
    std::optional<CellStyle> ownStyle;  // a row's own style, when the grid's owner gives it one
    for (int row = 0; row < grid_.dataRowCount(); ++row) {
        const int top = geometry_.rowTop(row);
        const bool hasRecord = row < records;
        if (hasRecord)
            link.SetActiveRecord(row);
        paintIndicatorCell(row, hasRecord && row == current);
        const CellStyle &rowStyle = hasRecord && grid_.OnRowText ? ownRowStyle(style, ownStyle) : style;
        for (int c = 0; c < geometry_.columnCount(); ++c) {
            const QRect cell(geometry_.columnLeft(c), top, geometry_.columnWidth(c), geometry_.rowHeight);
            const bool isCurrent = hasRecord && row == current && c == grid_.SelectedIndex();
            if (isCurrent)
                currentCell = cell;
            paintDataCell(cell, hasRecord ? fields[c] : nullptr, alignments[c], isCurrent, rowStyle);
            if (geometry_.colLine)
                dataLines_.append(
                    QLine(geometry_.columnRight(c), top, geometry_.columnRight(c), top + geometry_.rowPitch() - 1));
        }
        if (geometry_.rowLine && right > firstLeft)
            dataLines_.append(QLine(firstLeft, top + geometry_.rowHeight, right - 1, top + geometry_.rowHeight));
    }
    if (dataSet)
        dataSet->SetActiveRecord(savedRecord);
    if (focused && currentCell.isValid())
        paintFocusRect(currentCell);
}

// The style of the active record's row as the grid's owner has it: the text colour and font it
// sets, kept in `slot`; the painter's font follows.
const GridPainter::CellStyle &GridPainter::ownRowStyle(const CellStyle &style, std::optional<CellStyle> &slot)
{
    QColor text = style.text;
    QFont font = grid_.Font();
    grid_.OnRowText(&grid_, text, font);
    slot.emplace(style);
    slot->text = text;
    if (font != grid_.Font()) {
        slot->metrics = QFontMetrics(font);
        slot->ascent = cellMetrics(font).ascent;
    }
    painter_.setFont(font);
    return *slot;
}

// The indicator cell of a data row, with the glyph of the dataset's state in the current row.
void GridPainter::paintIndicatorCell(int row, bool current)
{
    const int width = geometry_.indicatorWidth;
    if (width <= 0)
        return;
    const int top = geometry_.rowTop(row);
    paintFixedCell(QRect(0, top, width, geometry_.rowHeight));
    if (current) {
        const QImage &glyph = indicatorGlyph(glyphForState(grid_.activeDataSet()->State()));
        painter_.drawImage(width - glyphBoxWidth + (glyphBoxWidth - glyph.width()) / 2,
                           top + (geometry_.rowHeight - glyph.height()) / 2, glyph);
    }
    if (geometry_.colLine)
        fixedLines_.append(QLine(width, top, width, top + geometry_.rowPitch() - 1));
    if (geometry_.rowLine)
        fixedLines_.append(QLine(0, top + geometry_.rowHeight, width - 1, top + geometry_.rowHeight));
}

// A data cell: its fill (highlighted when current) and the field's text on one line, clipped.
void GridPainter::paintDataCell(const QRect &cell, const TField *field, TAlignment alignment, bool current,
                                const CellStyle &style)
{
    const bool highlighted = current && style.highlight;
    painter_.fillRect(cell, highlighted ? style.highlightBack : style.back);
    if (!field || cell.width() <= 0)
        return;
    const QString text = field->DisplayText();
    const int textWidth = style.metrics.horizontalAdvance(text);
    const int x = alignedLeft(alignment, cell.left(), cell.width(), textWidth);
    const int baseline = cell.top() + textTopMargin + style.ascent;
    painter_.setPen(highlighted ? style.highlightText : style.text);
    if (x < cell.left() || x + textWidth > cell.left() + cell.width()) {
        painter_.save();
        painter_.setClipRect(cell);
        painter_.drawText(x, baseline, text);
        painter_.restore();
    } else {
        painter_.drawText(x, baseline, text);
    }
}

void GridPainter::paintExtendedLines(const QRect &client, int rowsBottom)
{
    if (!grid_.OptionsEh().contains(dghExtendVertLines) || !geometry_.colLine || rowsBottom > client.bottom())
        return;
    for (int c = 0; c < geometry_.columnCount(); ++c)
        dataLines_.append(QLine(geometry_.columnRight(c), rowsBottom, geometry_.columnRight(c), client.bottom()));
}

// The dotted focus rectangle, drawn by inverting every other pixel of the cell's outline.
void GridPainter::paintFocusRect(const QRect &cell)
{
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(255, 255, 255);
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            painter_.fillRect(x, y, 1, 1, white);
    };
    for (int x = cell.left(); x <= cell.right(); ++x) {
        dot(x, cell.top());
        dot(x, cell.bottom());
    }
    for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
        dot(cell.left(), y);
        dot(cell.right(), y);
    }
    painter_.restore();
}

void GridPainter::paintSizingLine(const QRect &client)
{
    if (grid_.dragLine_ < 0)
        return;
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_.fillRect(QRect(grid_.dragLine_, client.top(), 1, client.height()), QColor(255, 255, 255));
    painter_.restore();
}

}  // namespace vornak
