#pragma once

#include "data/data_types.h"

#include <QColor>
#include <QFontMetrics>
#include <QLine>
#include <QRect>
#include <QVector>

#include <optional>

class QPainter;

namespace vornak {

class TColumnEh;
class TDBGridEh;
class TField;
struct GridGeometry;

// Draws a grid onto a painter: the title row, the indicator column, the data cells with the
// current cell's highlight, the grid lines and the empty area below the rows. Every position
// comes from the grid's geometry, computed once per layout.
class GridPainter {
public:
    GridPainter(TDBGridEh &grid, QPainter &painter);

    void paint(const QRect &client);

private:
    // The colours and font of the data cells, read once per paint.
    struct CellStyle {
        QColor text;
        QColor back;
        QColor highlightText;
        QColor highlightBack;
        bool highlight = false;  // the current cell is highlighted
        QFontMetrics metrics;
        int ascent = 0;
    };

    void paintFixedCell(const QRect &cell);
    void paintTitles();
    void paintTitleCell(const TColumnEh &column, const QRect &cell);
    void paintDataRows();
    const CellStyle &ownRowStyle(const CellStyle &style, std::optional<CellStyle> &slot);
    void paintIndicatorCell(int row, bool current);
    void paintDataCell(const QRect &cell, const TField *field, TAlignment alignment, bool current,
                       const CellStyle &style);
    void paintExtendedLines(const QRect &client, int rowsBottom);
    void paintFocusRect(const QRect &cell);
    void paintSizingLine(const QRect &client);

    TDBGridEh &grid_;
    const GridGeometry &geometry_;
    QPainter &painter_;
    QVector<QLine> fixedLines_;
    QVector<QLine> dataLines_;
};

}  // namespace vornak
