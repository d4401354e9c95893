#include "platform/date_time.h"
#include "platform/sqlcipher_connection.h"
#include "tests/grid/grid_test_support.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <limits>
#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vornak::testing {
namespace {

QImage render(TDBGridEh &grid)
{
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    grid.viewport()->render(&image);
    return image;
}

QRgb pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000u;
}

QRgb rgb(const QColor &color)
{
    return color.rgb();
}

// A pixel inside a data cell that no text covers.
QPoint cellCorner(const TDBGridEh &grid, int column, int row)
{
    return {grid.columnLeft(column) + 1, grid.dataTop() + row * grid.rowPitch() + 1};
}

// The top-left pixel of the indicator glyph in a data row.
QPoint glyphOrigin(const TDBGridEh &grid, int row)
{
    return {2, grid.dataTop() + row * grid.rowPitch() + (grid.RowHeight() - 11) / 2};
}

bool hasInk(const QImage &image, const QRect &area, QRgb color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pixel(image, x, y) == color)
                return true;
    return false;
}

const QList<std::pair<QString, int>> columns = {{QStringLiteral("tekprobeg"), 0}, {QStringLiteral("raznica"), 0}};

class GridPainting : public ::testing::Test {
protected:
    QWidget window;
    QLineEdit *other = new QLineEdit(&window);
    GridBook book{mileageSql()};
    std::unique_ptr<TDBGridEh> grid;

    void SetUp() override
    {
        book.addMileage(3);
        grid = makeListGrid(book.source, columns, {300, 200});
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(grid.get());
        layout->addWidget(other);
        window.resize(300, 240);
        book.query.Open();
        showFocused(*grid);
    }
    void TearDown() override { grid->setParent(nullptr); }
};

TEST_F(GridPainting, TheFocusedGridHighlightsTheCurrentCellOnly)
{
    QTest::keyClick(grid.get(), Qt::Key_Down);
    const QImage image = render(*grid);
    const QPalette palette = grid->palette();
    EXPECT_EQ(pixel(image, cellCorner(*grid, 0, 1).x() + 2, cellCorner(*grid, 0, 1).y() + 1),
              rgb(palette.color(QPalette::Highlight)));
    EXPECT_EQ(pixel(image, cellCorner(*grid, 1, 1).x(), cellCorner(*grid, 1, 1).y()), rgb(grid->Color()));
    EXPECT_EQ(pixel(image, cellCorner(*grid, 0, 0).x(), cellCorner(*grid, 0, 0).y()), rgb(grid->Color()));
}

TEST_F(GridPainting, AnUnfocusedListShowsTheCurrentRecordOnlyByTheArrow)
{
    other->setFocus();
    ASSERT_FALSE(grid->hasFocus());
    const QImage image = render(*grid);
    EXPECT_EQ(pixel(image, cellCorner(*grid, 0, 0).x(), cellCorner(*grid, 0, 0).y()), rgb(grid->Color()));
    const QPoint glyph = glyphOrigin(*grid, 0);
    EXPECT_EQ(pixel(image, glyph.x(), glyph.y() + 5), rgb(Qt::black)) << "arrow's widest row";
    EXPECT_EQ(pixel(image, glyph.x() + 5, glyph.y() + 5), rgb(Qt::black));
    EXPECT_NE(pixel(image, glyph.x(), glyph.y() + 5 + grid->rowPitch()), rgb(Qt::black)) << "no glyph elsewhere";
    const QRect secondRow(grid->columnLeft(0), grid->dataTop() + grid->rowPitch(), grid->columnLeft(1) - 1,
                          grid->RowHeight());
    EXPECT_TRUE(hasInk(image, secondRow, rgb(grid->palette().color(QPalette::Text))))
        << "cell text in the window-text colour";
}

TEST_F(GridPainting, TheGlyphFollowsTheDatasetState)
{
    const QPoint glyph = glyphOrigin(*grid, 0);
    book.query.Edit();
    QImage image = render(*grid);
    EXPECT_NE(pixel(image, glyph.x(), glyph.y() + 5), rgb(Qt::black)) << "I-beam stem only in the middle";
    EXPECT_EQ(pixel(image, glyph.x() + 2, glyph.y() + 5), rgb(Qt::black));
    book.query.Cancel();
    book.query.Insert();
    image = render(*grid);
    EXPECT_EQ(pixel(image, glyph.x(), glyph.y() + 3), rgb(Qt::black)) << "asterisk arm";
    book.query.Cancel();
}

