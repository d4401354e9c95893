#include "data/db_edit.h"
#include "platform/sqlcipher_connection.h"
#include "tests/editors/log_book_session.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <limits>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QString twoVehicles[] = {
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 1000, '01.02.2020')"),
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Волга', 5000, '03.04.2021')"),
};

QStringList vehicles(const LogBookSession &book)
{
    return book.rows(QStringLiteral("select id, nameauto, beginkm, begindate from SPR_AUTO order by id"));
}

ModalResult clickSave(QDialog &dialog)
{
    QTest::mouseClick(static_cast<TAutoEditForm &>(dialog).Button1, Qt::LeftButton);
    return ModalResult(dialog.result());
}

const QString december2026 = QStringLiteral("10.12.2026");  // the fixed clock's today

// The dialog's answer: the name retyped as "Нива 4x4", then Save.
ModalResult renameAndSave(QDialog &dialog)
{
    auto &form = static_cast<TAutoEditForm &>(dialog);
    form.DBEdit1->setFocus();
    form.DBEdit1->selectAll();
    typeText(form.DBEdit1, QStringLiteral("Нива 4x4"));
    return clickSave(dialog);
}

// The first vehicle's starting date as the file holds it, written and read past the data layer.
void storeStartingDate(LogBookSession &book, double days)
{
    SqlCipherConnection::open(book.file.path(), log_book::password)
        ->runStatement(QStringLiteral("UPDATE SPR_AUTO SET begindate = ? WHERE id = 1"), {Variant(days)});
    book.module->TableSprAuto->Close();
    book.module->TableSprAuto->Open();
}

double storedStartingDate(const LogBookSession &book)
{
    return SqlCipherConnection::open(book.file.path(), log_book::password)
        ->read(QStringLiteral("SELECT begindate FROM SPR_AUTO WHERE id = 1"), {})
        .values.value(0)
        .toDouble();
}

}  // namespace

TEST(VehicleDialog, NewVehicleIsWrittenOnSaveWithTodayAsStartDate)
{
    LogBookSession book;
    QString caption;
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        auto &form = static_cast<TAutoEditForm &>(dialog);
        caption = form.windowTitle();
        EXPECT_EQ(form.DateTimePicker1->date(), QDate(2026, 12, 10));
        typeInto(form.DBEdit1, QStringLiteral("Москвич"));
        typeInto(form.DBEdit2, QStringLiteral("-12"));
        return clickSave(dialog);
    }));
    AutoEditForm->NewRecord();
    EXPECT_EQ(caption, QStringLiteral("Новый автомобиль"));
    EXPECT_EQ(vehicles(book), QStringList{QStringLiteral("1|Москвич|-12|") + december2026});
    EXPECT_EQ(book.module->TableSprAuto->State(), dsBrowse);
    EXPECT_EQ(book.module->TableSprAutoid->AsString(), QStringLiteral("1"));
}

TEST(VehicleDialog, CancelWritesNothingAndTheVehicleBeforeIsCurrentAgain)
{
    LogBookSession book({twoVehicles[0], twoVehicles[1]});
    book.module->TableSprAuto->Last();
    const QStringList before = vehicles(book);
    for (const bool byButton : {true, false}) {
        book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
            auto &form = static_cast<TAutoEditForm &>(dialog);
            typeInto(form.DBEdit1, QStringLiteral("Лишний"));
            typeInto(form.DBEdit2, QStringLiteral("7"));
            if (byButton)
                QTest::mouseClick(form.Button2, Qt::LeftButton);
            return byButton ? ModalResult(dialog.result()) : ModalResult::Cancel;  // closed by its window
        }));
        AutoEditForm->NewRecord();
        EXPECT_EQ(vehicles(book), before);
        EXPECT_EQ(book.module->TableSprAuto->State(), dsBrowse);
        EXPECT_EQ(book.module->TableSprAutonameauto->AsString(), QStringLiteral("Волга"));
    }
}

