#include "grid/width_fitting.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vornak {

int mulDivRounded(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const std::int64_t product = std::int64_t(a) * b;
    const std::int64_t magnitude = (std::llabs(product) * 2 + std::llabs(c)) / (std::int64_t(std::llabs(c)) * 2);
    return int((product < 0) != (c < 0) ? -magnitude : magnitude);
}

namespace {

int clampToBounds(int width, const FitColumn &column)
{
    if (column.maxWidth > 0)
        width = std::min(width, column.maxWidth);
    if (column.minWidth > 0)
        width = std::max(width, column.minWidth);
    return width;
}

}  // namespace

std::vector<int> fitColumnWidths(const std::vector<FitColumn> &columns, const FitFrame &frame)
{
    const int count = int(columns.size());
    std::vector<int> widths(count);
    std::vector<bool> inRange(count, true);
    for (int i = 0; i < count; ++i)
        widths[i] = columns[i].width;
    auto fitting = [&](int i) { return columns[i].autoFit && inRange[i]; };

    int available = 0;
    int total = 0;
    for (int pass = 0; pass < count; ++pass) {
        int weights = 0;
        int fixed = 0;
        for (int i = 0; i < count; ++i) {
            if (fitting(i))
                weights += columns[i].initWidth;
            else
                fixed += widths[i];
        }
        available = std::max(0, std::max(frame.clientWidth, frame.minAutoFitWidth) - fixed);
        if (frame.indicator)
            available -= frame.indicatorWidth;
        if (frame.colLines)
            available -= count + (frame.indicator ? 1 : 0);
        available = std::max(0, available);  // a narrow grid gives 0, never a negative width
        total = 0;
        bool clamped = false;
        for (int i = 0; i < count; ++i) {
            if (!fitting(i))
                continue;
            const int computed = mulDivRounded(columns[i].initWidth, available, weights);
            widths[i] = clampToBounds(computed, columns[i]);
            if (widths[i] != computed) {
                inRange[i] = false;
                clamped = true;
            }
            total += widths[i];
        }
        if (!clamped)
            break;
    }
    if (total != available) {
        for (int i = count - 1; i >= 0; --i) {
            if (fitting(i)) {
                widths[i] = std::max(0, widths[i] + available - total);
                break;
            }
        }
    }
    return widths;
}

void resizeFitWeights(std::vector<int> &initWidths, int index, int oldWidth, int newWidth)
{
    if (index < 0 || index >= int(initWidths.size()) || oldWidth <= 0)
        return;
    const int oldWeight = initWidths[index];
    initWidths[index] = mulDivRounded(oldWeight, newWidth, oldWidth);
    if (index + 1 < int(initWidths.size()))
        initWidths[index + 1] = std::max(0, initWidths[index + 1] + oldWeight - initWidths[index]);
}

}  // namespace vornak
