#include "grid/grid_geometry.h"

#include <gtest/gtest.h>

namespace vornak {
namespace {

// A list grid: indicator 11 wide, lines, title row 35 high, rows 20 high; columns 100, 0 and 50.
const GridGeometry list = layOutGrid({true, true, true, true, 11, 20, 35}, {100, 0, 50});
// The vehicle selector: no titles, no indicator, no column lines; one column 200 wide.
const GridGeometry selector = layOutGrid({false, false, false, true, 11, 20, 35}, {200});

TEST(GridGeometry, ColumnEdgesFollowTheIndicatorAndTheLines)
{
    EXPECT_EQ(list.columnLefts, (std::vector<int>{12, 113, 114, 165}));
    EXPECT_EQ(list.columnRight(0), 112);
    EXPECT_EQ(list.columnWidth(1), 0);
    EXPECT_EQ(list.columnLeft(7), 165) << "past the last column";
    EXPECT_EQ(list.dataTop, 36);
    EXPECT_EQ(list.rowPitch(), 21);
    EXPECT_EQ(selector.columnLefts, (std::vector<int>{0, 200}));
    EXPECT_EQ(selector.dataTop, 0);
}

TEST(GridGeometry, HitTests)
{
    const struct {
        const GridGeometry &geometry;
        int x;
        int column;
    } columns[] = {
        {list, 0, -1},
        {list, 11, -1},
        {list, 12, 0},
        {list, 112, 0},
        {list, 113, 1} /* the line of the empty column */,
        {list, 164, 2},
        {list, 165, -1},
        {selector, 0, 0},
        {selector, 199, 0},
        {selector, 200, -1},
    };
    for (const auto &c : columns)
        EXPECT_EQ(c.geometry.columnAt(c.x), c.column) << c.x;

    const int rows[][2] = {{0, -1}, {35, -1}, {36, 0}, {56, 0}, {57, 1}};
    for (const auto &[y, row] : rows)
        EXPECT_EQ(list.rowAt(y), row) << y;
}

}  // namespace
}  // namespace vornak
