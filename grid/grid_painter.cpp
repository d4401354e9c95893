#include "grid/grid_painter.h"

#include "data/data_set.h"
#include "data/field.h"
#include "grid/cell_metrics.h"
#include "grid/db_grid_eh.h"
#include "grid/indicator_glyphs.h"

#include <QFontMetrics>
#include <QPainter>

namespace vornak {

namespace {

const QColor fixedLineColor(128, 128, 128);
const QColor silver(192, 192, 192);

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
    case taLeftJustify: return left + 2;
    case taRightJustify: return left + width - textWidth - 3;
    case taCenter: return left + width / 2 - textWidth / 2;
    }
    return left;
}

IndicatorGlyph glyphForState(TDataSetState state)
{
    switch (state) {
    case dsEdit: return IndicatorGlyph::Edit;
    case dsInsert: return IndicatorGlyph::Insert;
    default: return IndicatorGlyph::Arrow;
    }
}

} // namespace

void GridPainter::Paint(const QRect &client)
{
    painter_.fillRect(client, grid_.Color());
    PaintTitles();
    PaintDataRows();
    const int rowsBottom = grid_.DataTop() + grid_.DataRowCount() * grid_.RowPitch();
    PaintExtendedLines(client, rowsBottom);
    painter_.setPen(fixedLineColor);
    painter_.drawLines(fixedLines_);
    painter_.setPen(grid_.Color() == silver ? fixedLineColor : silver);
    painter_.drawLines(dataLines_);
    PaintSizingLine(client);
}

// A cell of the title row or of the indicator column: button face with a raised edge.
void GridPainter::PaintFixedCell(const QRect &cell)
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

void GridPainter::PaintTitles()
{
    if (!grid_.Options().contains(dgTitles))
        return;
    const int height = grid_.TitleRowHeight();
    const int colLine = grid_.colLineWidth();
    const int rowLine = grid_.rowLineWidth();
    int right = 0;
    if (grid_.Options().contains(dgIndicator)) {
        PaintFixedCell(QRect(0, 0, TDBGridEh::IndicatorWidth, height));
        right = TDBGridEh::IndicatorWidth;
        if (colLine)
            fixedLines_.append(QLine(right, 0, right, height + rowLine - 1));
        right += colLine;
    }
    const std::vector<TColumnEh *> columns = grid_.Columns.Visible();
    const bool edged = grid_.OptionsEh().contains(dghFixed3D) && !grid_.Flat();
    for (const TColumnEh *column : columns) {
        const int width = column->Width();
        const QRect cell(right, 0, width, height);
        PaintFixedCell(cell);
        const QRect text = edged ? cell.adjusted(1, 1, -1, -1) : cell;
        const QFont font = column->Title.Font();
        const QFontMetrics metrics(font);
        const QStringList lines = wrapAtSpaces(metrics, column->Title.Caption(), width - 2);
        const CellMetrics fontCell = cellMetrics(font);
        const int lineHeight = fontCell.height();
        int y = text.top() + std::max(0, (text.height() - int(lines.size()) * lineHeight) / 2);
        painter_.save();
        painter_.setClipRect(text);
        painter_.setFont(font);
        painter_.setPen(grid_.palette().color(QPalette::WindowText));
        for (const QString &line : lines) {
            const int lineWidth = metrics.horizontalAdvance(line);
            int x = text.left() + 1;
            if (column->Title.Alignment == taRightJustify)
                x = text.left() + text.width() - 1 - lineWidth;
            else if (column->Title.Alignment == taCenter)
                x = text.left() + (text.width() - lineWidth) / 2;
            painter_.drawText(x, y + fontCell.ascent, line);
            y += lineHeight;
        }
        painter_.restore();
        right += width;
        if (colLine)
            fixedLines_.append(QLine(right, 0, right, height + rowLine - 1));
        right += colLine;
    }
    if (rowLine && right > 0)
        fixedLines_.append(QLine(0, height, right - 1, height));
}

