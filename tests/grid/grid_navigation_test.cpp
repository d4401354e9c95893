#include "platform/errors.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/grid/grid_test_support.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace vornak::testing {
namespace {

const QList<std::pair<QString, int>> mileageColumns = {
    {QStringLiteral("datedoc"), 0}, {QStringLiteral("tekprobeg"), 0}, {QStringLiteral("raznica"), 0}};

class MileageGrid : public ::testing::Test {
protected:
    GridBook book{mileageSql()};
    std::unique_ptr<TDBGridEh> grid;

    void open(int records, QSize size = {534, 300})
    {
        book.addMileage(records);
        grid = makeListGrid(book.source, mileageColumns, size);
        book.query.Open();
        showFocused(*grid);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(grid.get(), key, modifiers);
    }
    int storedRows() { return book.connection.Engine().query(QStringLiteral("select * from DOC_MILEAGE"))->rowCount(); }
    QWidget *viewport() { return grid->viewport(); }
};

struct KeyStroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct KeyCase {
    const char *name;
    std::vector<KeyStroke> keys;
    int recNo;  // -1: the number of fully visible rows
    int column;
};

constexpr Qt::KeyboardModifiers ctrl = Qt::ControlModifier;

const KeyCase keyCases[] = {
    {"Up at the first record stays", {{Qt::Key_Up}}, 1, 0},
    {"Down moves one record", {{Qt::Key_Down}, {Qt::Key_Down}}, 3, 0},
    {"Down at the last record appends nothing", {{Qt::Key_End, ctrl}, {Qt::Key_Down}, {Qt::Key_Down}}, 30, 0},
    {"Page Down past the end stops at the last",
     {{Qt::Key_PageDown}, {Qt::Key_PageDown}, {Qt::Key_PageDown}, {Qt::Key_PageDown}},
     30,
     0},
    {"Page Up at the top stays", {{Qt::Key_PageUp}}, 1, 0},
    {"Ctrl+Down goes to the last visible row", {{Qt::Key_Down, ctrl}}, -1, 0},
    {"Ctrl+Page Up goes to the first visible row", {{Qt::Key_Down, ctrl}, {Qt::Key_PageUp, ctrl}}, 1, 0},
    {"Ctrl+End then Ctrl+Home", {{Qt::Key_End, ctrl}, {Qt::Key_Home, ctrl}}, 1, 0},
    {"Right stops at the last column", {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Right}}, 1, 2},
    {"Left at the first column stays", {{Qt::Key_Left}}, 1, 0},
    {"End and Home move between columns", {{Qt::Key_End}, {Qt::Key_Down}, {Qt::Key_Home}}, 2, 0},
    {"Ctrl+Right and Ctrl+Left", {{Qt::Key_Right, ctrl}}, 1, 2},
    {"Tab from the last column goes to the next record", {{Qt::Key_End}, {Qt::Key_Tab}}, 2, 0},
    {"Shift+Tab from the first column goes back a record",
     {{Qt::Key_Down}, {Qt::Key_Backtab, Qt::ShiftModifier}},
     1,
     2},
    {"Tab at the last cell of the data stays on the last record",
     {{Qt::Key_End, ctrl}, {Qt::Key_End}, {Qt::Key_Tab}},
     30,
     0},
    {"Enter, Insert, F2, Delete and letters do nothing",
     {{Qt::Key_Return}, {Qt::Key_Insert}, {Qt::Key_F2}, {Qt::Key_Delete}, {Qt::Key_A}, {Qt::Key_5}},
     1,
     0},
};

class GridKeys : public MileageGrid, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeys, MoveWithinTheData)
{
    open(30);
    const KeyCase &c = GetParam();
    for (const KeyStroke &stroke : c.keys)
        key(stroke.key, stroke.modifiers);
    EXPECT_EQ(book.recNo(), c.recNo < 0 ? grid->visibleDataRowCount() : c.recNo);
    EXPECT_EQ(grid->SelectedIndex(), c.column);
    EXPECT_EQ(book.query.RecordCount(), 30);
    EXPECT_EQ(book.query.State(), dsBrowse);
}

