#include "platform/database.h"
#include "platform/errors.h"
#include "tests/fixtures/temp_database.h"
#include "tools/result_text.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

// Two vehicles, readings around November 2011, expenses of three types (one type without a
// catalogue entry, one summing to 0), written with the statements the dialogs build.
const char *const fixtureStatements[] = {
    "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')",
    "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 0, '01.06.2011')",
    "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Бензин\")",
    "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Мойка\")",
    "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Стоянка\")",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '31.10.2011',1,1000,100)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '01.11.2011',1,1300,300)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '15.11.2011',1,1600,300)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '30.11.2011',1,1750,150)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '01.12.2011',1,1800,50)",
    "INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '15.11.2011',2,500,500)",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '05.11.2011',1,40,1200,1,\"Заправка \"\"Лукойл\"\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',1,1,300,2,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '20.11.2011',1,30.5,900.25,1,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '05.12.2011',1,20,600,1,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',1,1,100,9,\"без типа\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '12.11.2011',1,0,0,3,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',2,10,300,1,\"\")",
    "INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\nvalues ( '01.12.2011',1,0,0,0,\"Замена масла\")",
    "INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\nvalues ( '13.11.2011',1,2000,1,1,\"ТО-1\")",
};

class SqlDialectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *statement : fixtureStatements)
            ASSERT_EQ(db->execute(QString::fromUtf8(statement)), 1) << statement;
    }

    QString select(const QString &sql)
    {
        auto result = db->query(sql);
        return result ? tabSeparatedText(*result) : QStringLiteral("<no result>");
    }

    TempDatabase file;
    std::unique_ptr<Connection> db = file.open();
};

