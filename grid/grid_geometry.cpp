// Grid geometry: the column edges are one running sum over the visible widths, each column
// followed by its grid line; the rows repeat at the row pitch below the title row.
#include "grid/grid_geometry.h"

#include <algorithm>

namespace vornak {

int GridGeometry::columnLeft(int column) const
{
    return columnLefts[std::clamp(column, 0, columnCount())];
}

int GridGeometry::columnAt(int x) const
{
    if (x < columnLefts.front())
        return -1;
    // The first left edge beyond x closes the column that holds x.
    const auto beyond = std::upper_bound(columnLefts.begin(), columnLefts.end(), x);
    if (beyond == columnLefts.end())
        return -1;
    return int(beyond - columnLefts.begin()) - 1;
}

int GridGeometry::rowAt(int y) const
{
    return y < dataTop ? -1 : (y - dataTop) / rowPitch();
}

GridGeometry layOutGrid(const GridShape &shape, const std::vector<int> &widths)
{
    GridGeometry geometry;
    geometry.rowHeight = shape.rowHeight;
    geometry.titleRowHeight = shape.titles ? shape.titleRowHeight : 0;
    geometry.colLine = shape.colLines ? 1 : 0;
    geometry.rowLine = shape.rowLines ? 1 : 0;
    geometry.dataTop = shape.titles ? shape.titleRowHeight + geometry.rowLine : 0;
    geometry.indicatorWidth = shape.indicator ? shape.indicatorWidth : 0;
    int left = shape.indicator ? shape.indicatorWidth + geometry.colLine : 0;
    geometry.columnLefts.assign(1, left);
    for (const int width : widths) {
        left += width + geometry.colLine;
        geometry.columnLefts.push_back(left);
    }
    return geometry;
}

}  // namespace vornak