TEST(VehicleDialog, EditWritesOnlyWhatChanged)
{
    LogBookSession book({twoVehicles[0]});
    int posted = 0;
    book.module->TableSprAuto->AfterPost = [&](TDataSet *) { ++posted; };

    // Save without a change: nothing is posted.
    QString caption;
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        caption = dialog.windowTitle();
        EXPECT_EQ(static_cast<TAutoEditForm &>(dialog).DateTimePicker1->date(), QDate(2020, 2, 1));
        return clickSave(dialog);
    }));
    AutoEditForm->EditRecord();
    EXPECT_EQ(caption, QStringLiteral("Редактирование автомобиля"));
    EXPECT_EQ(posted, 0);

    // Only the date changed in the picker (by keys): the new begindate is written.
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        auto *picker = static_cast<TAutoEditForm &>(dialog).DateTimePicker1;
        picker->setFocus();
        picker->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(picker, Qt::Key_Up);
        return clickSave(dialog);
    }));
    AutoEditForm->EditRecord();
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(vehicles(book), QStringList{QStringLiteral("1|Нива|1000|01.02.2021")});

    // A typed name still in its box when Save is pressed is written; Cancel undoes the picker.
    book.dialogs.modalAnswers.push_back(answer(renameAndSave));
    AutoEditForm->EditRecord();
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        auto *picker = static_cast<TAutoEditForm &>(dialog).DateTimePicker1;
        picker->setFocus();
        picker->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(picker, Qt::Key_Up);
        QTest::mouseClick(static_cast<TAutoEditForm &>(dialog).Button2, Qt::LeftButton);
        return ModalResult(dialog.result());
    }));
    AutoEditForm->EditRecord();
    EXPECT_EQ(vehicles(book), QStringList{QStringLiteral("1|Нива 4x4|1000|01.02.2021")});
    EXPECT_EQ(book.module->TableSprAutobegindate->AsString(), QStringLiteral("01.02.2021"));
}

// A file may hold a starting date that names no date: the picker shows the zero date, and the
// stored value stays as it is through OK without edits and through another field's edit.
TEST(VehicleDialog, AStartingDateOutsideTheCalendarIsKeptUntilADateIsPicked)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const double stored : {1e300, -1e300, inf, -inf}) {
        SCOPED_TRACE(stored);
        LogBookSession book({twoVehicles[0]});
        storeStartingDate(book, stored);
        book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
            EXPECT_EQ(static_cast<TAutoEditForm &>(dialog).DateTimePicker1->date(), QDate(1899, 12, 30));
            return clickSave(dialog);
        }));
        AutoEditForm->EditRecord();
        EXPECT_EQ(storedStartingDate(book), stored);

        book.dialogs.modalAnswers.push_back(answer(renameAndSave));
        AutoEditForm->EditRecord();
        EXPECT_EQ(storedStartingDate(book), stored);
        EXPECT_EQ(vehicles(book), QStringList{QStringLiteral("1|Нива 4x4|1000|")});
        EXPECT_EQ(book.dialogs.messages.size(), 0);
    }
}

TEST(VehicleDialog, RefusedMileageKeepsTheDialogOpenUntilCorrected)
{
    LogBookSession book({twoVehicles[0]});
    bool stillOpen = false;
    TDataSetState stateWhileOpen = dsInactive;
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        auto &form = static_cast<TAutoEditForm &>(dialog);
        typeInto(form.DBEdit1, QStringLiteral("Запорожец"));
        typeInto(form.DBEdit2, QStringLiteral("1-2"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        stillOpen = form.isVisible() && form.result() == 0;
        stateWhileOpen = book.module->TableSprAuto->State();
        EXPECT_TRUE(form.DBEdit2->hasFocus());
        EXPECT_EQ(form.DBEdit2->selectedText(), QStringLiteral("1-2"));
        typeText(form.DBEdit2, QStringLiteral("300"));
        return clickSave(dialog);
    }));
    AutoEditForm->NewRecord();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(stateWhileOpen, dsInsert);
    ASSERT_EQ(book.dialogs.messages.size(), 1);
    EXPECT_EQ(book.dialogs.messages[0].text,
              QStringLiteral("'1-2' is not a valid integer value for field 'Начальный пробег'"));
    EXPECT_EQ(vehicles(book).last(), QStringLiteral("2|Запорожец|300|") + december2026);
}

