#pragma once

#include <vector>

namespace vornak {

// a × b ÷ c taken to the nearest integer, halves away from zero; 0 when c is 0.
int mulDivRounded(int a, int b, int c);

// One visible column as width fitting sees it.
struct FitColumn {
    int width = 0;      // current width (kept by columns that do not fit)
    int initWidth = 0;  // fit weight
    int minWidth = 0;   // a positive value bounds the width
    int maxWidth = 0;
    bool autoFit = true;
};

// The grid around the columns.
struct FitFrame {
    int clientWidth = 0;
    int minAutoFitWidth = 0;
    bool indicator = false;
    bool colLines = false;
    int indicatorWidth = 11;
};

// Shares the grid's client width among the fitting columns in proportion to their weights;
// returns the new width of every column (in the order given).
std::vector<int> fitColumnWidths(const std::vector<FitColumn> &columns, const FitFrame &frame);

// The new fit weights after the user dragged column `index` from `oldWidth` to `newWidth`: the
// column's weight scales with its width; its right neighbour gives or takes the difference.
void resizeFitWeights(std::vector<int> &initWidths, int index, int oldWidth, int newWidth);

}  // namespace vornak
