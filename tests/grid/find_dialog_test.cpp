#include "grid/db_grid_eh_find_dlg.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/grid/grid_test_support.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace vornak::testing {
namespace {

enum Match { AnyPart, Whole, FromBeginning };
enum Direction { Up, Down, All };
constexpr int allColumns = -1;

struct Search {
    QString text;
    Match match = AnyPart;
    Direction direction = All;
    bool matchCase = false;
    int findIn = 0;  // a column's item, or allColumns
};

class FindDialog : public ::testing::Test {
protected:
    GridBook book{vehiclesSql()};
    std::unique_ptr<TDBGridEh> grid;
    ScriptedDialogs dialogs;
    int dataChanges = 0;

    void SetUp() override
    {
        // 1 "Lada Niva" 100, 2 "Volga" 200, 3 "niva" 300, 4 "" 400, 5 "Oka Niva" 500
        book.addVehicles({QStringLiteral("Lada Niva"), QStringLiteral("Volga"), QStringLiteral("niva"), QString(),
                          QStringLiteral("Oka Niva")});
        grid = makeListGrid(book.source, {{QStringLiteral("nameauto"), 0}, {QStringLiteral("beginkm"), 0}});
        book.query.Open();
        book.source.OnDataChange = [this](TDataSource *, TField *) { ++dataChanges; };
        showFocused(*grid);
    }

    void goTo(int recNo) { book.query.MoveBy(recNo - book.recNo()); }