INSTANTIATE_TEST_SUITE_P(Keys, GridKeys, ::testing::ValuesIn(keyCases), [](const auto &info) {
    std::string name = info.param.name;
    for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST_F(MileageGrid, PageDownMovesByTheFullyVisibleRows)
{
    open(30);
    key(Qt::Key_PageDown);
    EXPECT_EQ(book.recNo(), 1 + grid->visibleDataRowCount());
    key(Qt::Key_PageUp);
    EXPECT_EQ(book.recNo(), 1);
}

TEST_F(MileageGrid, KeysAndClicksDoNothingOnAClosedDataset)
{
    open(3);
    book.query.Close();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Delete, Qt::Key_F})
        key(k, k == Qt::Key_Delete || k == Qt::Key_F ? ctrl : Qt::NoModifier);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCenter(*grid, 1, 0));
    EXPECT_FALSE(book.query.Active());
    EXPECT_EQ(grid->dataRowCount(), 1);
}

TEST_F(MileageGrid, ClickMovesToTheRowAndColumnBelowTheLastRowNothing)
{
    open(3);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCenter(*grid, 1, 2));
    EXPECT_EQ(book.recNo(), 3);
    EXPECT_EQ(grid->SelectedIndex(), 1);

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, QPoint(5, cellCenter(*grid, 0, 0).y()));
    EXPECT_EQ(book.recNo(), 1);
    EXPECT_EQ(grid->SelectedIndex(), 1) << "the indicator column keeps the current column";

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCenter(*grid, 2, 5));
    EXPECT_EQ(book.recNo(), 1);
    EXPECT_EQ(grid->SelectedIndex(), 1);
}

