#include "platform/connection_string.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tools/log_book_schema.h"
#include "tools/result_text.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    TempDatabase file;
    std::unique_ptr<Connection> db = file.open();

    QString select(const QString &sql)
    {
        auto result = db->query(sql);
        return result ? tabSeparatedText(*result) : QStringLiteral("<no result>");
    }
};

TEST_F(DatabaseTest, OpensTheProgramsConnectionStringRelativeToTheWorkingDirectory)
{
    ScopedWorkingDirectory here(file.folder());
    auto connection = Connection::open(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=VORNAK.mdb;Persist Security Info=False;"
                       "Jet OLEDB:Database Password=KwtRPaNzEq48"));
    auto vehicles = connection->openTable(QStringLiteral("spr_auto"));
    EXPECT_EQ(vehicles->rowCount(), 0);
    EXPECT_TRUE(vehicles->isUpdatable());
    // Keys ignore case; a value may be quoted.
    EXPECT_NO_THROW(
        Connection::open(QStringLiteral("data source=\"VORNAK.mdb\";JET OLEDB:DATABASE PASSWORD=KwtRPaNzEq48;")));
}

// A path or password holding the string's own separators and quotes reads back whole.
TEST(DatabaseConnectionString, ReadsBackEveryPathWhole)
{
    for (const char *path : {"VORNAK.mdb", "a;b.mdb", "/tmp/x;Data Source=y.mdb", "say \"hi\";.mdb", "it's.mdb",
                             " spaced .mdb", "Мой ворнак.mdb", "a=b.mdb"}) {
        SCOPED_TRACE(path);
        const ConnectionString settings =
            ConnectionString::parse(ConnectionString::forFile(QString::fromUtf8(path), QStringLiteral("p;\"'")));
        EXPECT_EQ(settings.dataSource(), QString::fromUtf8(path));
        EXPECT_EQ(settings.password(), QStringLiteral("p;\"'"));
        EXPECT_EQ(settings.value(QStringLiteral("Persist Security Info")), QStringLiteral("False"));
    }
    EXPECT_EQ(ConnectionString::parse(QStringLiteral("Data Source='a;b' ; x; Mode = 1")).value(QStringLiteral("mode")),
              QStringLiteral("1"));
}

TEST_F(DatabaseTest, StatementsWriteAtOnceAndReportTheRowsAffected)
{
    EXPECT_EQ(db->execute(QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\n"
                                         "values ( '13.11.2011',1,1000,100)")),
              1);
    EXPECT_EQ(db->execute(QStringLiteral("UPDATE DOC_MILEAGE SET\nDOC_MILEAGE.datedoc = \"14.11.2011\",\n"
                                         "DOC_MILEAGE.tekprobeg = 1100,\nDOC_MILEAGE.raznica = 200\n"
                                         "WHERE DOC_MILEAGE.id=1")),
              1);
    // A second connection sees the change: nothing is left in a transaction.
    EXPECT_EQ(tabSeparatedText(*file.open()->openTable(QStringLiteral("DOC_MILEAGE"))),
              QStringLiteral("id\tdatedoc\tidauto\ttekprobeg\traznica\n1\t14.11.2011\t1\t1100\t200"));
    EXPECT_EQ(db->execute(QStringLiteral("DELETE DOC_MILEAGE.id FROM DOC_MILEAGE WHERE DOC_MILEAGE.id=1;")), 1);
    EXPECT_EQ(db->execute(QStringLiteral("DELETE FROM DOC_MILEAGE WHERE id=1")), 0);
    EXPECT_EQ(db->query(QStringLiteral("DELETE FROM DOC_MILEAGE")), nullptr);
}

TEST_F(DatabaseTest, ColumnsCarryNameKindSizeAndBase)
{
    auto result = db->query(QStringLiteral("select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  \n"
                                           "from DOC_EXPENSE\nleft outer join  SYS_TYPE_EXPENSE on  "
                                           "SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\nwhere IDAUTO = 1\n"
                                           "order by DATEDOC"));
    const struct {
        const char *name;
        ColumnKind kind;
        int size;
        const char *baseTable;
    } expected[] = {
        {"ID", ColumnKind::AutoIncrement, 0, "DOC_EXPENSE"}, {"IDTYPE", ColumnKind::Integer, 0, "DOC_EXPENSE"},
        {"IDAUTO", ColumnKind::Integer, 0, "DOC_EXPENSE"},   {"DATEDOC", ColumnKind::DateTime, 0, "DOC_EXPENSE"},
        {"KOLVO", ColumnKind::Float, 0, "DOC_EXPENSE"},      {"SUMMA", ColumnKind::Float, 0, "DOC_EXPENSE"},
        {"OPISANIE", ColumnKind::Text, 255, "DOC_EXPENSE"},  {"typename", ColumnKind::Text, 255, "SYS_TYPE_EXPENSE"},
    };
    ASSERT_EQ(result->columns().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const ColumnInfo &c = result->columns()[int(i)];
        EXPECT_EQ(c.name, QString::fromUtf8(expected[i].name));
        EXPECT_EQ(c.kind, expected[i].kind) << expected[i].name;
        EXPECT_EQ(c.size, expected[i].size) << expected[i].name;
        EXPECT_EQ(c.baseTable, QString::fromUtf8(expected[i].baseTable)) << expected[i].name;
    }
    EXPECT_EQ(result->columnIndex(QStringLiteral("TYPENAME")), 7);
    EXPECT_TRUE(result->isUpdatable());
    EXPECT_EQ(result->updatableTable(), QStringLiteral("DOC_EXPENSE"));
}

