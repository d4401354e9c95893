#include "data/field_kinds.h"
#include "tests/grid/grid_test_support.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QScrollBar>

namespace vornak::testing {
namespace {

std::vector<int> widths(const TDBGridEh &grid)
{
    std::vector<int> result;
    for (const TColumnEh *column : grid.Columns.Visible())
        result.push_back(column->Width());
    return result;
}

int sum(const std::vector<int> &values)
{
    int total = 0;
    for (int value : values)
        total += value;
    return total;
}

const QList<std::pair<QString, int>> mileageColumns = {
    {QStringLiteral("datedoc"), 0}, {QStringLiteral("tekprobeg"), 0}, {QStringLiteral("raznica"), 0}};

TEST(GridLayout, RowsAndTitleFollowTheTahomaMetrics)
{
    GridBook book(mileageSql());
    book.addMileage(30);
    auto grid = makeListGrid(book.source, mileageColumns, {534, 300});
    book.query.Open();

    EXPECT_EQ(grid->RowHeight(), 20);
    EXPECT_EQ(grid->rowPitch(), 21);
    EXPECT_EQ(grid->titleRowHeight(), 35);
    EXPECT_EQ(grid->dataTop(), 36);
    const int client = 300 - 2 * grid->frameWidth();
    EXPECT_EQ(grid->visibleDataRowCount(), (client - 36) / 21);
    EXPECT_EQ(grid->DataLink().BufferCount(), grid->visibleDataRowCount());
    EXPECT_EQ(grid->dataRowCount(), grid->visibleDataRowCount());
}

TEST(GridLayout, SelectorShowsOneRowFittedToTheWholeClientWidth)
{
    GridBook book(vehiclesSql());
    book.addVehicles({QStringLiteral("Нива")});
    auto grid = makeSelectorGrid(book.source);
    book.query.Open();

    EXPECT_EQ(grid->visibleDataRowCount(), 1);
    EXPECT_EQ(widths(*grid), std::vector<int>{225 - 2 * grid->frameWidth()});
}

TEST(GridLayout, ScrollBarAppearsWithTheSecondRecordAndTheColumnsAreRefitted)
{
    GridBook book(mileageSql());
    book.addMileage(1);
    auto grid = makeListGrid(book.source, mileageColumns, {530 + 2 * 2, 300});
    ASSERT_EQ(grid->frameWidth(), 2);
    book.query.Open();
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(widths(*grid), (std::vector<int>{172, 172, 171}));

    book.addMileage(1);
    book.query.Close();
    book.query.Open();
    ASSERT_EQ(book.query.RecordCount(), 2);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const int bar = grid->verticalScrollBar()->sizeHint().width();
    EXPECT_EQ(sum(widths(*grid)), 515 - bar);
    EXPECT_EQ(grid->verticalScrollBar()->minimum(), 1);
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 2);
    EXPECT_EQ(grid->verticalScrollBar()->pageStep(), grid->visibleDataRowCount());