TEST_F(MileageGrid, DoubleClickRunsTheHandlerOnceAnywhere)
{
    open(3);
    QList<int> calls;
    grid->OnDblClick = [&](TDBGridEh *) { calls.append(book.recNo()); };
    // A double click: a click, then the double-click event in place of the second press.
    auto doubleClick = [&](QPoint at) {
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(cellCenter(*grid, 0, 1));
    doubleClick(QPoint(cellCenter(*grid, 2, 0).x(), 10));
    EXPECT_EQ(calls, (QList<int>{2, 2}));
}

// One notch is one record wherever the pointer is: over the rows or over the scroll bar.
TEST_F(MileageGrid, WheelMovesOneRecordPerNotch)
{
    open(5);
    QWidget *targets[] = {viewport(), grid->verticalScrollBar()};
    for (QWidget *target : targets) {
        SCOPED_TRACE(target->metaObject()->className());
        book.query.First();
        auto wheel = [&](int delta) {
            const QPoint at = target->rect().center();
            QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
        };
        wheel(-120);
        wheel(-120);
        EXPECT_EQ(book.recNo(), 3);
        EXPECT_EQ(grid->verticalScrollBar()->value(), 3);
        wheel(120);
        EXPECT_EQ(book.recNo(), 2);
        wheel(240);
        wheel(120);
        EXPECT_EQ(book.recNo(), 1);
        wheel(-60);
        EXPECT_EQ(book.recNo(), 1) << "half a notch";
        wheel(-60);
        EXPECT_EQ(book.recNo(), 2);
    }
}

TEST_F(MileageGrid, CtrlDeleteAsksAndDeletesOnOk)
{
    open(3);
    key(Qt::Key_Down);
    ScriptedDialogs dialogs;
    dialogs.messageAnswers = {ModalResult::Cancel, ModalResult::Ok};

    key(Qt::Key_Delete, ctrl);
    EXPECT_EQ(storedRows(), 3);
    EXPECT_EQ(book.recNo(), 2);

    key(Qt::Key_Delete, ctrl);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(dialogs.messages[1].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(dialogs.messages[1].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(storedRows(), 2);
    EXPECT_EQ(book.text(QStringLiteral("tekprobeg")), QStringLiteral("3000"));
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(MileageGrid, CtrlDeleteDoesNothingWhereDeletingIsNotAllowed)
{
    ScriptedDialogs dialogs;
    open(2);
    grid->ReadOnly = true;
    key(Qt::Key_Delete, ctrl);
    grid->ReadOnly = false;
    grid->AllowedOperations -= alopDeleteEh;
    key(Qt::Key_Delete, ctrl);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(storedRows(), 2);
}

TEST(GridDelete, NoQuestionOnAnEmptyListOrAReadOnlyResult)
{
    ScriptedDialogs dialogs;
    for (const QString &sql : {mileageSql(), QStringLiteral("select datedoc, tekprobeg from DOC_MILEAGE")}) {
        GridBook book(sql);
        if (sql != mileageSql())
            book.addMileage(2);
        auto grid = makeListGrid(book.source, mileageColumns);
        book.query.Open();
        showFocused(*grid);
        QTest::keyClick(grid.get(), Qt::Key_Delete, ctrl);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MileageGrid, ARefusedDeleteLeavesTheGridUsable)
{
    open(3);
    ScriptedDialogs dialogs;
    book.query.BeforeDelete = [](TDataSet *) { throw DatabaseError(QStringLiteral("refused")); };
    EXPECT_THROW(key(Qt::Key_Delete, ctrl), DatabaseError);
    EXPECT_EQ(storedRows(), 3);
    key(Qt::Key_Down);
    EXPECT_EQ(book.recNo(), 2);
}

TEST_F(MileageGrid, EscCancelsAnEditAndLeavingTheGridCancelsAnEmptyInsert)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QLineEdit(&window);
    book.addMileage(3);
    grid = makeListGrid(book.source, mileageColumns);
    layout->addWidget(grid.get());
    layout->addWidget(other);
    book.query.Open();
    showFocused(*grid);

    book.query.Edit();
    key(Qt::Key_Escape);
    EXPECT_EQ(book.query.State(), dsBrowse);

    book.query.Insert();
    EXPECT_EQ(book.query.State(), dsInsert);
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(book.query.State(), dsBrowse);
    EXPECT_EQ(book.query.RecordCount(), 3);
    layout->removeWidget(grid.get());
    grid->setParent(nullptr);
}

QRect scrollBarPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

TEST_F(MileageGrid, DraggingTheThumbMakesTheRecordUnderItCurrent)
{
    open(100, {534, 400});
    QScrollBar *bar = grid->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const QRect thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = scrollBarPart(bar, QStyle::SC_ScrollBarGroove);
    const QPoint start = thumb.center();
    const int travel = groove.height() - thumb.height();
    const QPoint middle(start.x(), start.y() + travel / 2);

    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    QTest::mouseMove(bar, QPoint(start.x(), start.y() + travel / 4));
    QTest::mouseMove(bar, middle);
    EXPECT_NEAR(book.recNo(), 50, 2);
    EXPECT_EQ(bar->sliderPosition(), book.recNo());
    const int whileDragging = book.recNo();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, middle);
    EXPECT_EQ(book.recNo(), whileDragging);
}

TEST_F(MileageGrid, ScrollBarArrowsAndTrackMoveBeyondTheVisibleRows)
{
    open(100);
    QScrollBar *bar = grid->verticalScrollBar();
    const int rows = grid->visibleDataRowCount();
    QTest::mouseClick(bar, Qt::LeftButton, {}, scrollBarPart(bar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(book.recNo(), rows + 1) << "the record just below the bottom row";
    QTest::mouseClick(bar, Qt::LeftButton, {}, scrollBarPart(bar, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(book.recNo(), 2 * rows + 1);
    EXPECT_EQ(bar->value(), book.recNo());
    const int top = book.recNo() - grid->currentRow();
    QTest::mouseClick(bar, Qt::LeftButton, {}, scrollBarPart(bar, QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(book.recNo(), top - 1) << "the record just above the top row";
}

// A value set on the bar without one of its actions ("Scroll here" of its menu) moves the record
// there, so the thumb always shows the current record.
TEST_F(MileageGrid, ScrollBarValueSetDirectlyMovesTheCurrentRecord)
{
    open(100);
    QScrollBar *bar = grid->verticalScrollBar();
    const struct {
        int value;
        int recNo;
    } cases[] = {{50, 50}, {7, 7}, {1, 1}, {100, 100}, {60, 60}};
    for (const auto &c : cases) {
        bar->setValue(c.value);
        EXPECT_EQ(book.recNo(), c.recNo) << c.value;
        EXPECT_EQ(bar->value(), book.recNo()) << c.value;
    }
}

TEST(GridSelector, HomeEndAndTabMoveThroughTheVehicles)
{
    GridBook book(vehiclesSql());
    book.addVehicles({QStringLiteral("Нива"), QStringLiteral("Волга"), QStringLiteral("Ока")});
    auto grid = makeSelectorGrid(book.source);
    QStringList changes;
    book.source.OnDataChange = [&](TDataSource *, TField *) { changes.append(book.text(QStringLiteral("nameauto"))); };
    book.query.Open();
    showFocused(*grid);
    changes.clear();

    QTest::keyClick(grid.get(), Qt::Key_End);
    QTest::keyClick(grid.get(), Qt::Key_Home);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_EQ(changes, (QStringList{QStringLiteral("Ока"), QStringLiteral("Нива"), QStringLiteral("Волга")}));
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_EQ(book.recNo(), 3);
    EXPECT_TRUE(grid->hasFocus());
}

}  // namespace
}  // namespace vornak::testing
