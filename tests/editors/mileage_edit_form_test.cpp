#include "editors/mileage_edit_form.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QDateEdit>

using namespace vornak;
using namespace vornak::testing;

namespace {

// Vehicle 1 starts at 900 with readings 1000, 1300 and 1600; vehicle 2 starts at 1000 and has none.
const std::initializer_list<const char *> threeReadings = {
    "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')",
    "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 1000, '01.01.2011')",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('01.11.2011', 1, 1000, 100)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('05.11.2011', 1, 1300, 300)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('09.11.2011', 1, 1600, 300)",
};

const char *const readings = "SELECT datedoc, idauto, tekprobeg, raznica FROM DOC_MILEAGE ORDER BY id";

// Moves the mileage list to the reading with this total.
void selectReading(int total)
{
    TADOQuery *list = DataModule1->QueryDocMileage;
    for (list->First(); !list->Eof(); list->Next()) {
        if (DataModule1->QueryDocMileagetekprobeg->AsInteger() == total)
            return;
    }
    FAIL() << "no reading " << total;
}

TEST(MileageEditForm, NewReadingProposesTheDistanceAndIsWrittenWithTheVehicleKey)
{
    LogBook book(threeReadings);
    DataModule1->TableSprAuto->Next();  // Нива, 1000 at the start, no readings
    TMileageEditForm form;
    book.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Новый пробег"));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2026, 12, 10));
        EXPECT_EQ(f.focusWidget(), f.Button1);
        retype(f.EditObsh, QStringLiteral("1250"));
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("250"));
        return click(f, f.Button1);
    });
    form.NewRecord();

    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    EXPECT_EQ(book.table("SELECT datedoc, idauto, tekprobeg, raznica FROM DOC_MILEAGE WHERE idauto = 2"),
              QStringLiteral("datedoc\tidauto\ttekprobeg\traznica\n10.12.2026\t2\t1250\t250"));
    ASSERT_TRUE(DataModule1->QueryDocMileage->Active());
    EXPECT_EQ(DataModule1->QueryDocMileage->RecordCount(), 1);
    EXPECT_EQ(DataModule1->ADOQuery1->SQL.Lines(),
              QStringList({QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)"),
                           QStringLiteral("values ( '10.12.2026',2,1250,250)")}));
}

// The highest other total counts, whatever the dates and whichever reading the list shows.
TEST(MileageEditForm, ProposalSubtractsTheHighestOtherReading)
{
    LogBook book(threeReadings);
    TMileageEditForm form;
    selectReading(1300);
    book.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        retype(f.EditObsh, QStringLiteral("1750"));
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("150"));
        return click(f, f.Button2);
    });
    form.NewRecord();

    book.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Редактирование пробега"));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2011, 11, 5));
        EXPECT_EQ(f.EditObsh->text(), QStringLiteral("1300"));
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("300"));
        retype(f.EditObsh, QStringLiteral("1300"));
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("-300"));
        return click(f, f.Button2);
    });
    form.EditRecord();

    // Cancelling wrote nothing although the aggregate queries ran.
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    EXPECT_EQ(book.table(readings), QStringLiteral("datedoc\tidauto\ttekprobeg\traznica\n"
                                                   "01.11.2011\t1\t1000\t100\n05.11.2011\t1\t1300\t300\n"
                                                   "09.11.2011\t1\t1600\t300"));
}

TEST(MileageEditForm, ProposesNothingWhileTheTotalIsNoWholeNumber)
{
    LogBook book(threeReadings);
    TMileageEditForm form;
    book.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        retype(f.Edit2, QStringLiteral("7"));
        f.EditObsh->setFocus();
        // Each key release proposes for the text typed so far, or leaves the proposal alone.
        const struct {
            Qt::Key key;
            const char *proposal;
        } keys[] = {
            {Qt::Key_Minus, "7"},          // "-"
            {Qt::Key_1, "-1601"},          // "-1"
            {Qt::Key_Comma, "-1601"},      // "-1,"
            {Qt::Key_5, "-1601"},          // "-1,5"
            {Qt::Key_Home, "-1601"},       // "-1,5"
            {Qt::Key_Delete, "-1601"},     // "1,5"
            {Qt::Key_End, "-1601"},        // "1,5"
            {Qt::Key_Backspace, "-1601"},  // "1,"
            {Qt::Key_Backspace, "-1599"},  // "1"
            {Qt::Key_Backspace, "-1599"},  // ""
            {Qt::Key_2, "-1598"},          // "2"
        };
        for (const auto &k : keys) {
            QTest::keyClick(f.EditObsh, k.key);
            EXPECT_EQ(f.Edit2->text(), QString::fromUtf8(k.proposal)) << f.EditObsh->text().toStdString();
        }
        return click(f, f.Button2);
    });
    form.NewRecord();
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
}

