#include "editors/fuel_edit_form.h"
#include "grid/db_grid_eh.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QDateEdit>

using namespace vornak;
using namespace vornak::testing;

namespace {

const char *const vehicle = "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')";
const char *const fuelType = "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Бензин')";
const char *const washType = "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Мойка')";
const char *const fuelExpense = "INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                                "VALUES (1, 1, '05.11.2011', 30.5, 900.25, 'АЗС')";

const char *const expenses = "SELECT DATEDOC, IDAUTO, KOLVO, SUMMA, IDTYPE, OPISANIE FROM DOC_EXPENSE ORDER BY ID";

// The catalogue's answer: moves down `rowsDown` rows of its grid with the arrow key and double
// clicks the current row.
std::function<ModalResult(QDialog &)> pickType(int rowsDown)
{
    return [rowsDown](QDialog &dialog) {
        dialog.show();
        TDBGridEh *grid = static_cast<TTYPE_EXPENSEForm &>(dialog).DBGridEh3;
        grid->setFocus();
        for (int i = 0; i < rowsDown; ++i)
            QTest::keyClick(grid, Qt::Key_Down);
        const QPoint cell(grid->columnLeft(0) + 20, grid->dataTop() + grid->currentRow() * grid->rowPitch() + 5);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        dialog.hide();
        return ModalResult(dialog.result());
    };
}

// The catalogue closed without a pick.
ModalResult closeCatalogue(QDialog &)
{
    return ModalResult::Cancel;
}

TEST(FuelEditForm, NewExpenseWithAPickedTypeIsWrittenAndListed)
{
    LogBook book({vehicle, fuelType, washType});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Новая запись"));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2026, 12, 10));
        EXPECT_EQ(f.EditKolvo->text(), QStringLiteral("0"));
        EXPECT_EQ(f.EditSumma->text(), QStringLiteral("0"));
        EXPECT_EQ(f.focusWidget(), f.DateTimePicker1);
        book.dialogs.modalAnswers.push_back(pickType(1));
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(f.Edit1->text(), QStringLiteral("Мойка"));
        EXPECT_EQ(f.Edit1->Tag, 2);
        retype(f.EditKolvo, QStringLiteral("40"));
        retype(f.EditSumma, QStringLiteral("1200"));
        retype(f.EditOpisanie, QStringLiteral("Заправка \"Лукойл\""));
        return click(f, f.Button1);
    });
    form.NewRecord();

    EXPECT_EQ(book.table(expenses), QStringLiteral("DATEDOC\tIDAUTO\tKOLVO\tSUMMA\tIDTYPE\tOPISANIE\n"
                                                   "10.12.2026\t1\t40\t1200\t2\tЗаправка \"Лукойл\""));
    EXPECT_EQ(DataModule1->ADOQuery1->SQL.Lines(),
              QStringList({QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )"),
                           QStringLiteral("values ( '10.12.2026',1,40,1200,2,\"Заправка \"\"Лукойл\"\"\")")}));
    ASSERT_EQ(DataModule1->QueryDocExpense->RecordCount(), 1);
    EXPECT_EQ(DataModule1->QueryDocExpensetypename->AsString(), QStringLiteral("Мойка"));
}