TEST_F(GridPainting, LinesAreGreyInTheDataAreaAndDarkInTheFixedArea)
{
    const QImage image = render(*grid);
    const int line = grid->columnLeft(1) - 1;
    EXPECT_EQ(pixel(image, line, cellCorner(*grid, 0, 2).y()), rgb(QColor(192, 192, 192)));
    EXPECT_EQ(pixel(image, line, grid->titleRowHeight() / 2), rgb(QColor(128, 128, 128)));
    const int below = grid->dataTop() + 3 * grid->rowPitch() + 5;
    EXPECT_EQ(pixel(image, line, below), rgb(QColor(192, 192, 192))) << "extended below the last row";
    EXPECT_EQ(pixel(image, line - 5, below), rgb(grid->Color()));
}

TEST_F(GridPainting, ALongCaptionWrapsOntoTheSecondTitleLine)
{
    auto inkRows = [&](const QImage &image, int column) {
        QList<int> rows;
        const int left = grid->columnLeft(column) + 2;
        const int right = grid->columnLeft(column + 1) - 3;
        for (int y = 2; y < grid->titleRowHeight() - 2; ++y) {
            for (int x = left; x < right; ++x) {
                if (pixel(image, x, y) == rgb(grid->palette().color(QPalette::WindowText))) {
                    rows.append(y);
                    break;
                }
            }
        }
        return rows;
    };
    grid->Columns[0]->Title.SetCaption(QStringLiteral("Total reading in kilometres"));
    const QList<int> wrapped = inkRows(render(*grid), 0);
    const QList<int> single = inkRows(render(*grid), 1);
    ASSERT_FALSE(wrapped.isEmpty());
    ASSERT_FALSE(single.isEmpty());
    EXPECT_GT(wrapped.last() - wrapped.first(), 16) << "two lines of text";
    EXPECT_LT(single.last() - single.first(), 16);
}

TEST(GridPaintingStates, InactiveAndEmptyGridsShowOneEmptyRowWithoutGlyph)
{
    GridBook book(mileageSql());
    auto grid = makeListGrid(book.source, columns, {300, 200});
    for (bool open : {false, true}) {
        if (open)
            book.query.Open();
        EXPECT_EQ(grid->dataRowCount(), 1);
        const QImage image = render(*grid);
        const QPoint glyph = glyphOrigin(*grid, 0);
        EXPECT_NE(pixel(image, glyph.x(), glyph.y() + 5), rgb(Qt::black));
        EXPECT_EQ(pixel(image, grid->columnLeft(1) - 1, grid->dataTop() + grid->RowHeight()),
                  rgb(QColor(192, 192, 192)))
            << "the empty row has its lines";
    }
}

// A hostile file can hold dates that name none (a huge number, an infinity): their cells are
// painted empty; the calendar's first and last days show as themselves.
TEST(GridPaintingStates, DatesOutsideTheCalendarShowAsEmptyCells)
{
    GridBook book(mileageSql());
    const double inf = std::numeric_limits<double>::infinity();
    const QList<double> stored = {
        date_time::firstDay, date_time::lastDay, date_time::lastDay + 1, 1e300, -1e300, inf, -inf};
    for (const double days : stored)
        SqlCipherConnection::open(book.file.path(), log_book::password)
            ->runStatement(QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) "
                                          "VALUES (?, 1, 5, 5)"),
                           {Variant(days)});
    auto grid = makeListGrid(book.source, {{QStringLiteral("datedoc"), 0}, {QStringLiteral("tekprobeg"), 0}});
    book.query.Open();
    grid->show();
    render(*grid);
    QStringList texts;
    for (book.query.First(); !book.query.Eof(); book.query.Next())
        texts.append(book.text(QStringLiteral("datedoc")) + u'|' + book.text(QStringLiteral("tekprobeg")));
    EXPECT_EQ(texts,
              QStringList({QStringLiteral("01.01.0001|5"), QStringLiteral("31.12.9999|5"), QStringLiteral("|5"),
                           QStringLiteral("|5"), QStringLiteral("|5"), QStringLiteral("|5"), QStringLiteral("|5")}));
}

TEST(GridPaintingStates, TheSelectorKeepsItsVehicleMarkedWithoutFocus)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    GridBook book(vehiclesSql());
    book.addVehicles({QStringLiteral("Нива")});
    auto grid = makeSelectorGrid(book.source);
    auto *other = new QLineEdit(&window);
    layout->addWidget(grid.get());
    layout->addWidget(other);
    book.query.Open();
    showFocused(*grid);
    other->setFocus();
    ASSERT_FALSE(grid->hasFocus());
    const QImage image = render(*grid);
    EXPECT_EQ(pixel(image, 1, 1), rgb(grid->palette().color(QPalette::Dark)));
    grid->setParent(nullptr);
}

}  // namespace
}  // namespace vornak::testing