TEST(MileageEditForm, ProposesNothingWithoutAVehicle)
{
    LogBook empty;
    TMileageEditForm form;
    empty.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        retype(f.EditObsh, QStringLiteral("1250"));
        EXPECT_EQ(f.Edit2->text(), QString());
        return click(f, f.Button2);
    });
    form.NewRecord();
    EXPECT_TRUE(empty.dialogs.messages.isEmpty());
}

TEST(MileageEditForm, EditingWritesTheTypedValuesAndTheNewDate)
{
    LogBook book(threeReadings);
    TMileageEditForm form;
    selectReading(1600);
    book.answerNext<TMileageEditForm>([](TMileageEditForm &f) {
        f.DateTimePicker1->setFocus();
        QTest::keyClick(f.DateTimePicker1, Qt::Key_Up);  // the day: 09 -> 10
        retype(f.EditObsh, QStringLiteral("1650"));
        retype(f.Edit2, QStringLiteral("340"));
        return click(f, f.Button1);
    });
    form.EditRecord();

    EXPECT_EQ(book.table(readings), QStringLiteral("datedoc\tidauto\ttekprobeg\traznica\n"
                                                   "01.11.2011\t1\t1000\t100\n05.11.2011\t1\t1300\t300\n"
                                                   "10.11.2011\t1\t1650\t340"));
    EXPECT_EQ(
        DataModule1->ADOQuery1->SQL.Lines(),
        QStringList({QStringLiteral("UPDATE DOC_MILEAGE SET"), QStringLiteral("DOC_MILEAGE.datedoc = \"10.11.2011\","),
                     QStringLiteral("DOC_MILEAGE.tekprobeg = 1650,"), QStringLiteral("DOC_MILEAGE.raznica = 340"),
                     QStringLiteral("WHERE DOC_MILEAGE.id=3")}));
    DataModule1->QueryDocMileage->Last();
    EXPECT_EQ(DataModule1->QueryDocMileagetekprobeg->AsInteger(), 1650);
}

TEST(MileageEditForm, DeletingAsksAndLeavesTheOtherReadingsAsTheyAre)
{
    LogBook book(threeReadings);
    TMileageEditForm form;
    selectReading(1300);
    book.dialogs.messageAnswers = {ModalResult::No, ModalResult::Yes};
    form.DelRecord();
    EXPECT_EQ(DataModule1->QueryDocMileage->RecordCount(), 3);
    form.DelRecord();

    ASSERT_EQ(book.dialogs.messages.size(), 2);
    EXPECT_EQ(book.dialogs.messages[0].text, QStringLiteral("Действительно удалить?"));
    EXPECT_EQ(book.dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(book.table("SELECT tekprobeg, raznica FROM DOC_MILEAGE ORDER BY id"),
              QStringLiteral("tekprobeg\traznica\n1000\t100\n1600\t300"));
    EXPECT_EQ(DataModule1->QueryDocMileage->RecordCount(), 2);
}

TEST(MileageEditForm, EditAndDeleteDoNothingWithoutAReading)
{
    LogBook book({"INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 0, '01.01.2011')"});
    TMileageEditForm form;
    book.answerNext<TMileageEditForm>([](TMileageEditForm &) { return ModalResult::Ok; });
    form.EditRecord();
    form.DelRecord();
    EXPECT_EQ(book.dialogs.modalAnswers.size(), 1u);
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    book.dialogs.modalAnswers.clear();
}

// A number that is not one keeps the dialog open with what was typed; nothing is written until
// it is mended.
TEST(MileageEditForm, SaveRefusesTotalsAndDistancesThatAreNoWholeNumbers)
{
    LogBook book(threeReadings);
    TMileageEditForm form;
    book.answerNext<TMileageEditForm>([&](TMileageEditForm &f) {
        retype(f.EditObsh, QStringLiteral("abc"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        EXPECT_EQ(f.EditObsh->text(), QStringLiteral("abc"));
        EXPECT_EQ(f.focusWidget(), f.EditObsh);

        retype(f.EditObsh, QStringLiteral("1700"));
        retype(f.Edit2, QString());
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        retype(f.Edit2, QStringLiteral("12,5"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_MILEAGE"), QStringLiteral("n\n3"));

        retype(f.Edit2, QStringLiteral(" 100 "));
        return click(f, f.Button1);
    });
    form.NewRecord();

    EXPECT_EQ(book.messageTexts(),
              QStringList({QStringLiteral("\"abc\" в поле \"Общий пробег\" не является целым числом."),
                           QStringLiteral("Поле \"Суточный пробег\" не заполнено."),
                           QStringLiteral("\"12,5\" в поле \"Суточный пробег\" не является целым числом.")}));
    EXPECT_EQ(book.table("SELECT tekprobeg, raznica FROM DOC_MILEAGE WHERE id = 4"),
              QStringLiteral("tekprobeg\traznica\n1700\t100"));
}

}  // namespace