    // Opens the dialog with Ctrl+F and hands it to `use`; the dialog is closed with Esc afterwards.
    void withDialog(const std::function<void(TDBGridEhFindDlg &)> &use)
    {
        bool shown = false;
        dialogs.modalAnswers.push_back([&](QDialog &dialog) {
            shown = true;
            auto &find = static_cast<TDBGridEhFindDlg &>(dialog);
            find.show();
            use(find);
            QTest::keyClick(find.cbText->lineEdit(), Qt::Key_Escape);
            EXPECT_FALSE(find.isVisible());
            return ModalResult::Cancel;
        });
        QTest::keyClick(grid.get(), Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(shown);
    }

    static void set(TDBGridEhFindDlg &dialog, const Search &search)
    {
        dialog.cbText->lineEdit()->clear();
        QTest::keyClicks(dialog.cbText->lineEdit(), search.text);
        dialog.cbMatchinType->setCurrentIndex(search.match);
        dialog.cbFindDirection->setCurrentIndex(search.direction);
        dialog.cbCharCase->setChecked(search.matchCase);
        dialog.cbFindIn->setCurrentIndex(search.findIn == allColumns ? dialog.cbFindIn->count() - 1 : search.findIn);
    }

    static void enter(TDBGridEhFindDlg &dialog, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(dialog.cbText->lineEdit(), Qt::Key_Return, modifiers);
    }

    // Runs the search from record `start`, pressing Find next once per expected record.
    QList<int> searchFrom(int start, const Search &search, int presses)
    {
        goTo(start);
        QList<int> found;
        withDialog([&](TDBGridEhFindDlg &dialog) {
            set(dialog, search);
            for (int i = 0; i < presses; ++i) {
                enter(dialog);
                found.append(book.recNo());
            }
        });
        return found;
    }
};

struct SearchCase {
    const char *name;
    int start;
    Search search;
    QList<int> found;  // current record after each press
};

const SearchCase searchCases[] = {
    {"any part ignoring case, then onwards", 2, {QStringLiteral("niva")}, {1, 3, 5, 5}},
    {"whole field", 2, {QStringLiteral("niva"), Whole}, {3, 3}},
    {"any part with case", 1, {QStringLiteral("Niva"), AnyPart, All, true}, {1, 5}},
    {"whole field with case finds nothing and keeps the record", 2, {QStringLiteral("NIVA"), Whole, All, true}, {2}},
    {"from the beginning", 5, {QStringLiteral("VOL"), FromBeginning}, {2}},
    {"empty text from any part finds nothing", 2, {QString(), AnyPart}, {2}},
    {"empty text as whole field finds the empty cell", 1, {QString(), Whole}, {4}},
    {"empty text from the beginning finds the first examined record", 2, {QString(), FromBeginning, Down}, {3, 4}},
    {"down from the last record finds nothing", 5, {QStringLiteral("niva"), AnyPart, Down}, {5}},
    {"up", 4, {QStringLiteral("niva"), AnyPart, Up}, {3, 1, 1}},
    {"all columns", 1, {QStringLiteral("300"), AnyPart, All, false, allColumns}, {3}},
    {"the chosen column only", 1, {QStringLiteral("300"), AnyPart, All, false, 0}, {1}},
};

class FindDialogSearch : public FindDialog, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(FindDialogSearch, FindsTheMatchingRecords)
{
    const SearchCase &c = GetParam();
    EXPECT_EQ(searchFrom(c.start, c.search, int(c.found.size())), c.found);
    EXPECT_EQ(book.query.RecordCount(), 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindDialogSearch, ::testing::ValuesIn(searchCases), [](const auto &info) {
    std::string name = info.param.name;
    for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST_F(FindDialog, CtrlReversesTheDirectionAndChangingTheTextStartsFromTheTop)
{
    goTo(4);
    withDialog([&](TDBGridEhFindDlg &dialog) {
        set(dialog, {QStringLiteral("niva"), AnyPart, Down});
        enter(dialog, Qt::ControlModifier);
        EXPECT_EQ(book.recNo(), 3);
        dialog.cbFindDirection->setCurrentIndex(All);
        enter(dialog);
        EXPECT_EQ(book.recNo(), 1);
        enter(dialog);
        EXPECT_EQ(book.recNo(), 3);
        QTest::keyClicks(dialog.cbText->lineEdit(), QStringLiteral(" "));
        dialog.cbText->lineEdit()->setText(QStringLiteral("Niva"));
        enter(dialog);
        EXPECT_EQ(book.recNo(), 1);
    });
}

TEST_F(FindDialog, AMatchInAnotherColumnMovesTheCurrentColumnOnlyWithoutCase)
{
    withDialog([&](TDBGridEhFindDlg &dialog) {
        set(dialog, {QStringLiteral("200"), Whole, All, true, allColumns});
        enter(dialog);
        EXPECT_EQ(book.recNo(), 2);
        EXPECT_EQ(grid->SelectedIndex(), 0);
        set(dialog, {QStringLiteral("400"), Whole, All, false, allColumns});
        enter(dialog);
        EXPECT_EQ(book.recNo(), 4);
        EXPECT_EQ(grid->SelectedIndex(), 1);
    });
}

TEST_F(FindDialog, EveryFindNextRaisesOneDataChange)
{
    withDialog([&](TDBGridEhFindDlg &dialog) {
        set(dialog, {QStringLiteral("Volga"), Whole});
        dataChanges = 0;
        enter(dialog);
        EXPECT_EQ(dataChanges, 1);
        set(dialog, {QStringLiteral("Moskvich"), Whole});
        dataChanges = 0;
        enter(dialog);
        EXPECT_EQ(dataChanges, 1);
        EXPECT_EQ(book.recNo(), 2);
    });
}

TEST_F(FindDialog, OpensWithTheCurrentColumnAnEmptyTextAndTheLastSettings)
{
    withDialog([&](TDBGridEhFindDlg &dialog) {
        set(dialog, {QStringLiteral("Oka"), FromBeginning, Down, true});
        dialog.cbUseFormat->setChecked(false);
        QTest::mouseClick(dialog.bFind, Qt::LeftButton);
        EXPECT_EQ(book.recNo(), 5);
    });
    QTest::keyClick(grid.get(), Qt::Key_Right);
    withDialog([&](TDBGridEhFindDlg &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find text"));
        EXPECT_EQ(dialog.height(), 124);
        EXPECT_FALSE(dialog.dbcTreeFindRange->isVisible());
        EXPECT_TRUE(dialog.cbText->currentText().isEmpty());
        EXPECT_GE(dialog.cbText->findText(QStringLiteral("Oka")), 0) << "earlier texts are kept";
        EXPECT_EQ(dialog.cbFindIn->currentText(), QStringLiteral("beginkm"));
        EXPECT_EQ(dialog.cbFindIn->itemText(2), QStringLiteral("<All>"));
        EXPECT_EQ(dialog.cbMatchinType->currentIndex(), FromBeginning);
        EXPECT_EQ(dialog.cbFindDirection->currentIndex(), Down);
        EXPECT_TRUE(dialog.cbCharCase->isChecked());
        EXPECT_FALSE(dialog.cbUseFormat->isChecked());
        dialog.cbUseFormat->setChecked(true);
    });
}

TEST_F(FindDialog, CtrlFDoesNothingOnAClosedDataset)
{
    book.query.Close();
    dialogs.modalAnswers.push_back([](QDialog &) { return ModalResult::Cancel; });
    QTest::keyClick(grid.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogs.modalAnswers.size(), 1u);
}

}  // namespace
}  // namespace vornak::testing
