#include "editors/events_edit_form.h"
#include "platform/text_file.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace vornak;
using namespace vornak::testing;

namespace {

const std::initializer_list<const char *> oneEvent = {
    "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')",
    "INSERT INTO DOC_EVENTS (datedoc, idauto, mileage, ENDE, idtype, opisanie) VALUES ('01.12.2011', 1, 15000, 5, 1, "
    "'ТО-1')",
};

const char *const events = "SELECT datedoc, idauto, mileage, ENDE, idtype, opisanie FROM DOC_EVENTS ORDER BY id";

QByteArray statementFile()
{
    QFile file(QStringLiteral("ADOQuery1.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

TEST(EventsEditForm, NewEventWithTheDefaultsIsWrittenAndItsStatementKept)
{
    LogBook book({"INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"});
    TEventsEditForm form;
    book.answerNext<TEventsEditForm>([](TEventsEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Новая "));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2026, 12, 10));
        EXPECT_EQ(f.ComboBoxStatus->currentText(), QStringLiteral("В процессе"));
        EXPECT_EQ(f.ComboBoxShowType->currentText(), QStringLiteral("по дате "));
        EXPECT_EQ(f.EditMileAge->text(), QStringLiteral("0"));
        retype(f.EditOpisanie, QStringLiteral("Замена масла"));
        return click(f, f.Button1);
    });
    form.NewRecord();

    EXPECT_EQ(book.table(events), QStringLiteral("datedoc\tidauto\tmileage\tENDE\tidtype\topisanie\n"
                                                 "10.12.2026\t1\t0\t0\t0\tЗамена масла"));
    DataModule1->QueryDocEvents->First();
    EXPECT_EQ(DataModule1->QueryDocEventsgotovo_end->AsString(), QStringLiteral("в процессе"));
    EXPECT_EQ(DataModule1->QueryDocEventstyps->AsString(), QStringLiteral("по дате"));
    EXPECT_EQ(statementFile(),
              encodeAnsi(QStringLiteral("INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\r\n"
                                        "values ( '10.12.2026',1,0,0,0,\"Замена масла\")\r\n")));
}

TEST(EventsEditForm, CancellingANewEventWritesNeitherTheFileNorTheStatement)
{
    LogBook book({"INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"});
    TEventsEditForm form;
    book.answerNext<TEventsEditForm>([](TEventsEditForm &f) {
        retype(f.EditOpisanie, QStringLiteral("ТО-2"));
        return click(f, f.Button2);
    });
    form.NewRecord();
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EVENTS"), QStringLiteral("n\n0"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("ADOQuery1.txt")));
}

// A stored code without an item shows no selection and is saved as -1 unless one is chosen.
TEST(EventsEditForm, EditingShowsTheEventAndWritesTheChosenItems)
{
    LogBook book(oneEvent);
    TEventsEditForm form;
    book.answerNext<TEventsEditForm>([](TEventsEditForm &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Редактирование"));
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(2011, 12, 1));
        EXPECT_EQ(f.ComboBoxStatus->currentIndex(), -1);
        EXPECT_EQ(f.ComboBoxShowType->currentText(), QStringLiteral("по пробегу"));
        EXPECT_EQ(f.EditMileAge->text(), QStringLiteral("15000"));
        EXPECT_EQ(f.EditOpisanie->text(), QStringLiteral("ТО-1"));
        f.ComboBoxShowType->setFocus();
        QTest::keyClick(f.ComboBoxShowType, Qt::Key_Up);
        retype(f.EditMileAge, QString());
        return click(f, f.Button1);
    });
    form.EditRecord();
    EXPECT_EQ(book.table(events), QStringLiteral("datedoc\tidauto\tmileage\tENDE\tidtype\topisanie\n"
                                                 "01.12.2011\t1\t0\t-1\t0\tТО-1"));

    book.answerNext<TEventsEditForm>([](TEventsEditForm &f) {
        EXPECT_EQ(f.ComboBoxStatus->currentIndex(), -1);
        EXPECT_EQ(f.EditMileAge->text(), QStringLiteral("0"));
        f.ComboBoxStatus->setFocus();
        QTest::keyClick(f.ComboBoxStatus, Qt::Key_Down);
        QTest::keyClick(f.ComboBoxStatus, Qt::Key_Down);
        retype(f.EditMileAge, QStringLiteral("15100"));
        return click(f, f.Button1);
    });
    form.EditRecord();
    EXPECT_EQ(book.table(events), QStringLiteral("datedoc\tidauto\tmileage\tENDE\tidtype\topisanie\n"
                                                 "01.12.2011\t1\t15100\t1\t0\tТО-1"));
    DataModule1->QueryDocEvents->First();
    EXPECT_EQ(DataModule1->QueryDocEventsgotovo_end->AsString(), QStringLiteral("завершен"));
    EXPECT_EQ(statementFile(), QByteArray("<none>"));
}

TEST(EventsEditForm, DeletingAsksFirst)
{
    LogBook book(oneEvent);
    TEventsEditForm form;
    book.dialogs.messageAnswers = {ModalResult::No, ModalResult::Yes};
    form.DelRecord();
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EVENTS"), QStringLiteral("n\n1"));
    form.DelRecord();
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EVENTS"), QStringLiteral("n\n0"));
    EXPECT_EQ(book.messageTexts(), QStringList(2, QStringLiteral("Действительно удалить?")));
    EXPECT_TRUE(DataModule1->QueryDocEvents->IsEmpty());

    form.EditRecord();  // no event left: nothing is shown
    form.DelRecord();
    EXPECT_EQ(book.dialogs.messages.size(), 2);
}

// Whatever the description holds is stored as typed; no typed text reaches the statement's
// structure.
TEST(EventsEditForm, DescriptionsAreStoredAsTyped)
{
    const QString descriptions[] = {
        QStringLiteral("x\"); DELETE FROM SPR_AUTO; --"),
        QStringLiteral("масло 'Лукойл' :param \"5W-40\""),
    };
    for (const QString &description : descriptions) {
        LogBook book(oneEvent);
        TEventsEditForm form;
        book.answerNext<TEventsEditForm>([&](TEventsEditForm &f) {
            retype(f.EditOpisanie, description);
            return click(f, f.Button1);
        });
        form.NewRecord();
        book.answerNext<TEventsEditForm>([&](TEventsEditForm &f) {
            EXPECT_EQ(f.EditOpisanie->text(), description);
            QTest::keyClick(f.EditOpisanie, Qt::Key_End);
            typeText(f.EditOpisanie, QStringLiteral("\""));
            return click(f, f.Button1);
        });
        DataModule1->QueryDocEvents->Last();  // the new event, due after the stored one
        form.EditRecord();

        EXPECT_EQ(book.table("SELECT opisanie FROM DOC_EVENTS ORDER BY id"),
                  QStringLiteral("opisanie\nТО-1\n") + description + u'"');
        EXPECT_EQ(book.table("SELECT id, nameauto FROM SPR_AUTO"), QStringLiteral("id\tnameauto\n1\tЛада"));
        EXPECT_TRUE(book.dialogs.messages.isEmpty());
    }
}

// The statement file is written before the dialog closes: when it cannot be written, the message
// is shown and the dialog stays open with what was typed, so saving again keeps the entry.
TEST(EventsEditForm, AnUnwritableStatementFileKeepsTheDialogOpenWithTheEntry)
{
    LogBook book({"INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"});
    TEventsEditForm form;
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("ADOQuery1.txt")));  // a folder in the file's place
    book.answerNext<TEventsEditForm>([&](TEventsEditForm &f) {
        retype(f.EditMileAge, QStringLiteral("15000"));
        retype(f.EditOpisanie, QStringLiteral("Замена ремня"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        EXPECT_EQ(f.EditMileAge->text(), QStringLiteral("15000"));
        EXPECT_EQ(f.EditOpisanie->text(), QStringLiteral("Замена ремня"));
        EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EVENTS"), QStringLiteral("n\n0"));
        EXPECT_TRUE(QDir().rmdir(QStringLiteral("ADOQuery1.txt")));
        return click(f, f.Button1);
    });
    form.NewRecord();

    ASSERT_EQ(book.dialogs.messages.size(), 1);
    EXPECT_TRUE(book.dialogs.messages[0].text.contains(QStringLiteral("ADOQuery1.txt")))
        << book.dialogs.messages[0].text.toStdString();
    EXPECT_EQ(book.table("SELECT mileage, opisanie FROM DOC_EVENTS"),
              QStringLiteral("mileage\topisanie\n15000\tЗамена ремня"));
    EXPECT_TRUE(statementFile().contains(encodeAnsi(QStringLiteral("\"Замена ремня\""))));
}

TEST(EventsEditForm, SaveRefusesAMileageThatIsNoWholeNumber)
{
    LogBook book(oneEvent);
    TEventsEditForm form;
    book.answerNext<TEventsEditForm>([&](TEventsEditForm &f) {
        retype(f.EditMileAge, QString());
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        retype(f.EditMileAge, QStringLiteral("abc"));
        EXPECT_EQ(click(f, f.Button1), ModalResult::None);
        EXPECT_EQ(f.EditMileAge->text(), QStringLiteral("abc"));
        return click(f, f.Button2);
    });
    form.NewRecord();
    EXPECT_EQ(book.messageTexts(),
              QStringList({QStringLiteral("Поле \"Пробег выполнения\" не заполнено."),
                           QStringLiteral("\"abc\" в поле \"Пробег выполнения\" не является целым числом.")}));
    EXPECT_EQ(book.table("SELECT Count(*) AS n FROM DOC_EVENTS"), QStringLiteral("n\n1"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("ADOQuery1.txt")));
}

}  // namespace
