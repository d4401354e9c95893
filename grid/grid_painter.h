#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QVector>

class QPainter;

namespace vornak {

class TDBGridEh;

// Draws a grid onto a painter: the title row, the indicator column, the data cells with the
// current cell's highlight, the grid lines and the empty area below the rows.
class GridPainter {
public:
    GridPainter(TDBGridEh &grid, QPainter &painter) : grid_(grid), painter_(painter) {}

    void Paint(const QRect &client);

private:
    void PaintFixedCell(const QRect &cell);
    void PaintTitles();
    void PaintDataRows();
    void PaintExtendedLines(const QRect &client, int rowsBottom);
    void PaintFocusRect(const QRect &cell);
    void PaintSizingLine(const QRect &client);

    TDBGridEh &grid_;
    QPainter &painter_;
    QVector<QLine> fixedLines_;
    QVector<QLine> dataLines_;
};

} // namespace vornak
