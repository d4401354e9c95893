#include "data/data_module.h"
#include "platform/errors.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>
#include <QFile>

using namespace vornak;
using namespace vornak::testing;

namespace {

// A log book in the working directory, as the program finds it.
struct WorkingLogBook {
    LogBookFile file;
    ScopedWorkingDirectory cwd{file.file.folder()};

    void addEntries(int vehicle, const QStringList &dates)
    {
        for (const QString &date : dates) {
            file.execute(
                QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('%1', %2, 1, 1)")
                    .arg(date)
                    .arg(vehicle));
            file.execute(QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage, opisanie) "
                                        "VALUES (%2, 0, 0, '%1', 0, 'e')")
                             .arg(date)
                             .arg(vehicle));
            file.execute(QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                                        "VALUES (1, %2, '%1', 1, 1, 'x')")
                             .arg(date)
                             .arg(vehicle));
        }
    }
};

QStringList dates(TADOQuery *query, TField *date)
{
    QStringList result;
    if (!query->Active())
        return {QStringLiteral("closed")};
    for (query->First(); !query->Eof(); query->Next())
        result.append(date->DisplayText());
    return result;
}

TEST(DataModule, EmptyLogBookOpensTheTablesAndLeavesTheListsClosed)
{
    WorkingLogBook book;
    TDataModule1 module;
    EXPECT_TRUE(module.ADOConnection1->Connected());
    EXPECT_TRUE(module.TableSprAuto->Active());
    EXPECT_TRUE(module.TableTYPE_EXPENSE->Active());
    EXPECT_TRUE(module.TableSprAuto->IsEmpty());
    EXPECT_FALSE(module.QueryDocMileage->Active());
    EXPECT_FALSE(module.QueryDocEvents->Active());
    EXPECT_FALSE(module.QueryDocExpense->Active());
    EXPECT_EQ(module.QueryDocMileage->SQL[1], QStringLiteral("where IDAUTO = 1"));

    // Saving the first vehicle makes it current and opens the (empty) lists.
    module.TableSprAuto->Insert();
    module.TableSprAutonameauto->SetAsString(QStringLiteral("Лада"));
    EXPECT_FALSE(module.QueryDocMileage->Active());
    module.TableSprAuto->Post();
    EXPECT_TRUE(module.QueryDocMileage->Active());
    EXPECT_TRUE(module.QueryDocEvents->Active());
    EXPECT_TRUE(module.QueryDocExpense->Active());
    EXPECT_TRUE(module.QueryDocMileage->IsEmpty());
    EXPECT_EQ(module.QueryDocExpense->SQL[3], QStringLiteral("where IDAUTO = ") + module.TableSprAutoid->AsString());
}

TEST(DataModule, ListsFollowTheCurrentVehicleInDateOrder)
{
    WorkingLogBook book;
    book.file.addVehicles({QStringLiteral("A"), QStringLiteral("B")});
    book.addEntries(1, {QStringLiteral("05.01.2020")});
    book.addEntries(2, {QStringLiteral("03.03.2021"), QStringLiteral("01.03.2021"), QStringLiteral("02.03.2021")});
    TDataModule1 module;
    EXPECT_EQ(dates(module.QueryDocMileage, module.QueryDocMileagedatedoc), QStringList{QStringLiteral("05.01.2020")});

    module.TableSprAuto->Next();
    const QStringList second = {QStringLiteral("01.03.2021"), QStringLiteral("02.03.2021"),
                                QStringLiteral("03.03.2021")};
    EXPECT_EQ(dates(module.QueryDocMileage, module.QueryDocMileagedatedoc), second);
    EXPECT_EQ(dates(module.QueryDocEvents, module.QueryDocEventsdatedoc), second);
    EXPECT_EQ(dates(module.QueryDocExpense, module.QueryDocExpenseDATEDOC), second);
    EXPECT_EQ(module.QueryDocMileage->SQL.Text(),
              QStringLiteral("select *  from DOC_MILEAGE\r\nwhere IDAUTO = 2\r\norder by DATEDOC\r\n"));
    EXPECT_EQ(module.QueryDocExpense->SQL.Text(),
              QStringLiteral("select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  \r\nfrom DOC_EXPENSE\r\n"
                             "left outer join  SYS_TYPE_EXPENSE on  SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\r\n"
                             "where IDAUTO = 2\r\norder by DATEDOC\r\n"));

    // A new vehicle being entered has no key yet: the lists keep the previous vehicle's entries.
    module.TableSprAuto->Insert();
    module.TableSprAutonameauto->SetAsString(QStringLiteral("C"));
    EXPECT_EQ(dates(module.QueryDocMileage, module.QueryDocMileagedatedoc), second);
}