// Without a pick the dialog takes the type of the expense current in the list, in a new
// expense as well; with an empty list that is no type.
TEST(FuelEditForm, ClosingTheCatalogueTakesTheTypeOfTheCurrentExpense)
{
    LogBook book({vehicle, fuelType, washType, fuelExpense});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        EXPECT_EQ(f.Edit1->Tag, 0);
        book.dialogs.modalAnswers.push_back(closeCatalogue);
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(f.Edit1->text(), QStringLiteral("Бензин"));
        EXPECT_EQ(f.Edit1->Tag, 1);
        return click(f, f.Button1);
    });
    form.NewRecord();
    EXPECT_EQ(book.table("SELECT IDTYPE FROM DOC_EXPENSE ORDER BY ID"), QStringLiteral("IDTYPE\n1\n1"));

    LogBook empty({vehicle, fuelType});
    empty.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        empty.dialogs.modalAnswers.push_back(closeCatalogue);
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(f.Edit1->text(), QString());
        EXPECT_EQ(f.Edit1->Tag, 0);
        return click(f, f.Button1);
    });
    form.NewRecord();
    EXPECT_EQ(empty.table("SELECT IDTYPE, KOLVO, SUMMA FROM DOC_EXPENSE"),
              QStringLiteral("IDTYPE\tKOLVO\tSUMMA\n0\t0\t0"));
    DataModule1->QueryDocExpense->First();
    EXPECT_EQ(DataModule1->QueryDocExpensetypename->AsString(), QString());
}

// Amounts shown with the regional separator are saved unchanged; a point is accepted as well;
// an emptied quantity or amount of an edited expense is saved as 0.
TEST(FuelEditForm, EditingKeepsFractionsAndSavesEmptiedNumbersAsZero)
{
    LogBook book({vehicle, fuelType, washType, fuelExpense});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([](TFuelEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Редактирование записи"));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2011, 11, 5));
        EXPECT_EQ(f.Edit1->text(), QStringLiteral("Бензин"));
        EXPECT_EQ(f.Edit1->Tag, 1);
        EXPECT_EQ(f.EditKolvo->text(), QStringLiteral("30,5"));
        EXPECT_EQ(f.EditSumma->text(), QStringLiteral("900,25"));
        EXPECT_EQ(f.EditOpisanie->text(), QStringLiteral("АЗС"));
        return click(f, f.Button1);
    });
    form.EditRecord();
    EXPECT_EQ(book.table(expenses), QStringLiteral("DATEDOC\tIDAUTO\tKOLVO\tSUMMA\tIDTYPE\tOPISANIE\n"
                                                   "05.11.2011\t1\t30,5\t900,25\t1\tАЗС"));
    EXPECT_EQ(
        DataModule1->ADOQuery1->SQL.Lines(),
        QStringList({QStringLiteral("UPDATE DOC_EXPENSE SET"), QStringLiteral("DOC_EXPENSE.datedoc = \"05.11.2011\","),
                     QStringLiteral("DOC_EXPENSE.KOLVO = 30.5,"), QStringLiteral("DOC_EXPENSE.SUMMA = 900.25,"),
                     QStringLiteral("DOC_EXPENSE.idtype = 1,"), QStringLiteral("DOC_EXPENSE.opisanie = \"АЗС\""),
                     QStringLiteral("WHERE DOC_EXPENSE.id=1")}));

    const struct {
        const char *quantity;
        const char *amount;
        const char *stored;
    } cases[] = {
        {"", "12,5", "0\t12,5"},
        {"12.5", "", "12,5\t0"},
        {" -2,75 ", "1e3", "-2,75\t1000"},
    };
    for (const auto &c : cases) {
        book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
            retype(f.EditKolvo, QString::fromUtf8(c.quantity));
            retype(f.EditSumma, QString::fromUtf8(c.amount));
            return click(f, f.Button1);
        });
        form.EditRecord();
        EXPECT_EQ(book.table("SELECT KOLVO, SUMMA FROM DOC_EXPENSE"),
                  QStringLiteral("KOLVO\tSUMMA\n") + QString::fromUtf8(c.stored))
            << c.quantity << " / " << c.amount;
    }
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
}