void GridPainter::PaintDataRows()
{
    TGridDataLinkEh &link = grid_.DataLink();
    TDataSet *dataSet = grid_.ActiveDataSet();
    const std::vector<TColumnEh *> columns = grid_.Columns.Visible();
    std::vector<const TField *> fields;
    std::vector<TAlignment> alignments;
    for (const TColumnEh *column : columns) {
        fields.push_back(column->Field());
        alignments.push_back(column->Alignment());
    }

    const int rows = grid_.DataRowCount();
    const int records = dataSet ? link.RecordCount() : 0;
    const int current = grid_.CurrentRow();
    const int rowHeight = grid_.RowHeight();
    const int pitch = grid_.RowPitch();
    const int colLine = grid_.colLineWidth();
    const int rowLine = grid_.rowLineWidth();
    const bool indicator = grid_.Options().contains(dgIndicator);
    const int firstLeft = indicator ? TDBGridEh::IndicatorWidth + colLine : 0;

    const bool focused = grid_.hasFocus();
    const bool alwaysShow = grid_.Options().contains(dgAlwaysShowSelection);
    const bool highlight = alwaysShow || (focused && grid_.OptionsEh().contains(dghHighlightFocus));
    const QPalette &palette = grid_.palette();
    const QColor textColor = palette.color(QPalette::Text);
    const QColor highlightText = palette.color(QPalette::HighlightedText);
    const QColor highlightBack = focused ? palette.color(QPalette::Highlight) : palette.color(QPalette::Dark);
    const QColor cellColor = grid_.Color();
    const QFontMetrics metrics(grid_.Font());
    const int ascent = cellMetrics(grid_.Font()).ascent;
    painter_.setFont(grid_.Font());
    painter_.setPen(textColor);

    const int savedRecord = dataSet ? dataSet->ActiveRecord() : 0;
    QRect currentCell;
    for (int row = 0; row < rows; ++row) {
        const int top = grid_.DataTop() + row * pitch;
        const bool hasRecord = row < records;
        if (hasRecord)
            link.SetActiveRecord(row);
        int left = 0;
        if (indicator) {
            PaintFixedCell(QRect(0, top, TDBGridEh::IndicatorWidth, rowHeight));
            painter_.setPen(textColor);
            if (hasRecord && row == current) {
                const QImage &glyph = indicatorGlyph(glyphForState(dataSet->State()));
                painter_.drawImage(TDBGridEh::IndicatorWidth - 11 + (11 - glyph.width()) / 2,
                                   top + (rowHeight - glyph.height()) / 2, glyph);
            }
            left = TDBGridEh::IndicatorWidth;
            if (colLine)
                fixedLines_.append(QLine(left, top, left, top + rowHeight + rowLine - 1));
            if (rowLine)
                fixedLines_.append(QLine(0, top + rowHeight, left - 1, top + rowHeight));
            left += colLine;
        }
        for (size_t c = 0; c < columns.size(); ++c) {
            const int width = columns[c]->Width();
            const QRect cell(left, top, width, rowHeight);
            const bool isCurrent = hasRecord && row == current && int(c) == grid_.SelectedIndex();
            if (isCurrent && highlight) {
                painter_.fillRect(cell, highlightBack);
                painter_.setPen(highlightText);
            } else {
                painter_.fillRect(cell, cellColor);
            }
            if (isCurrent)
                currentCell = cell;
            if (hasRecord && fields[c] && width > 0) {
                const QString text = fields[c]->DisplayText();
                const int textWidth = metrics.horizontalAdvance(text);
                const int x = alignedLeft(alignments[c], left, width, textWidth);
                if (x < left || x + textWidth > left + width) {
                    painter_.save();
                    painter_.setClipRect(cell);
                    painter_.drawText(x, top + 2 + ascent, text);
                    painter_.restore();
                } else {
                    painter_.drawText(x, top + 2 + ascent, text);
                }
            }
            if (isCurrent && highlight)
                painter_.setPen(textColor);
            left += width;
            if (colLine)
                dataLines_.append(QLine(left, top, left, top + rowHeight + rowLine - 1));
            left += colLine;
        }
        if (rowLine && left > firstLeft)
            dataLines_.append(QLine(firstLeft, top + rowHeight, left - 1, top + rowHeight));
    }
    if (dataSet)
        dataSet->SetActiveRecord(savedRecord);
    if (focused && currentCell.isValid())
        PaintFocusRect(currentCell);
}

void GridPainter::PaintExtendedLines(const QRect &client, int rowsBottom)
{
    if (!grid_.OptionsEh().contains(dghExtendVertLines) || !grid_.colLineWidth() || rowsBottom > client.bottom())
        return;
    const std::vector<TColumnEh *> columns = grid_.Columns.Visible();
    for (int i = 0; i < int(columns.size()); ++i) {
        const int x = grid_.ColumnLeft(i + 1) - 1;
        dataLines_.append(QLine(x, rowsBottom, x, client.bottom()));
    }
}

// The dotted focus rectangle, drawn by inverting every other pixel of the cell's outline.
void GridPainter::PaintFocusRect(const QRect &cell)
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

void GridPainter::PaintSizingLine(const QRect &client)
{
    if (grid_.dragLine_ < 0)
        return;
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_.fillRect(QRect(grid_.dragLine_, client.top(), 1, client.height()), QColor(255, 255, 255));
    painter_.restore();
}

} // namespace vornak
