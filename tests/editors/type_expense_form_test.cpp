#include "grid/db_grid_eh.h"
#include "platform/errors.h"
#include "tests/editors/log_book_session.h"

#include <gtest/gtest.h>
#include <QToolButton>

using namespace vornak;
using namespace vornak::testing;

namespace {

QStringList types(const LogBookSession &book)
{
    return book.rows(QStringLiteral("select ID, OPISANIE from SYS_TYPE_EXPENSE order by ID"));
}

std::function<bool(QString &)> typeName(const QString &name, QString *initial = nullptr)
{
    return [=](QString &value) {
        if (initial)
            *initial = value;
        value = name;
        return true;
    };
}

// Double clicks the first data row of the catalogue's grid.
ModalResult pickCurrentRow(QDialog &dialog)
{
    TDBGridEh *grid = static_cast<TTYPE_EXPENSEForm &>(dialog).DBGridEh3;
    const QPoint cell(grid->columnLeft(0) + 20, grid->dataTop() + grid->currentRow() * grid->rowPitch() + 5);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    return ModalResult(dialog.result());
}

const QString fuel = QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Бензин')");
const QString wash = QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Мойка')");

}  // namespace

TEST(ExpenseTypes, NewRenameAndDeleteThroughTheToolbar)
{
    LogBookSession book({fuel});
    TTYPE_EXPENSEForm &form = *TYPE_EXPENSEForm;

    QString initial;
    book.dialogs.inputAnswers = {typeName(QStringLiteral("Стоянка"), &initial), nullptr};
    QTest::mouseClick(form.ToolButton3, Qt::LeftButton);
    EXPECT_EQ(initial, QStringLiteral("Новый"));
    QTest::mouseClick(form.ToolButton3, Qt::LeftButton);  // cancelled: nothing
    EXPECT_EQ(types(book), (QStringList{QStringLiteral("1|Бензин"), QStringLiteral("2|Стоянка")}));
    EXPECT_EQ(book.module->TableTYPE_EXPENSEOPISANIE->AsString(), QStringLiteral("Стоянка"));

    book.dialogs.inputAnswers = {typeName(QStringLiteral("Парковка"), &initial)};
    QTest::mouseClick(form.ToolButton1, Qt::LeftButton);
    EXPECT_EQ(initial, QStringLiteral("Стоянка"));
    EXPECT_EQ(book.dialogs.inputPrompts, QStringList(3, QStringLiteral("Введите название")));

    book.dialogs.messageAnswers = {ModalResult::No, ModalResult::Yes};
    QTest::mouseClick(form.ToolButton4, Qt::LeftButton);
    EXPECT_EQ(types(book).size(), 2);
    QTest::mouseClick(form.ToolButton4, Qt::LeftButton);
    EXPECT_EQ(types(book), QStringList{QStringLiteral("1|Бензин")});
    EXPECT_EQ(book.dialogs.messages.last().text, QStringLiteral("Действительно удалить?"));
}

TEST(ExpenseTypes, RenamingInAnEmptyCatalogueCreatesATypeAndDeletingDoesNothing)
{
    LogBookSession book;
    QString initial = QStringLiteral("not asked");
    book.dialogs.inputAnswers = {typeName(QStringLiteral("Шины"), &initial)};
    TYPE_EXPENSEForm->ToolButton1Click();
    EXPECT_EQ(initial, QString());
    EXPECT_EQ(types(book), QStringList{QStringLiteral("1|Шины")});

    LogBookSession empty;
    empty.typeExpense->ToolButton4Click();
    EXPECT_TRUE(empty.dialogs.messages.isEmpty());
}

// A type that expenses use is refused, by the toolbar with the count and by the table whoever
// deletes through it (Ctrl+Delete in the grid); its expenses keep their type (and so their place in the report's
// per-type sums). Once no expense uses it, it is deleted as before.
TEST(ExpenseTypes, ATypeThatExpensesUseIsNotDeleted)
{
    const QString expense = QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                                           "VALUES (1, 1, '05.02.2020', 40, 2000, 'АЗС')");
    LogBookSession book({fuel, QStringLiteral("INSERT INTO SPR_AUTO (nameauto) VALUES ('Нива')"), expense, expense});
    TTYPE_EXPENSEForm &form = *TYPE_EXPENSEForm;
    QTest::mouseClick(form.ToolButton4, Qt::LeftButton);
    ASSERT_EQ(book.dialogs.messages.size(), 1);
    EXPECT_EQ(book.dialogs.messages[0].text,
              QStringLiteral("Невозможно удалить тип расходов!\rЗатрат этого типа: 2. Чтобы удалить тип, необходимо "
                             "сначала изменить или удалить эти затраты."));
    EXPECT_EQ(book.dialogs.messages[0].buttons, MessageButtons::Ok);

    EXPECT_THROW(book.module->TableTYPE_EXPENSE->Delete(), Error);
    EXPECT_EQ(types(book), QStringList{QStringLiteral("1|Бензин")});
    EXPECT_EQ(book.module->QueryDocExpensetypename->AsString(), QStringLiteral("Бензин"));

    book.module->ADOConnection1->Engine().execute(QStringLiteral("DELETE FROM DOC_EXPENSE"));
    book.dialogs.messageAnswers = {ModalResult::Yes};
    QTest::mouseClick(form.ToolButton4, Qt::LeftButton);
    EXPECT_TRUE(types(book).isEmpty());
}

TEST(ExpenseTypes, SelectTypeTakesThePickedRowOrKeepsWhatCameIn)
{
    LogBookSession book({fuel, wash});
    int id = 7;
    QString name = QStringLiteral("как было");

    // Closed without picking: both stay.
    book.dialogs.modalAnswers.push_back([](QDialog &) { return ModalResult::Cancel; });
    TYPE_EXPENSEForm->SelectType(id, name);
    EXPECT_EQ(id, 7);
    EXPECT_EQ(name, QStringLiteral("как было"));

    // A type created in the window and double clicked is the one picked.
    book.dialogs.inputAnswers = {typeName(QStringLiteral("Страховка"))};
    book.dialogs.modalAnswers.push_back(answer([](QDialog &dialog) {
        QTest::mouseClick(static_cast<TTYPE_EXPENSEForm &>(dialog).ToolButton3, Qt::LeftButton);
        return pickCurrentRow(dialog);
    }));
    TYPE_EXPENSEForm->SelectType(id, name);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(name, QStringLiteral("Страховка"));
}

TEST(ExpenseTypes, WindowShowsOneCentredColumnTitledByFieldName)
{
    LogBookSession book({fuel});
    TTYPE_EXPENSEForm &form = *TYPE_EXPENSEForm;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Типы расходов"));
    ASSERT_EQ(form.DBGridEh3->Columns.Count(), 1);
    EXPECT_EQ(form.DBGridEh3->Columns[0]->Title.Caption(), QStringLiteral("OPISANIE"));
    EXPECT_EQ(form.DBGridEh3->Columns[0]->Alignment(), taCenter);
    EXPECT_EQ(form.DBGridEh3->DataSource(), book.module->SourceTYPE_EXPENSE);
}

TEST(ExpenseTypes, TheNameBoxTakesNoMoreThanTheColumnHolds)
{
    LogBookSession book;
    book.dialogs.inputAnswers = {typeName(QString(300, u'Ш'))};
    QTest::mouseClick(TYPE_EXPENSEForm->ToolButton3, Qt::LeftButton);
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    EXPECT_EQ(types(book), QStringList{QStringLiteral("1|") + QString(255, u'Ш')});
}
