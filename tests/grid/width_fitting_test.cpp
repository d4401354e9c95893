#include "grid/width_fitting.h"

#include <gtest/gtest.h>

namespace vornak {
namespace {

// The client width that leaves `available` pixels for three columns beside the indicator.
constexpr int clientFor(int available, int columns = 3)
{
    return available + 11 + columns + 1;
}

struct FitCase {
    const char *name;
    std::vector<FitColumn> columns;
    FitFrame frame;
    std::vector<int> widths;
};

class WidthFitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(WidthFitting, SharesTheClientWidth)
{
    const FitCase &c = GetParam();
    EXPECT_EQ(fitColumnWidths(c.columns, c.frame), c.widths);
}

const FitColumn equal{64, 64};

INSTANTIATE_TEST_SUITE_P(
    Cases, WidthFitting,
    ::testing::Values(
        // three undeclared columns: thirds, the remainder taken from the rightmost column
        FitCase{"thirds", {equal, equal, equal}, {clientFor(515), 0, true, true}, {172, 172, 171}},
        FitCase{"proportion", {{286, 286}, {64, 64}, {92, 92}}, {clientFor(600), 0, true, true}, {388, 87, 125}},
        // a column bounded by MaxWidth keeps it; the others share the rest in the next pass
        FitCase{"max width", {{64, 64, 0, 100}, equal, equal}, {clientFor(515), 0, true, true}, {100, 208, 207}},
        FitCase{"min width", {{64, 64, 300, 0}, equal, equal}, {clientFor(515), 0, true, true}, {300, 108, 107}},
        // a column that does not fit keeps its width and counts as fixed
        FitCase{"fixed column", {{50, 64, 0, 0, false}, equal}, {clientFor(150, 2), 0, true, true}, {50, 100}},
        FitCase{"narrower than the fixed parts", {equal, equal, equal}, {10, 0, true, true}, {0, 0, 0}},
        FitCase{"min auto fit width", {equal, equal}, {100, 300, false, false}, {150, 150}},
        // the selector: one column, no indicator, no column lines
        FitCase{"single column", {{200, 200}}, {221, 0, false, false}, {221}}),
    [](const auto &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(WidthFittingArithmetic, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(mulDivRounded(1, 5, 2), 3);
    EXPECT_EQ(mulDivRounded(-1, 5, 2), -3);
    EXPECT_EQ(mulDivRounded(64, 515, 192), 172);
    EXPECT_EQ(mulDivRounded(7, 1, 0), 0);
}

TEST(WidthFittingArithmetic, DraggingABorderMovesWeightToTheRightNeighbourOnly)
{
    std::vector<int> weights{64, 64, 64};
    resizeFitWeights(weights, 0, 172, 200);
    EXPECT_EQ(weights, (std::vector<int>{74, 54, 64}));

    std::vector<int> last{64, 64};
    resizeFitWeights(last, 1, 100, 50);
    EXPECT_EQ(last, (std::vector<int>{64, 32}));

    std::vector<int> floor{64, 10};
    resizeFitWeights(floor, 0, 100, 200);
    EXPECT_EQ(floor, (std::vector<int>{128, 0}));
}

}  // namespace
}  // namespace vornak
