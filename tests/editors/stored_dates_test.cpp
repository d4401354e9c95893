// An entry whose stored date names no date (a hostile or damaged file): each entry dialog shows
// the zero date and keeps the stored value through an edit of another field, until the user
// picks a date.
#include "editors/events_edit_form.h"
#include "editors/fuel_edit_form.h"
#include "editors/mileage_edit_form.h"
#include "platform/sqlcipher_connection.h"
#include "tests/editors/record_dialog_test_support.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <limits>
#include <QDateEdit>

using namespace vornak;
using namespace vornak::testing;

namespace {

const char *const vehicle = "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')";

// The entry's stored date, written and read past the data layer.
void storeDate(LogBook &book, const char *table, double days)
{
    SqlCipherConnection::open(book.file.path(), log_book::password)
        ->runStatement(QStringLiteral("UPDATE %1 SET datedoc = ?").arg(QString::fromLatin1(table)), {Variant(days)});
}

double storedDate(const LogBook &book, const char *table)
{
    return SqlCipherConnection::open(book.file.path(), log_book::password)
        ->read(QStringLiteral("SELECT datedoc FROM %1").arg(QString::fromLatin1(table)), {})
        .values.value(0)
        .toDouble();
}

// Opens the entry in its dialog twice: first another field is retyped (the date stays as
// stored), then the day is moved on by one (the picked date is written).
template <class Form>
void editTwice(LogBook &book, const char *table, TADOQuery *list, double stored, QLineEdit *Form::*other,
               const QString &typed)
{
    storeDate(book, table, stored);
    list->Close();
    list->Open();
    Form form;
    book.answerNext<Form>([&](Form &f) {
        EXPECT_EQ(f.DateTimePicker1->date(), QDate(1899, 12, 30));
        retype(f.*other, typed);
        return click(f, f.Button1);
    });
    form.EditRecord();
    EXPECT_EQ(storedDate(book, table), stored);
    EXPECT_TRUE(book.messageTexts().isEmpty()) << book.messageTexts().join(u'\n').toStdString();

    book.answerNext<Form>([](Form &f) {
        f.DateTimePicker1->setFocus();
        f.DateTimePicker1->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(f.DateTimePicker1, Qt::Key_Up);
        return click(f, f.Button1);
    });
    form.EditRecord();
    EXPECT_EQ(storedDate(book, table), 1.0);  // 31.12.1899
}

TEST(StoredDates, ADateOutsideTheCalendarIsKeptUntilTheUserPicksOne)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const double stored : {1e300, -1e300, inf, -inf}) {
        SCOPED_TRACE(stored);
        {
            LogBook book({vehicle, "INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) "
                                   "VALUES ('01.11.2011', 1, 1000, 100)"});
            editTwice<TMileageEditForm>(book, "DOC_MILEAGE", DataModule1->QueryDocMileage, stored,
                                        &TMileageEditForm::EditObsh, QStringLiteral("1650"));
            EXPECT_EQ(book.table("SELECT tekprobeg FROM DOC_MILEAGE"), QStringLiteral("tekprobeg\n1650"));
        }
        {
            LogBook book({vehicle, "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Бензин')",
                          "INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                          "VALUES (1, 1, '05.11.2011', 30.5, 900.25, 'АЗС')"});
            editTwice<TFuelEditForm>(book, "DOC_EXPENSE", DataModule1->QueryDocExpense, stored,
                                     &TFuelEditForm::EditSumma, QStringLiteral("1000"));
            EXPECT_EQ(book.table("SELECT SUMMA FROM DOC_EXPENSE"), QStringLiteral("SUMMA\n1000"));
        }
        {
            LogBook book({vehicle, "INSERT INTO DOC_EVENTS (datedoc, idauto, mileage, ENDE, idtype, opisanie) "
                                   "VALUES ('01.12.2011', 1, 15000, 5, 1, 'ТО-1')"});
            editTwice<TEventsEditForm>(book, "DOC_EVENTS", DataModule1->QueryDocEvents, stored,
                                       &TEventsEditForm::EditOpisanie, QStringLiteral("ТО-2"));
            EXPECT_EQ(book.table("SELECT opisanie FROM DOC_EVENTS"), QStringLiteral("opisanie\nТО-2"));
        }
    }
}

}  // namespace
