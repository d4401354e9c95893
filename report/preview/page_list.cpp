// The preview's page layout. Pages are taken in order into a row while the row is empty or the
// next page still fits the client width; a finished row is centred by shifting its pages right,
// and the next row starts below its tallest page. Finding a page is a binary search over the
// rows' tops, refined around the result by a rectangle test when a mouse x is known.

#include "report/preview/page_list.h"

#include "report/draw/view_geometry.h"

#include <algorithm>

namespace vornak {

namespace {

constexpr int hitTestReach = 20;  // pages tested on each side of the search result

}  // namespace

void TfrxPageList::Clear()
{
    items_.clear();
    maxRowWidth_ = 0;
}

void TfrxPageList::Layout(const std::vector<QSize> &pageSizes, double zoom, int clientWidth)
{
    zoom_ = zoom;
    clientWidth_ = clientWidth;
    items_.assign(pageSizes.size(), {});
    maxRowWidth_ = 0;
    for (size_t i = 0; i < pageSizes.size(); ++i) {
        items_[i].Width = frxRound(zoom * pageSizes[i].width());
        items_[i].Height = frxRound(zoom * pageSizes[i].height());
    }

    int rowY = pageGap;
    size_t first = 0;
    while (first < items_.size()) {
        int running = 0, rowHeight = 0;
        size_t next = first;
        while (next < items_.size() && (next == first || running + items_[next].Width <= clientWidth)) {
            items_[next].OffsetX = running;
            items_[next].OffsetY = rowY;
            running += items_[next].Width + pageGap;
            rowHeight = std::max(rowHeight, items_[next].Height);
            ++next;
        }
        const int quotient = (clientWidth - running + pageGap) / 2;
        const int shift = quotient < 0 ? pageGap : quotient + pageGap;
        for (size_t i = first; i < next; ++i)
            items_[i].OffsetX += shift;
        maxRowWidth_ = std::max(maxRowWidth_, running);
        rowY += rowHeight + pageGap;
        first = next;
    }
}

QSize TfrxPageList::ScrollRange() const
{
    if (items_.empty())
        return QSize(0, 0);
    const TfrxPageListItem &last = items_.back();
    return QSize(maxRowWidth_ + pageGap, last.OffsetY + last.Height + pageGap);
}

QRect TfrxPageList::PageRect(int index) const
{
    if (index >= 0 && index < Count())
        return items_[size_t(index)].rect();
    const int width = frxRound(emptyA4Page.width() * zoom_);
    const int height = frxRound(emptyA4Page.height() * zoom_);
    const int centred = (clientWidth_ - width) / 2;
    return QRect(centred < 0 ? pageGap : centred, frxRound(pageGap * zoom_), width, height);
}

int TfrxPageList::FindPage(int offsetY, std::optional<int> offsetX) const
{
    int low = 0, high = Count() - 1, found = 0;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const TfrxPageListItem &probe = items_[size_t(middle)];
        const int y = offsetX ? offsetY : offsetY + frxRound(probe.Height / 5.0);
        if (probe.OffsetY <= y) {
            found = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    if (offsetX) {
        const QPoint point(*offsetX, offsetY);
        const int last = std::min(Count() - 1, found + hitTestReach);
        for (int i = std::max(0, found - hitTestReach); i <= last; ++i)
            if (items_[size_t(i)].rect().contains(point))
                return i;
    }
    return found;
}

}  // namespace vornak