// Every query text the program builds, with the values of one report run (01.11.2011 to
// 30.11.2011, vehicle 1) or one dialog action.
TEST_F(SqlDialectTest, RunsTheProgramsQueriesAsWritten)
{
    const struct {
        const char *sql;
        const char *expected;
    } cases[] = {
        {"select *  from DOC_MILEAGE\nwhere IDAUTO = 2\norder by DATEDOC",
         "id\tdatedoc\tidauto\ttekprobeg\traznica\n6\t15.11.2011\t2\t500\t500"},
        {"select *  from DOC_EVENTS\nwhere IDAUTO = 1\norder by DATEDOC",
         "id\tidauto\tidtype\tENDE\tdatedoc\tmileage\topisanie\n"
         "2\t1\t1\t1\t13.11.2011\t2000\tТО-1\n1\t1\t0\t0\t01.12.2011\t0\tЗамена масла"},
        {"select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  \nfrom DOC_EXPENSE\n"
         "left outer join  SYS_TYPE_EXPENSE on  SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\nwhere IDAUTO = 1\norder by DATEDOC, DOC_EXPENSE.ID",
         "ID\tIDTYPE\tIDAUTO\tDATEDOC\tKOLVO\tSUMMA\tOPISANIE\ttypename\n"
         "1\t1\t1\t05.11.2011\t40\t1200\tЗаправка \"Лукойл\"\tБензин\n"
         "2\t2\t1\t10.11.2011\t1\t300\t\tМойка\n"
         "5\t9\t1\t10.11.2011\t1\t100\tбез типа\t\n"
         "6\t3\t1\t12.11.2011\t0\t0\t\tСтоянка\n"
         "3\t1\t1\t20.11.2011\t30,5\t900,25\t\tБензин\n"
         "4\t1\t1\t05.12.2011\t20\t600\t\tБензин"},
        {"select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc <#11/01/2011# and doc_mileage.idauto = 1",
         "km1\n100"},
        {"select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc <#11/01/2011# and doc_mileage.idauto = 2",
         "km1\n"},
        {"SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\nWHERE doc_mileage.datedoc between #11/01/2011# and #11/30/2011#\nand doc_mileage.idauto = 1",
         "sm\n750"},
        {"SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\nWHERE doc_mileage.datedoc <=#11/30/2011#\nand doc_mileage.idauto = 1",
         "sm\n850"},
        {"select sys_type_expense.opisanie ,\n(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/01/2011# And #11/30/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/30/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s3\n"
         "FROM sys_type_expense\nwhere (SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/01/2011# And #11/30/2011# AND DOC_EXPENSE.IDAUTO=1 ) >0\n"
         "ORDER BY sys_type_expense.opisanie;",
         "OPISANIE\ts2\ts3\nБензин\t2100,25\t600\nМойка\t300\t"},
        {"select sys_type_expense.opisanie ,\n(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC < #11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s1,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/13/2011# And #11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s3\n"
         "FROM sys_type_expense\nORDER BY sys_type_expense.opisanie;",
         "OPISANIE\ts1\ts2\ts3\nБензин\t1200\t\t1500,25\nМойка\t300\t\t\nСтоянка\t0\t\t"},
        {"SELECT Count(doc_mileage.id) AS cnt\nFROM doc_mileage\nwhere doc_mileage.idauto=1", "cnt\n5"},
        {"SELECT Count(doc_mileage.id) as cnt\nFROM doc_mileage\nwhere doc_mileage.idauto=1\nand not doc_mileage.id = 5", "cnt\n4"},
        {"SELECT Max(doc_mileage.tekprobeg) AS Maxkm\nFROM doc_mileage\nwhere doc_mileage.idauto=1\nand not doc_mileage.id = 5", "Maxkm\n1750"},
        {"SELECT Count(DOC_EVENTS.id) AS cnt\nFROM DOC_EVENTS\nwhere DOC_EVENTS.idauto=2", "cnt\n0"},
        {"SELECT Count(DOC_EXPENSE.id) AS cnt\nFROM DOC_EXPENSE\nwhere DOC_EXPENSE.idauto=2", "cnt\n1"},
        // Names in brackets, either case, text in double quotes with a doubled quote inside.
        {"SELECT [nameauto] FROM [spr_auto] WHERE [SPR_AUTO.id] = 2", "nameauto\nНива"},
        {"select \"a\"\"b\" as t, 'c''d' as u from spr_auto where id = 1", "t\tu\na\"b\tc'd"},
        {"select s.nameauto as n from spr_auto as s where s.begindate = #06/01/2011#", "n\nНива"},
        {"SELECT Max(datedoc) AS last FROM doc_mileage", "last\n01.12.2011"},
        {"SELECT Count(*), idauto, Sum(raznica) km, 2 * 3 FROM doc_mileage GROUP BY idauto",
         "Expr1000\tidauto\tkm\tExpr1001\n5\t1\t900\t6\n1\t2\t500\t6"},
        // Texts compare without regard to case and sort alphabetically (Ё after Е).
        {"select opisanie from doc_events where opisanie = 'то-1'", "opisanie\nТО-1"},
        {"select nameauto from spr_auto union select 'ёлка' union select 'ели' union select 'алые' "
         "union select 'Запорожец' order by 1",
         "nameauto\nалые\nели\nёлка\nЗапорожец\nЛада\nНива"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(select(QString::fromUtf8(c.sql)), QString::fromUtf8(c.expected));
    }
}

TEST_F(SqlDialectTest, AggregateColumnsTakeTheirKindFromTheSummedColumn)
{
    const struct {
        const char *sql;
        ColumnKind kind;
    } cases[] = {
        {"select sum(raznica) as s from doc_mileage where idauto = 7", ColumnKind::Integer},
        {"select sum(SUMMA) as s from doc_expense", ColumnKind::Float},
        {"select count(*) as s from doc_expense where idauto = 7", ColumnKind::Integer},
        {"select max(datedoc) as s from doc_events where idauto = 7", ColumnKind::DateTime},
        {"select (select sum(SUMMA) from doc_expense where idtype = [sys_type_expense.id]) as s from sys_type_expense", ColumnKind::Float},
        {"select id * 2 as s from spr_auto", ColumnKind::Integer},
        {"select id / 2.0 as s from spr_auto", ColumnKind::Float},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(db->query(QString::fromUtf8(c.sql))->columns()[0].kind, c.kind);
    }
}

TEST_F(SqlDialectTest, RunsTheDialogsWritingStatements)
{
    const struct {
        const char *sql;
        int affected;
        const char *check;
        const char *expected;
    } cases[] = {
        {"UPDATE DOC_MILEAGE SET\nDOC_MILEAGE.datedoc = \"02.11.2011\",\nDOC_MILEAGE.tekprobeg = 1310,\nDOC_MILEAGE.raznica = 310\nWHERE DOC_MILEAGE.id=2",
         1, "select datedoc, tekprobeg, raznica from doc_mileage where id = 2", "datedoc\ttekprobeg\traznica\n02.11.2011\t1310\t310"},
        {"UPDATE DOC_EXPENSE SET\nDOC_EXPENSE.datedoc = \"06.11.2011\",\nDOC_EXPENSE.KOLVO = 41.5,\nDOC_EXPENSE.SUMMA = 1250,\n"
         "DOC_EXPENSE.idtype = 2,\nDOC_EXPENSE.opisanie = \"АЗС \"\"Роснефть\"\"\"\nWHERE DOC_EXPENSE.id=1",
         1, "select datedoc, kolvo, summa, idtype, opisanie from doc_expense where id = 1",
         "DATEDOC\tKOLVO\tSUMMA\tIDTYPE\tOPISANIE\n06.11.2011\t41,5\t1250\t2\tАЗС \"Роснефть\""},
        {"UPDATE DOC_EVENTS SET\nDOC_EVENTS.datedoc = \"10.12.2011\",\nDOC_EVENTS.mileage = 2500,\nDOC_EVENTS.ENDE = -1,\n"
         "DOC_EVENTS.idtype = 1,\nDOC_EVENTS.opisanie = \"Замена масла и фильтра\"\nWHERE DOC_EVENTS.id=1",
         1, "select datedoc, mileage, ende, idtype, opisanie from doc_events where id = 1",
         "datedoc\tmileage\tENDE\tidtype\topisanie\n10.12.2011\t2500\t-1\t1\tЗамена масла и фильтра"},
        {"DELETE DOC_EXPENSE.ID\nFROM DOC_EXPENSE\nWHERE DOC_EXPENSE.ID=5", 1, "select count(*) as n from doc_expense where id = 5", "n\n0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(db->execute(QString::fromUtf8(c.sql)), c.affected);
        EXPECT_EQ(select(QString::fromUtf8(c.check)), QString::fromUtf8(c.expected));
    }
}

// Statements the engine refuses with its own text; none of them writes anything.
TEST_F(SqlDialectTest, RefusesFaultyStatementsWithAClearMessage)
{
    const struct {
        const char *sql;
        const char *message;
    } cases[] = {
        {"INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '31.02.2011',1,1000,100)",
         "The value '31.02.2011' is not a valid date for column 'datedoc'."},
        {"UPDATE DOC_MILEAGE SET\nDOC_MILEAGE.datedoc = \"завтра\",\nDOC_MILEAGE.tekprobeg = 1,\nDOC_MILEAGE.raznica = 1\nWHERE DOC_MILEAGE.id=1",
         "The value 'завтра' is not a valid date for column 'datedoc'."},
        {"INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '13.11.2011',1,,100)", "Syntax error near ','."},
        {"INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '13.11.2011',1,'много',100)",
         "The value 'много' is not a number for column 'tekprobeg'."},
        {"UPDATE SPR_AUTO SET SPR_AUTO.nameauto = \"12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890\" WHERE SPR_AUTO.id = 1",
         "The text is too long for column 'nameauto' (at most 255 characters)."},
        {"INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '05.11.2011',1,40,5,1200,1,\"\")",
         "The statement gives 7 values for 6 columns."},
        {"UPDATE DOC_EXPENSE SET\nDOC_EXPENSE.datedoc = \"06.11.2011\",\nDOC_EXPENSE.KOLVO = 40,5,\nDOC_EXPENSE.SUMMA = 1\nWHERE DOC_EXPENSE.id=1",
         "Syntax error near '5'."},
        {"UPDATE DOC_EVENTS SET\nDOC_EVENTS.opisanie = \"a\"b\"\nWHERE DOC_EVENTS.id=1", "Unterminated text in the SQL statement: \"\nWHERE DOC_EVENTS.id=1"},
        {"INSERT INTO DOC_MILEAGE VALUES (20, 'вчера', 1, 1, 1)", "The value 'вчера' is not a valid date for column 'datedoc'."},
        {"select * from DOC_MILAGE", "Could not find table 'DOC_MILAGE'."},
        {"select nosuch from DOC_MILEAGE", "Unknown column 'nosuch'."},
        {"select * from DOC_MILEAGE where datedoc < #13/45/2011#", "Syntax error in date in query expression '#13/45/2011#'."},
        {"select * from DOC_MILEAGE where id = ?", "No value given for one or more required parameters."},
        {"select * from DOC_MILEAGE; delete from DOC_MILEAGE", "Characters found after end of SQL statement."},
        {"   ", "The SQL statement is empty."},
        {"PRAGMA rekey = 'x'", "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"select (", "Syntax error near '('."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            db->execute(QString::fromUtf8(c.sql));
            ADD_FAILURE() << "no error";
        } catch (const DatabaseError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(select(QStringLiteral("select count(*) as n from doc_mileage")), QStringLiteral("n\n6"));
    EXPECT_EQ(select(QStringLiteral("select datedoc from doc_mileage where id = 1")), QStringLiteral("datedoc\n31.10.2011"));
    EXPECT_EQ(select(QStringLiteral("select kolvo, opisanie from doc_expense where id = 1")),
              QStringLiteral("KOLVO\tOPISANIE\n40\tЗаправка \"Лукойл\""));
}

} // namespace