TEST(VehicleDialog, RefusedValueThenCancelWritesNothing)
{
    LogBookSession book({twoVehicles[0]});
    const QStringList before = vehicles(book);
    // The answer says OK without pressing Save: the dialog is shown again after the refusal.
    book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
        auto &form = static_cast<TAutoEditForm &>(dialog);
        form.DBEdit2->setFocus();
        form.DBEdit2->selectAll();
        typeText(form.DBEdit2, QStringLiteral("--"));
        return ModalResult::Ok;
    }));
    book.dialogs.modalAnswers.push_back([](QDialog &) { return ModalResult::Cancel; });
    AutoEditForm->EditRecord();
    EXPECT_EQ(book.dialogs.messages.size(), 1);
    EXPECT_TRUE(book.dialogs.modalAnswers.empty());
    EXPECT_EQ(vehicles(book), before);
    EXPECT_EQ(book.module->TableSprAuto->State(), dsBrowse);
    EXPECT_EQ(book.module->TableSprAutobeginkm->AsString(), QStringLiteral("1000"));
}

TEST(VehicleDialog, DeleteRefusesAVehicleWithAnyKindOfEntry)
{
    const QStringList entries = {
        QStringLiteral(
            "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('05.02.2020', 1, 1100, 100)"),
        QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage, opisanie) VALUES (1, 0, 0, "
                       "'05.02.2020', 0, 'ТО')"),
        QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) VALUES (0, 1, "
                       "'05.02.2020', 1, 1, 'x')"),
    };
    for (const QString &entry : entries) {
        LogBookSession book({twoVehicles[0], twoVehicles[1], entry});
        AutoEditForm->DelRecord();
        ASSERT_EQ(book.dialogs.messages.size(), 1) << entry.toStdString();
        EXPECT_EQ(book.dialogs.messages[0].text, TDataModule1::vehicleDeleteRefusal);
        EXPECT_EQ(book.dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(vehicles(book).size(), 2);
    }
    EXPECT_TRUE(TDataModule1::vehicleDeleteRefusal.startsWith(QStringLiteral("Невозможно удалить автомобиль!\rЧтобы")));
}

TEST(VehicleDialog, DeleteWithoutEntriesAsksAndDeletesOnYesOnly)
{
    LogBookSession book({twoVehicles[0], twoVehicles[1]});
    book.dialogs.messageAnswers = {ModalResult::No, ModalResult::Yes};
    AutoEditForm->DelRecord();
    EXPECT_EQ(vehicles(book).size(), 2);
    AutoEditForm->DelRecord();
    ASSERT_EQ(book.dialogs.messages.size(), 2);
    EXPECT_EQ(book.dialogs.messages[1].text, QStringLiteral("Действительно удалить?"));
    EXPECT_EQ(book.dialogs.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(vehicles(book).size(), 1);
    EXPECT_EQ(book.module->TableSprAutonameauto->AsString(), QStringLiteral("Волга"));
}

TEST(VehicleDialog, EditAndDeleteDoNothingWithoutVehicles)
{
    LogBookSession book;
    AutoEditForm->EditRecord();
    AutoEditForm->DelRecord();
    EXPECT_TRUE(book.dialogs.messages.isEmpty());
    EXPECT_EQ(book.module->TableSprAuto->State(), dsBrowse);
    EXPECT_TRUE(vehicles(book).isEmpty());
}

TEST(VehicleDialog, LayoutAndTabOrder)
{
    LogBookSession book;
    TAutoEditForm &form = *AutoEditForm;
    EXPECT_EQ(form.size(), QSize(273, 135));
    EXPECT_EQ(form.DBEdit1->geometry(), QRect(124, 8, 141, 24));
    EXPECT_EQ(form.DBEdit2->DataField(), QStringLiteral("beginkm"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("Дата начала учета"));
    const QList<QWidget *> order = {form.Button1, form.Button2, form.DBEdit1, form.DBEdit2, form.DateTimePicker1};
    for (int i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(order[i]->nextInFocusChain(), order[i + 1]) << i;
}
