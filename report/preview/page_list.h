#pragma once

// Where the preview puts its pages: one item per prepared page at the current zoom, placed in
// centred rows in a plane that the page area scrolls over. Computed apart from painting, so that
// painting, scrolling and the hit test all read the same positions.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace vornak {

// Pixel distances of the layout.
inline constexpr int pageGap = 10;          // between pages, rows and around the plane
inline constexpr int layoutAllowance = 26;  // taken from the page area's width besides the scroll bar
inline constexpr QSize emptyA4Page{794, 1123};

struct TfrxPageListItem {
    int Width = 0;
    int Height = 0;
    int OffsetX = 0;
    int OffsetY = 0;

    QRect rect() const { return QRect(OffsetX, OffsetY, Width, Height); }
};

class TfrxPageList {
public:
    // Sizes of pages at zoom 1 (whole pixels) scaled to `zoom` and placed in rows no wider than
    // `clientWidth` (a row holds at least one page).
    void Layout(const std::vector<QSize> &pageSizes, double zoom, int clientWidth);
    void Clear();

    int Count() const { return int(items_.size()); }
    const TfrxPageListItem &Items(int index) const { return items_[size_t(index)]; }
    int MaxRowWidth() const { return maxRowWidth_; }
    // Horizontal: the widest row + 10; vertical: the last page's bottom + 10.
    QSize ScrollRange() const;

    // The page's rectangle in the plane; for an index outside the list an empty A4 page at the
    // zoom, centred in the client width (10 from the left when it does not fit).
    QRect PageRect(int index) const;

    // The page at a position of the plane. With only a y (the top of the view) a page counts once
    // its top is within a fifth of its height below y; with an x as well the pages around the
    // binary search's result are tested for containing the point. 0 for an empty list.
    int FindPage(int offsetY, std::optional<int> offsetX = std::nullopt) const;

private:
    std::vector<TfrxPageListItem> items_;
    int maxRowWidth_ = 0;
    double zoom_ = 1;
    int clientWidth_ = 0;
};

}  // namespace vornak