// A vehicle with any kind of entry is never deleted, whoever deletes it through the table.
TEST(DataModule, VehiclesTableRefusesToDeleteAVehicleWithEntries)
{
    WorkingLogBook book;
    book.file.addVehicles({QStringLiteral("A"), QStringLiteral("B")});
    book.addEntries(1, {QStringLiteral("05.01.2020")});
    TDataModule1 module;
    EXPECT_TRUE(module.vehicleHasEntries(QStringLiteral("1")));
    EXPECT_FALSE(module.vehicleHasEntries(QStringLiteral("2")));
    try {
        module.TableSprAuto->Delete();
        ADD_FAILURE() << "a vehicle with entries was deleted";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), TDataModule1::vehicleDeleteRefusal);
    }
    EXPECT_EQ(module.TableSprAuto->RecordCount(), 2);
    module.TableSprAuto->Last();
    module.TableSprAuto->Delete();
    EXPECT_EQ(module.TableSprAuto->RecordCount(), 1);
    EXPECT_EQ(module.TableSprAutonameauto->AsString(), QStringLiteral("A"));
}

TEST(DataModule, EventTextsComeFromTheCodes)
{
    WorkingLogBook book;
    book.file.addVehicles({QStringLiteral("A")});
    const QList<std::pair<QString, QString>> codes = {
        {QStringLiteral("0"), QStringLiteral("0")},       {QStringLiteral("1"), QStringLiteral("0")},
        {QStringLiteral("1"), QStringLiteral("7")},       {QStringLiteral("5"), QStringLiteral("1")},
        {QStringLiteral("Null"), QStringLiteral("Null")},
    };
    int day = 1;
    for (const auto &[idtype, ende] : codes)
        book.file.execute(QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage, opisanie) "
                                         "VALUES (1, %1, %2, '0%3.01.2020', 0, 'e')")
                              .arg(idtype, ende)
                              .arg(day++));
    TDataModule1 module;
    QStringList texts;
    for (module.QueryDocEvents->First(); !module.QueryDocEvents->Eof(); module.QueryDocEvents->Next())
        texts.append(module.QueryDocEventstyps->DisplayText() + u'|' + module.QueryDocEventsgotovo_end->DisplayText());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("по дате|в процессе"), QStringLiteral("по пробегу|в процессе"),
                                  QStringLiteral("по пробегу|"), QStringLiteral("|завершен"),
                                  QStringLiteral("по дате|в процессе")}));
}

TEST(DataModule, FieldsCarryTheirLabelsKindsAndSizes)
{
    WorkingLogBook book;
    TDataModule1 module;
    EXPECT_EQ(module.TableTYPE_EXPENSEOPISANIE->DisplayName(), QStringLiteral("OPISANIE"));
    EXPECT_EQ(module.TableSprAutobeginkm->DisplayName(), QStringLiteral("Начальный пробег"));
    EXPECT_EQ(module.QueryDocEventsgotovo_end->FieldKind, fkCalculated);
    EXPECT_EQ(module.QueryDocEventsgotovo_end->Size, 20);
    EXPECT_EQ(module.QueryDocExpenseDATEDOC->DisplayWidth(), 10);
    EXPECT_TRUE(module.QueryDocExpenseID->ReadOnly);
    EXPECT_EQ(module.QueryDocMileageraznica->Name, QStringLiteral("QueryDocMileageraznica"));
    QStringList order;
    for (const TField *field : module.QueryDocExpense->Fields())
        order.append(field->FieldName);
    EXPECT_EQ(order.join(u','), QStringLiteral("IDTYPE,IDAUTO,DATEDOC,KOLVO,SUMMA,typename,OPISANIE,ID"));
}

TEST(DataModule, MissingFileFailsWithTheEngineMessage)
{
    WorkingLogBook book;
    ASSERT_TRUE(QFile::remove(book.file.file.path()));
    try {
        TDataModule1 module;
        FAIL();
    } catch (const DatabaseError &error) {
        EXPECT_FALSE(error.message().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(book.file.file.path()));
}

}  // namespace