    book.query.Close();
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(widths(*grid), (std::vector<int>{172, 172, 171}));
}

TEST(GridLayout, VehicleListKeepsTheDeclaredProportion)
{
    GridBook book(vehiclesSql());
    auto grid = makeListGrid(
        book.source,
        {{QStringLiteral("nameauto"), 286}, {QStringLiteral("beginkm"), 0}, {QStringLiteral("begindate"), 92}},
        {600 + 11 + 4 + 4, 200});
    book.query.Open();
    EXPECT_EQ(widths(*grid), (std::vector<int>{388, 87, 125}));
    const std::vector<int> weights{grid->Columns[0]->InitWidth, grid->Columns[1]->InitWidth,
                                   grid->Columns[2]->InitWidth};
    EXPECT_EQ(weights, (std::vector<int>{286, 64, 92})) << "the declared widths, the default one before binding";
}

// A column's title is its persistent field's label (the name matched in any case), before the
// dataset opens as well as after: a list whose dataset is never opened still shows its labels.
// A caption set on the column wins.
TEST(GridLayout, TitlesShowTheFieldsLabelsOpenOrClosed)
{
    GridBook book(mileageSql());
    book.query.AddField<TAutoIncField>(QStringLiteral("id"));
    book.query.AddField<TDateTimeField>(QStringLiteral("datedoc"));
    auto *reading = book.query.AddField<TIntegerField>(QStringLiteral("tekprobeg"));
    reading->DisplayLabel = QStringLiteral("Пробег");
    auto grid = makeListGrid(book.source, {{QStringLiteral("DATEDOC"), 0}, {QStringLiteral("tekprobeg"), 0}});

    for (const bool open : {false, true}) {
        SCOPED_TRACE(open);
        if (open)
            book.query.Open();
        EXPECT_EQ(grid->Columns[0]->Title.Caption(), QStringLiteral("datedoc"));
        EXPECT_EQ(grid->Columns[1]->Title.Caption(), QStringLiteral("Пробег"));
    }
    grid->Columns[1]->Title.SetCaption(QStringLiteral("Declared"));
    EXPECT_EQ(grid->Columns[1]->Title.Caption(), QStringLiteral("Declared"));
}

TEST(GridLayout, UndeclaredWidthComesFromTheFieldsDisplayWidthWhenNotFitted)
{
    GridBook book(mileageSql());
    auto grid = std::make_unique<TDBGridEh>();
    TColumnEh *reading = grid->Columns.Add(QStringLiteral("tekprobeg"));
    TColumnEh *date = grid->Columns.Add(QStringLiteral("datedoc"));
    grid->SetDataSource(&book.source);
    EXPECT_EQ(reading->Width(), 64);

    book.query.Open();
    const int zero = QFontMetrics(grid->Font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(reading->Width(), 10 * zero + 4);
    EXPECT_EQ(date->Width(), 18 * zero + 4);
    EXPECT_EQ(reading->Alignment(), taRightJustify);
    EXPECT_EQ(date->Alignment(), taLeftJustify);
}

TEST(GridLayout, DraggingATitleBorderWidensTheColumnAndNarrowsOnlyItsNeighbour)
{
    GridBook book(mileageSql());
    book.addMileage(1);
    auto grid = makeListGrid(book.source, mileageColumns, {534, 300});
    book.query.Open();
    showFocused(*grid);
    ASSERT_EQ(widths(*grid), (std::vector<int>{172, 172, 171}));

    // Pressed beside the border: a click changes nothing and a drag moves the border by as much
    // as the mouse moved.
    const int press = grid->columnLeft(1) - 1 + 2;
    QWidget *viewport = grid->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(press, 10));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(press, 10));
    ASSERT_EQ(widths(*grid), (std::vector<int>{172, 172, 171}));

    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(press, 10));
    QTest::mouseMove(viewport, QPoint(press + 28, 10));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(press + 28, 10));

    const std::vector<int> after = widths(*grid);
    EXPECT_NEAR(after[0], 200, 2);
    EXPECT_NEAR(after[1], 144, 1);
    EXPECT_NEAR(after[2], 171, 1);
    EXPECT_EQ(sum(after), 515);
}

}  // namespace
}  // namespace vornak::testing

namespace vornak::testing {
namespace {

QStringList columnOrder(const TDBGridEh &grid)
{
    QStringList names;
    for (const TColumnEh *column : grid.Columns.Visible())
        names.append(column->FieldName());
    return names;
}

TEST(GridLayout, DraggingATitleMovesItsColumnAndAClickMovesNothing)
{
    GridBook book(mileageSql());
    book.addMileage(2);
    auto grid = makeListGrid(book.source, mileageColumns, {534, 300});
    book.query.Open();
    showFocused(*grid);
    QWidget *viewport = grid->viewport();
    const int titleY = 10;
    auto titleX = [&](int column) { return (grid->columnLeft(column) + grid->columnLeft(column + 1)) / 2; };

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(titleX(0), titleY));
    EXPECT_EQ(columnOrder(*grid), (QStringList{"datedoc", "tekprobeg", "raznica"}));

    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(titleX(0), titleY));
    QTest::mouseMove(viewport, QPoint(titleX(1), titleY));
    QTest::mouseMove(viewport, QPoint(titleX(2), titleY));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(titleX(2), titleY));
    EXPECT_EQ(columnOrder(*grid), (QStringList{"tekprobeg", "raznica", "datedoc"}));
    EXPECT_EQ(grid->SelectedIndex(), 2) << "the current column moved with its title";
    EXPECT_EQ(book.recNo(), 1);
}

}  // namespace
}  // namespace vornak::testing