TEST_F(DatabaseTest, UpdatableTableInsertsUpdatesAndDeletesByKey)
{
    auto vehicles = db->openTable(QStringLiteral("SPR_AUTO"));
    const int name = vehicles->columnIndex(QStringLiteral("nameauto"));
    const int date = vehicles->columnIndex(QStringLiteral("begindate"));
    const int id = vehicles->columnIndex(QStringLiteral("ID"));
    EXPECT_EQ(vehicles->insertRow(
                  0, {{name, Variant(QStringLiteral("Лада"))}, {date, Variant(QStringLiteral("01.02.2011"))}}),
              0);
    EXPECT_EQ(vehicles->insertRow(0, {{name, Variant(QStringLiteral("Нива"))}}), 0);
    EXPECT_EQ(vehicles->value(0, id), Variant(2));
    EXPECT_EQ(vehicles->value(1, id), Variant(1));
    EXPECT_EQ(vehicles->value(1, date), Variant::fromDateTime(date_time::encode(QDate(2011, 2, 1))));
    const qint64 niva = vehicles->rowId(0);

    vehicles->updateRow(1, {{name, Variant(QStringLiteral("Лада Гранта"))}});
    vehicles->deleteRow(0);
    EXPECT_EQ(vehicles->rowOfId(niva), -1);
    EXPECT_EQ(vehicles->rowOfId(vehicles->rowId(0)), 0);
    EXPECT_EQ(select(QStringLiteral("select id, nameauto from spr_auto")),
              QStringLiteral("id\tnameauto\n1\tЛада Гранта"));

    // A fraction in a whole-number column goes to the even neighbour.
    const int km = vehicles->columnIndex(QStringLiteral("beginkm"));
    vehicles->updateRow(0, {{km, Variant(12.5)}});
    EXPECT_EQ(vehicles->value(0, km), Variant(12));
    vehicles->updateRow(0, {{km, Variant(13.5)}});
    EXPECT_EQ(select(QStringLiteral("select beginkm from spr_auto")), QStringLiteral("beginkm\n14"));

    EXPECT_THROW(vehicles->updateRow(0, {{id, Variant(5)}}), DatabaseError);
    EXPECT_THROW(vehicles->updateRow(0, {{date, Variant(QStringLiteral("вчера"))}}), DatabaseError);
}

TEST_F(DatabaseTest, JoinWritesOnlyTheExpenseRow)
{
    db->execute(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Бензин\")"));
    db->execute(QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\n"
                               "values ( '13.11.2011',1,40,1200,1,\"\")"));
    auto expenses = db->query(QStringLiteral("select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  \n"
                                             "from DOC_EXPENSE\nleft outer join  SYS_TYPE_EXPENSE on  "
                                             "SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\nwhere IDAUTO = 1\n"
                                             "order by DATEDOC"));
    ASSERT_EQ(expenses->rowCount(), 1);
    EXPECT_THROW(
        expenses->updateRow(0, {{expenses->columnIndex(QStringLiteral("typename")), Variant(QStringLiteral("x"))}}),
        DatabaseError);
    expenses->deleteRow(0);
    EXPECT_EQ(select(QStringLiteral("select count(*) as n from doc_expense")), QStringLiteral("n\n0"));
    EXPECT_EQ(select(QStringLiteral("select opisanie from sys_type_expense")), QStringLiteral("OPISANIE\nБензин"));
}

// A full statement cache never finalizes a statement in use: reading a result's columns looks up
// their tables, which prepares statements of its own.
TEST(DatabaseCache, KeepsStatementsInUseWhenTheCacheIsFull)
{
    TempDatabase file;
    file.open()->execute(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Мойка\")"));
    for (const qsizetype cacheSize : {1, 2, 3}) {
        auto db = SqlCipherConnection::open(file.path(), log_book::password);  // tables not read yet
        db->setStatementCacheSize(cacheSize);
        auto result =
            db->query(QStringLiteral("select e.*, t.OPISANIE as t1, t2.OPISANIE as t2, m.raznica, v.nameauto, "
                                     "ev.opisanie as ev from SYS_TYPE_EXPENSE t, SYS_TYPE_EXPENSE t2 "
                                     "left join DOC_EXPENSE e on e.IDTYPE = t.ID left join DOC_MILEAGE m on 1 = 0 "
                                     "left join SPR_AUTO v on 1 = 0 left join DOC_EVENTS ev on 1 = 0"));
        ASSERT_EQ(result->rowCount(), 1);
        EXPECT_EQ(result->value(0, result->columnIndex(QStringLiteral("t2"))), Variant(QStringLiteral("Мойка")));
        EXPECT_EQ(result->columns()[result->columnIndex(QStringLiteral("raznica"))].kind, ColumnKind::Integer);
        for (int i = 0; i < 20; ++i)  // distinct statements, as the dialogs write them
            EXPECT_EQ(db->query(QStringLiteral("select count(*) as n from DOC_MILEAGE where idauto = %1 + 0").arg(i))
                          ->value(0, 0),
                      Variant(0));
    }
}

TEST_F(DatabaseTest, AggregatesAndGroupsAreReadOnly)
{
    EXPECT_FALSE(db->query(QStringLiteral("SELECT Count(id) AS cnt FROM doc_mileage"))->isUpdatable());
    EXPECT_FALSE(db->query(QStringLiteral("SELECT idauto, tekprobeg FROM doc_mileage"))->isUpdatable());
    EXPECT_FALSE(db->query(QStringLiteral("SELECT id, idauto FROM doc_mileage GROUP BY idauto"))->isUpdatable());
    EXPECT_THROW(db->openTable(QStringLiteral("sqlite_sequence")), DatabaseError);
}

}  // namespace
