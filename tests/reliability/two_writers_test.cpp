#include "data/db_edit.h"
#include "editors/form_controls.h"
#include "tests/editors/record_dialog_test_support.h"
#include "tests/reliability/writer_process.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

const char *const vehicle = "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')";
constexpr int entriesEach = 500;

// Two programs on the file at once, each writing through the expense dialog, one of them
// reopening every list after each entry: no lock reaches the user and nothing is lost.
TEST(TwoWriters, BothProgramsWriteEveryEntry)
{
    TempDatabase file;
    file.open()->execute(QString::fromUtf8(vehicle));
    QProcess first, second;
    startWriter(
        first, file.folder(),
        {QStringLiteral("entries"), QStringLiteral("a"), QString::number(entriesEach), QStringLiteral("--read-lists")});
    startWriter(second, file.folder(), {QStringLiteral("entries"), QStringLiteral("b"), QString::number(entriesEach)});
    for (QProcess *writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(120000));
        EXPECT_EQ(writer->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer->exitCode(), 0);
        const QByteArray output = writer->readAllStandardOutput();
        EXPECT_EQ(reported(output, QStringLiteral("error")), QStringList());
        EXPECT_EQ(reported(output, QStringLiteral("written")).size(), entriesEach);
    }

    const StoredExpenses stored = readStoredExpenses(file.path());
    EXPECT_EQ(stored.integrity, QStringLiteral("ok"));
    EXPECT_EQ(stored.descriptions.size(), 2 * entriesEach);
    for (const char *prefix : {"a", "b"}) {
        for (int i = 0; i < entriesEach; ++i) {
            const QString entry = QStringLiteral("%1-%2").arg(QLatin1StringView(prefix)).arg(i);
            ASSERT_EQ(stored.descriptions.value(entry), 1) << entry.toStdString();
        }
    }
}

// Another program keeps the write lock longer than the engine waits: the user is told in
// Russian, what was typed stays in the dialog (an entry dialog shows again with it, the vehicle
// dialog stays open), and saving once the lock is gone writes the entry.
struct LockedFile {
    LogBook book{vehicle};
    QProcess holder;

    LockedFile()
    {
        startWriter(holder, book.file.folder(), {QStringLiteral("hold-lock"), QStringLiteral("4500")});
        EXPECT_TRUE(holder.waitForReadyRead(10000));
        EXPECT_EQ(holder.readAllStandardOutput(), QByteArray("locked\n"));
    }
};

TEST(TwoWriters, ALockHeldPastTheWaitKeepsTheEntryInTheDialog)
{
    LockedFile locked;
    LogBook &book = locked.book;
    book.answerNext<TFuelEditForm>([](TFuelEditForm &form) {
        retype(form.EditSumma, QStringLiteral("1500"));
        retype(form.EditOpisanie, QStringLiteral("Бензин"));
        return click(form, form.Button1);
    });
    book.answerNext<TFuelEditForm>([&](TFuelEditForm &form) {
        EXPECT_EQ(book.messageTexts(), QStringList{form_controls::lockedFileText()});
        EXPECT_EQ(form.EditSumma->text(), QStringLiteral("1500"));
        EXPECT_EQ(form.EditOpisanie->text(), QStringLiteral("Бензин"));
        EXPECT_EQ(book.table("SELECT count(*) AS n FROM DOC_EXPENSE"), QStringLiteral("n\n0"));
        EXPECT_TRUE(locked.holder.waitForFinished(10000));
        return click(form, form.Button1);
    });
    book.fuelEdit->NewRecord();

    EXPECT_EQ(book.messageTexts().size(), 1);
    EXPECT_EQ(book.table("SELECT SUMMA, OPISANIE FROM DOC_EXPENSE"), QStringLiteral("SUMMA\tOPISANIE\n1500\tБензин"));
    EXPECT_EQ(DataModule1->QueryDocExpense->RecordCount(), 1);
}

TEST(TwoWriters, ALockHeldPastTheWaitKeepsTheVehicleDialogOpen)
{
    LockedFile locked;
    LogBook &book = locked.book;
    book.answerNext<TAutoEditForm>([&](TAutoEditForm &form) {
        typeInto(form.DBEdit1, QStringLiteral("Нива"));
        typeInto(form.DBEdit2, QStringLiteral("1000"));
        EXPECT_EQ(click(form, form.Button1), ModalResult::None) << "the dialog closed";
        EXPECT_EQ(book.messageTexts(), QStringList{form_controls::lockedFileText()});
        EXPECT_EQ(form.DBEdit1->text(), QStringLiteral("Нива"));
        EXPECT_TRUE(locked.holder.waitForFinished(10000));
        return click(form, form.Button1);
    });
    book.autoEdit->NewRecord();

    EXPECT_EQ(book.table("SELECT nameauto, beginkm FROM SPR_AUTO ORDER BY id"),
              QStringLiteral("nameauto\tbeginkm\nЛада\t900\nНива\t1000"));
}

}  // namespace