TEST(FuelEditForm, DeletingAsksThenRemovesTheExpenseByStatement)
{
    LogBook book({vehicle, fuelType, fuelExpense,
                  "INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) VALUES (1, 1, "
                  "'07.11.2011', 1, 50, 'Мойка')"});
    TFuelEditForm form;
    book.dialogs.messageAnswers = {ModalResult::No, ModalResult::Yes};
    form.DelRecord();
    EXPECT_EQ(book.table("SELECT ID FROM DOC_EXPENSE ORDER BY ID"), QStringLiteral("ID\n1\n2"));
    form.DelRecord();
    EXPECT_EQ(book.table("SELECT ID FROM DOC_EXPENSE ORDER BY ID"), QStringLiteral("ID\n2"));
    EXPECT_EQ(book.messageTexts(), QStringList(2, QStringLiteral("Действительно удалить?")));
    EXPECT_EQ(DataModule1->ADOQuery1->SQL.Lines(),
              QStringList({QStringLiteral("DELETE DOC_EXPENSE.ID"), QStringLiteral("FROM DOC_EXPENSE"),
                           QStringLiteral("WHERE DOC_EXPENSE.ID=1")}));
    EXPECT_EQ(DataModule1->QueryDocExpense->RecordCount(), 1);
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM SYS_TYPE_EXPENSE"), QStringLiteral("n\n1"));
}

TEST(FuelEditForm, EditAndDeleteDoNothingWithoutAnExpense)
{
    LogBook book({vehicle});
    TFuelEditForm form;
    form.EditRecord();
    form.DelRecord();
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
}

TEST(FuelEditForm, DescriptionIsStoredAsTypedAndNothingElseChanges)
{
    const QString description = QStringLiteral("x\"); DELETE FROM SPR_AUTO; --");
    LogBook book({vehicle, fuelType, fuelExpense});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        retype(f.EditOpisanie, description);
        return click(f, f.Button1);
    });
    form.NewRecord();
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        retype(f.EditOpisanie, QStringLiteral("'; DROP TABLE DOC_EXPENSE; '") + description);
        return click(f, f.Button1);
    });
    DataModule1->QueryDocExpense->First();  // the stored expense, dated before the new one
    form.EditRecord();

    EXPECT_EQ(book.table("SELECT OPISANIE FROM DOC_EXPENSE ORDER BY ID"),
              QStringLiteral("OPISANIE\n'; DROP TABLE DOC_EXPENSE; '") + description + u'\n' + description);
    EXPECT_EQ(book.table("SELECT id, nameauto FROM SPR_AUTO"), QStringLiteral("id\tnameauto\n1\tЛада"));
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
}

TEST(FuelEditForm, TheDescriptionBoxTakesNoMoreThanTheColumnHolds)
{
    LogBook book({vehicle, fuelType});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &f) {
        f.EditOpisanie->setFocus();
        QTest::keyClicks(f.EditOpisanie, QString(300, u'x'));
        return click(f, f.Button1);
    });
    form.NewRecord();
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    EXPECT_EQ(book.table("SELECT OPISANIE FROM DOC_EXPENSE"), QStringLiteral("OPISANIE\n") + QString(255, u'x'));
}

TEST(FuelEditForm, SaveRefusesNumbersThatAreNotOneAndKeepsTheDialogOpen)
{
    LogBook book({vehicle});
    TFuelEditForm form;
    book.answerNext<TFuelEditForm>([](TFuelEditForm &f) {
        retype(f.EditSumma, QStringLiteral("abc"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        EXPECT_EQ(f.EditSumma->text(), QStringLiteral("abc"));
        EXPECT_EQ(f.focusWidget(), f.EditSumma);
        retype(f.EditSumma, QStringLiteral("100"));
        retype(f.EditKolvo, QString());
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        retype(f.EditKolvo, QStringLiteral("1 200"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        return click(f, f.Button2);
    });
    form.NewRecord();

    EXPECT_EQ(book.messageTexts(),
              QStringList({QStringLiteral("\"abc\" в поле \"Сумма\" не является числом."),
                           QStringLiteral("Поле \"Количество\" не заполнено."),
                           QStringLiteral("\"1 200\" в поле \"Количество\" не является числом.")}));
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EXPENSE"), QStringLiteral("n\n0"));
}

}  // namespace
