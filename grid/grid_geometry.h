#pragma once

#include <vector>

namespace vornak {

// Where the rows and columns of a grid lie on its viewport. The grid computes it once per layout
// from its options, heights and column widths; painting and hit tests only read it.
struct GridGeometry {
    int rowHeight = 0;       // a data row, its grid line not included
    int titleRowHeight = 0;  // the title row, its grid line not included
    int colLine = 0;         // width of a vertical grid line: 1 with dgColLines, else 0
    int rowLine = 0;         // height of a horizontal grid line: 1 with dgRowLines, else 0
    int dataTop = 0;         // top of the first data row: below the title row and its line
    int indicatorWidth = 0;  // 0 without an indicator column
    // Left edge of each visible column, and one more entry: the first pixel right of the last
    // column's line.
    std::vector<int> columnLefts{0};

    int rowPitch() const { return rowHeight + rowLine; }
    int columnCount() const { return int(columnLefts.size()) - 1; }
    // Left edge of a visible column; for an index past the last, the edge right of the last line.
    int columnLeft(int column) const;
    int columnWidth(int column) const { return columnLeft(column + 1) - columnLeft(column) - colLine; }
    // x of the grid line right of a column (its right edge when there are no column lines).
    int columnRight(int column) const { return columnLeft(column) + columnWidth(column); }
    // The visible column under x, or -1 for the indicator column and the area beyond the columns.
    int columnAt(int x) const;
    // The data row under y (counted from the first data row), or -1 above it.
    int rowAt(int y) const;
    int rowTop(int row) const { return dataTop + row * rowPitch(); }
};

struct GridShape {
    bool titles = false;
    bool indicator = false;
    bool colLines = false;
    bool rowLines = false;
    int indicatorWidth = 0;
    int rowHeight = 0;
    int titleRowHeight = 0;
};

// The geometry of a grid of the given shape whose visible columns have `widths`.
GridGeometry layOutGrid(const GridShape &shape, const std::vector<int> &widths);

}  // namespace vornak
