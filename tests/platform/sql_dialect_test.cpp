#include "platform/database.h"
#include "platform/errors.h"
#include "platform/sql_literal.h"
#include "platform/sql_translator.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tools/result_text.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>

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
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( "
    "'05.11.2011',1,40,1200,1,\"Заправка \"\"Лукойл\"\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',1,1,300,2,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( "
    "'20.11.2011',1,30.5,900.25,1,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '05.12.2011',1,20,600,1,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',1,1,100,9,\"без "
    "типа\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '12.11.2011',1,0,0,3,\"\")",
    "INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( '10.11.2011',2,10,300,1,\"\")",
    "INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\nvalues ( '01.12.2011',1,0,0,0,\"Замена "
    "масла\")",
    "INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\nvalues ( "
    "'13.11.2011',1,2000,1,1,\"ТО-1\")",
};

// The message of the DatabaseError `action` raises.
QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

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
         "left outer join  SYS_TYPE_EXPENSE on  SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\nwhere IDAUTO = 1\norder by "
         "DATEDOC, DOC_EXPENSE.ID",
         "ID\tIDTYPE\tIDAUTO\tDATEDOC\tKOLVO\tSUMMA\tOPISANIE\ttypename\n"
         "1\t1\t1\t05.11.2011\t40\t1200\tЗаправка \"Лукойл\"\tБензин\n"
         "2\t2\t1\t10.11.2011\t1\t300\t\tМойка\n"
         "5\t9\t1\t10.11.2011\t1\t100\tбез типа\t\n"
         "6\t3\t1\t12.11.2011\t0\t0\t\tСтоянка\n"
         "3\t1\t1\t20.11.2011\t30,5\t900,25\t\tБензин\n"
         "4\t1\t1\t05.12.2011\t20\t600\t\tБензин"},
        {"select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc <#11/01/2011# and "
         "doc_mileage.idauto = 1",
         "km1\n100"},
        {"select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc <#11/01/2011# and "
         "doc_mileage.idauto = 2",
         "km1\n"},
        {"SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\nWHERE doc_mileage.datedoc between #11/01/2011# and "
         "#11/30/2011#\nand doc_mileage.idauto = 1",
         "sm\n750"},
        {"SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\nWHERE doc_mileage.datedoc <=#11/30/2011#\nand "
         "doc_mileage.idauto = 1",
         "sm\n850"},
        {"select sys_type_expense.opisanie ,\n(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/01/2011# And "
         "#11/30/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/30/2011# AND "
         "DOC_EXPENSE.IDAUTO=1 ) AS s3\n"
         "FROM sys_type_expense\nwhere (SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/01/2011# And "
         "#11/30/2011# AND DOC_EXPENSE.IDAUTO=1 ) >0\n"
         "ORDER BY sys_type_expense.opisanie;",
         "OPISANIE\ts2\ts3\nБензин\t2100,25\t600\nМойка\t300\t"},
        {"select sys_type_expense.opisanie ,\n(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC < #11/13/2011# AND "
         "DOC_EXPENSE.IDAUTO=1 ) AS s1,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/13/2011# And "
         "#11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/13/2011# AND "
         "DOC_EXPENSE.IDAUTO=1 ) AS s3\n"
         "FROM sys_type_expense\nORDER BY sys_type_expense.opisanie;",
         "OPISANIE\ts1\ts2\ts3\nБензин\t1200\t\t1500,25\nМойка\t300\t\t\nСтоянка\t0\t\t"},
        {"SELECT Count(doc_mileage.id) AS cnt\nFROM doc_mileage\nwhere doc_mileage.idauto=1", "cnt\n5"},
        {"SELECT Count(doc_mileage.id) as cnt\nFROM doc_mileage\nwhere doc_mileage.idauto=1\nand not doc_mileage.id = "
         "5",
         "cnt\n4"},
        {"SELECT Max(doc_mileage.tekprobeg) AS Maxkm\nFROM doc_mileage\nwhere doc_mileage.idauto=1\nand not "
         "doc_mileage.id = 5",
         "Maxkm\n1750"},
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
        {"select (select sum(SUMMA) from doc_expense where idtype = [sys_type_expense.id]) as s from sys_type_expense",
         ColumnKind::Float},
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
        {"UPDATE DOC_MILEAGE SET\nDOC_MILEAGE.datedoc = \"02.11.2011\",\nDOC_MILEAGE.tekprobeg = "
         "1310,\nDOC_MILEAGE.raznica = 310\nWHERE DOC_MILEAGE.id=2",
         1, "select datedoc, tekprobeg, raznica from doc_mileage where id = 2",
         "datedoc\ttekprobeg\traznica\n02.11.2011\t1310\t310"},
        {"UPDATE DOC_EXPENSE SET\nDOC_EXPENSE.datedoc = \"06.11.2011\",\nDOC_EXPENSE.KOLVO = 41.5,\nDOC_EXPENSE.SUMMA "
         "= 1250,\n"
         "DOC_EXPENSE.idtype = 2,\nDOC_EXPENSE.opisanie = \"АЗС \"\"Роснефть\"\"\"\nWHERE DOC_EXPENSE.id=1",
         1, "select datedoc, kolvo, summa, idtype, opisanie from doc_expense where id = 1",
         "DATEDOC\tKOLVO\tSUMMA\tIDTYPE\tOPISANIE\n06.11.2011\t41,5\t1250\t2\tАЗС \"Роснефть\""},
        {"UPDATE DOC_EVENTS SET\nDOC_EVENTS.datedoc = \"10.12.2011\",\nDOC_EVENTS.mileage = 2500,\nDOC_EVENTS.ENDE = "
         "-1,\n"
         "DOC_EVENTS.idtype = 1,\nDOC_EVENTS.opisanie = \"Замена масла и фильтра\"\nWHERE DOC_EVENTS.id=1",
         1, "select datedoc, mileage, ende, idtype, opisanie from doc_events where id = 1",
         "datedoc\tmileage\tENDE\tidtype\topisanie\n10.12.2011\t2500\t-1\t1\tЗамена масла и фильтра"},
        {"DELETE DOC_EXPENSE.ID\nFROM DOC_EXPENSE\nWHERE DOC_EXPENSE.ID=5", 1,
         "select count(*) as n from doc_expense where id = 5", "n\n0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(db->execute(QString::fromUtf8(c.sql)), c.affected);
        EXPECT_EQ(select(QString::fromUtf8(c.check)), QString::fromUtf8(c.expected));
    }
}

// The other forms the dialect has; whole-number columns round a fraction to the even neighbour.
TEST_F(SqlDialectTest, RunsTheDialectsOtherForms)
{
    QStringList manyValues;
    for (int i = 1; i <= 1000; ++i)
        manyValues.append(QString::number(i));
    const struct {
        QString sql;
        int affected;
        const char *check;
        const char *expected;
    } cases[] = {
        {QStringLiteral("UPDATE DOC_MILEAGE SET raznica = 12.5, tekprobeg = '539.5' WHERE id = 1"), 1,
         "select raznica, tekprobeg from doc_mileage where id = 1", "raznica\ttekprobeg\n12\t540"},
        {QStringLiteral(
             "UPDATE DOC_MILEAGE SET [DOC_MILEAGE.raznica] = -13.5, DOC_MILEAGE.tekprobeg = \"2.5\" WHERE id = 1"),
         1, "select raznica, tekprobeg from doc_mileage where id = 1", "raznica\ttekprobeg\n-14\t2"},
        {QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Ока', 0.5, '01.01.2011')"), 1,
         "select beginkm from spr_auto where nameauto = 'Ока'", "beginkm\n0"},
        {QStringLiteral("UPDATE DOC_EXPENSE SET KOLVO = 12.5 WHERE ID = 1"), 1,
         "select kolvo from doc_expense where id = 1", "KOLVO\n12,5"},
        {QStringLiteral("select count(*) as n from doc_expense where id in (%1)").arg(manyValues.join(u',')), 0,
         "select count(*) as n from doc_expense where id in (1, 2)", "n\n2"},
        {QStringLiteral("DELETE DOC_EXPENSE.* FROM DOC_EXPENSE WHERE ID = 7"), 1,
         "select count(*) as n from doc_expense", "n\n6"},
        {QStringLiteral("DELETE ID, [DOC_EXPENSE.IDTYPE] FROM DOC_EXPENSE WHERE ID = 6"), 1,
         "select count(*) as n from doc_expense", "n\n5"},
        {QStringLiteral("DELETE * FROM DOC_EXPENSE WHERE ID = 5"), 1, "select count(*) as n from doc_expense", "n\n4"},
        {QStringLiteral("CREATE TABLE IF NOT EXISTS NOTES (id INTEGER PRIMARY KEY, note VARCHAR(20))"), 0,
         "select count(*) as n from notes", "n\n0"},
        {QStringLiteral("DROP TABLE NOTES"), 0, "select count(*) as n from doc_expense", "n\n4"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql.left(120).toStdString());
        EXPECT_EQ(db->execute(c.sql), c.affected);
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
        {"UPDATE DOC_MILEAGE SET\nDOC_MILEAGE.datedoc = \"завтра\",\nDOC_MILEAGE.tekprobeg = 1,\nDOC_MILEAGE.raznica = "
         "1\nWHERE DOC_MILEAGE.id=1",
         "The value 'завтра' is not a valid date for column 'datedoc'."},
        {"INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '13.11.2011',1,,100)",
         "Syntax error near ','."},
        {"INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( '13.11.2011',1,'много',100)",
         "The value 'много' is not a number for column 'tekprobeg'."},
        {"UPDATE SPR_AUTO SET SPR_AUTO.nameauto = "
         "\"12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
         "12345678901234567890\" WHERE SPR_AUTO.id = 1",
         "The text is too long for column 'nameauto' (at most 255 characters)."},
        {"INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\nvalues ( "
         "'05.11.2011',1,40,5,1200,1,\"\")",
         "The statement gives 7 values for 6 columns."},
        {"UPDATE DOC_EXPENSE SET\nDOC_EXPENSE.datedoc = \"06.11.2011\",\nDOC_EXPENSE.KOLVO = 40,5,\nDOC_EXPENSE.SUMMA "
         "= 1\nWHERE DOC_EXPENSE.id=1",
         "Syntax error near '5'."},
        {"UPDATE DOC_EVENTS SET\nDOC_EVENTS.opisanie = \"a\"b\"\nWHERE DOC_EVENTS.id=1",
         "Unterminated text in the SQL statement: \"\nWHERE DOC_EVENTS.id=1"},
        {"INSERT INTO DOC_MILEAGE VALUES (20, 'вчера', 1, 1, 1)",
         "The value 'вчера' is not a valid date for column 'datedoc'."},
        {"select * from DOC_MILAGE", "Could not find table 'DOC_MILAGE'."},
        {"select nosuch from DOC_MILEAGE", "Unknown column 'nosuch'."},
        {"select * from DOC_MILEAGE where datedoc < #13/45/2011#",
         "Syntax error in date in query expression '#13/45/2011#'."},
        {"select * from DOC_MILEAGE where id = ?", "No value given for one or more required parameters."},
        {"select * from DOC_MILEAGE; delete from DOC_MILEAGE", "Characters found after end of SQL statement."},
        {"   ", "The SQL statement is empty."},
        {"PRAGMA rekey = 'x'", "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"select (", "Syntax error near '('."},
        // No name or text adds to the statement: a name holding a closing bracket is one name.
        {"delete from DOC_EXPENSE where IDTYPE = 999 and `IDTYPE] or 1=1 --` = `IDTYPE`",
         "Unknown column 'IDTYPE] or 1=1 --'."},
        {"select `ID];select 1` from DOC_EXPENSE", "Unknown column 'ID];select 1'."},
        {"select `x] from DOC_EXPENSE union select sql from sqlite_master --` from DOC_EXPENSE",
         "Unknown column 'x] from DOC_EXPENSE union select sql from sqlite_master --'."},
        {"select 1 \"ab\"", "Syntax error (missing operator) in query expression '1 \"ab\"'."},
        // Characters and numbers the dialect does not know.
        {"select ７", "Invalid character '７' in the SQL statement at position 8."},
        {"UPDATE DOC_MILEAGE SET RAZNICA = ５０ WHERE id = 1",
         "Invalid character '５' in the SQL statement at position 34."},
        {"select 😀", "Invalid character '😀' in the SQL statement at position 8."},
        {"select 1e999", "The number '1e999' is out of range."},
        // The engine's messages in the program's words, naming what the statement says.
        {"select * from DOC_EXPENSE order \"Штраф\"", "Syntax error near '\"Штраф\"'."},
        {"select [x\ny] from DOC_EXPENSE", "Unknown column 'x\ny'."},
        {"select 1 from DOC_EXPENSE where (1, 2) = 1", "A list of values in parentheses is not allowed here."},
        {"select * from DOC_EXPENSE a left b join DOC_MILEAGE", "Syntax error in JOIN operation."},
        {"select 1 union select 1, 2", "The queries joined by UNION give different numbers of columns."},
        {"select * from DOC_EXPENSE, DOC_EXPENSE", "The column name 'DOC_EXPENSE.ID' is ambiguous: name its table."},
        {"UPDATE DOC_MILEAGE SET raznica = '1e999' WHERE id = 1",
         "The value '1e999' is not a number for column 'raznica'."},
        {"UPDATE DOC_MILEAGE SET raznica = 3000000000 WHERE id = 1",
         "The value '3000000000' is out of range for column 'raznica'."},
        // Whatever reaches a column has its kind and size, however it was written.
        {"insert into DOC_EXPENSE (DATEDOC, IDAUTO, SUMMA, OPISANIE) values (\"15.03.2012\" & \"\", 1, 1, \"x\")",
         "The value is not a valid date for column 'DATEDOC'."},
        {"insert into DOC_EXPENSE (DATEDOC, IDAUTO, SUMMA, OPISANIE) select \"15.03.2012\", 1, 1, \"x\"",
         "The value is not a valid date for column 'DATEDOC'."},
        {"update DOC_EXPENSE set OPISANIE = hex(zeroblob(1000)) where ID = 1",
         "The value is not a text of at most 255 characters for column 'OPISANIE'."},
        {"update DOC_EXPENSE set SUMMA = \"12\" & \"x\" where ID = 1", "The value is not a number for column 'SUMMA'."},
        {"update DOC_MILEAGE set raznica = raznica + 0.5 where id = 1",
         "The value is not a whole number between -2147483648 and 2147483647 for column 'raznica'."},
        // The engine's own tables and functions are unknown.
        {"UPDATE sqlite_sequence SET seq = 9223372036854775807 WHERE name = \"DOC_EVENTS\"",
         "Could not find table 'sqlite_sequence'."},
        {"select * from [sqlite_master]", "Could not find table 'sqlite_master'."},
        {"select name from main.SQLITE_MASTER", "Could not find table 'SQLITE_MASTER'."},
        {"select sqlite_version()", "Unknown function 'sqlite_version'."},
        {"select * from pragma_table_info('DOC_EVENTS')", "Unknown function 'pragma_table_info'."},
        // A prefix names the changed table; before FROM stands *, or columns of that table.
        {"UPDATE DOC_EVENTS SET DOC_EXPENSE.OPISANIE = \"x\" WHERE id = 1", "Unknown column 'DOC_EXPENSE.OPISANIE'."},
        {"UPDATE DOC_EVENTS SET nosuch.opisanie = \"x\"", "Unknown column 'nosuch.opisanie'."},
        {"UPDATE DOC_EVENTS SET [DOC_EXPENSE.opisanie] = \"x\"", "Unknown column '[DOC_EXPENSE.opisanie]'."},
        {"INSERT INTO DOC_EVENTS (DOC_EXPENSE.opisanie) VALUES (\"x\")", "Unknown column 'DOC_EXPENSE.opisanie'."},
        {"DELETE #99/99/9999# \"junk\" [x] FROM DOC_EXPENSE",
         "Syntax error (missing operator) in query expression '#99/99/9999# \"junk\"'."},
        {"DELETE junk junk FROM DOC_EXPENSE", "Syntax error in DELETE statement."},
        {"DELETE ID, FROM DOC_EXPENSE", "Syntax error in DELETE statement."},
        {"DELETE [x] FROM DOC_EXPENSE", "Unknown column '[x]'."},
        {"DELETE DOC_MILEAGE.id FROM DOC_EXPENSE", "Unknown column 'DOC_MILEAGE.id'."},
        {"DELETE DOC_EXPENSE.ID", "Syntax error in DELETE statement."},
        // Table definitions only.
        {"CREATE VIEW v AS SELECT * FROM DOC_EXPENSE",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"CREATE INDEX i ON DOC_EXPENSE (SUMMA)",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"CREATE VIRTUAL TABLE v USING fts4(a)",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"CREATE TABLE copy AS SELECT * FROM DOC_EXPENSE",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"CREATE TEMP TABLE t (a)",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"CREATE TABLE t (a) WITHOUT ROWID",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
        {"DROP INDEX DOC_EXPENSE_BY_AUTO_DATE",
         "Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition."},
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
    EXPECT_EQ(errorOf([&] { db->query(QStringLiteral("select ") + QString(5000, u'-') + u'1'); }),
              QStringLiteral("The SQL statement is nested too deeply."));
    // A long list of SET items is read in one pass (its fault reported as for a short one).
    QStringList items(40000, QStringLiteral("x"));
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("UPDATE DOC_MILEAGE SET ") + items.join(u',')); }),
              QStringLiteral("Syntax error near ','."));
    EXPECT_EQ(select(QStringLiteral("select count(*) as n from doc_mileage")), QStringLiteral("n\n6"));
    EXPECT_EQ(select(QStringLiteral("select count(*) as n from doc_expense")), QStringLiteral("n\n7"));
    EXPECT_EQ(select(QStringLiteral("select count(*) as n from doc_events where opisanie = 'x'")),
              QStringLiteral("n\n0"));
    EXPECT_EQ(select(QStringLiteral("select datedoc, raznica from doc_mileage where id = 1")),
              QStringLiteral("datedoc\traznica\n31.10.2011\t100"));
    EXPECT_EQ(select(QStringLiteral("select kolvo, opisanie from doc_expense where id = 1")),
              QStringLiteral("KOLVO\tOPISANIE\n40\tЗаправка \"Лукойл\""));
}

// A text of any size or content is one value: a 10 MB text is read back whole, or refused by a
// column of fixed size; a NUL inside a text is kept.
TEST_F(SqlDialectTest, HugeTextsAndNulStayOneValue)
{
    const QString huge(10 * 1024 * 1024, u'я');
    EXPECT_EQ(db->query(QStringLiteral("select \"%1\" as t").arg(huge))->value(0, 0), Variant(huge));
    EXPECT_EQ(
        errorOf([&] {
            db->execute(
                QStringLiteral("UPDATE DOC_EXPENSE SET OPISANIE = %1 WHERE ID = 1").arg(sql_literal::quotedText(huge)));
        }),
        QStringLiteral("The text is too long for column 'OPISANIE' (at most 255 characters)."));
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b\"; --");
    EXPECT_EQ(
        db->execute(
            QStringLiteral("UPDATE DOC_EXPENSE SET OPISANIE = %1 WHERE ID = 1").arg(sql_literal::quotedText(withNul))),
        1);
    EXPECT_EQ(db->query(QStringLiteral("select OPISANIE from DOC_EXPENSE where ID = 1"))->value(0, 0),
              Variant(withNul));
}

// One token of the SQLite text the engine runs, as SQLite's own tokenizer splits it: a name (in
// backticks, brackets or double quotes) and a text keep their value, anything else its text.
struct EngineToken {
    enum Kind { Name, Text, Other } kind;
    QString text;
    bool operator==(const EngineToken &) const = default;
};

QList<EngineToken> engineTokens(const QString &sql)
{
    QList<EngineToken> tokens;
    qsizetype i = 0;
    const auto enclosed = [&](QChar close, EngineToken::Kind kind, bool doubling) {
        QString value;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] == close) {
                if (!doubling || i + 1 >= sql.size() || sql[i + 1] != close)
                    break;
                ++i;
            }
            value += sql[i];
        }
        ++i;
        tokens.append({kind, value});
    };
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QStringView rest = QStringView(sql).mid(i);
        if (c.isSpace()) {
            ++i;
        } else if (rest.startsWith(u"--") || rest.startsWith(u"/*")) {
            tokens.append({EngineToken::Other, QStringLiteral("<comment>")});
            i = sql.size();
        } else if (c == u'`' || c == u'"') {
            enclosed(c, EngineToken::Name, true);
        } else if (c == u'[') {
            enclosed(u']', EngineToken::Name, false);
        } else if (c == u'\'') {
            enclosed(c, EngineToken::Text, true);
        } else if (c.isLetterOrNumber() || c == u'_' || c.unicode() >= 0x80) {
            const qsizetype start = i;
            while (i < sql.size() &&
                   (sql[i].isLetterOrNumber() || sql[i] == u'_' || sql[i] == u'$' || sql[i].unicode() >= 0x80))
                ++i;
            tokens.append({EngineToken::Other, sql.mid(start, i - start).toUpper()});
        } else {
            tokens.append({EngineToken::Other, QString(c)});
            ++i;
        }
    }
    return tokens;
}

// Random names and texts through the translator never change the token structure of what the
// engine runs: each name stays one name, each text one text (or one bound value), nothing else
// is added, and the values arrive unchanged.
TEST_F(SqlDialectTest, NoNameOrTextChangesTheStatementsStructure)
{
    const QString alphabet = QStringLiteral("ab1 _.;,=()*-/'\"`[]#?&|%$\n\tЯё") + QString::fromUtf8("😀");
    QRandomGenerator random(20111113);
    const auto randomText = [&](const QString &without) {
        QString text;
        const int length = int(random.bounded(1, 16));
        while (text.size() < length) {
            QString c = alphabet.mid(int(random.bounded(alphabet.size())), 1);
            if (c[0].isSurrogate())
                c = QString::fromUtf8("😀");
            if (!without.contains(c) && !c.startsWith(u'.'))
                text += c;
        }
        return text;
    };
    // Statements with a name in brackets (%1), a name in backticks (%2) and a text (%3).
    const QString templates[] = {
        QStringLiteral("select [%1], `%2` from DOC_EXPENSE where OPISANIE = %3 and IDTYPE = 999"),
        QStringLiteral("delete from DOC_EXPENSE where IDTYPE = 999 and `%2` = [%1] or OPISANIE = %3"),
        QStringLiteral("update DOC_EXPENSE set [%1] = %3, `%2` = 1 where ID = 999"),
        QStringLiteral("insert into DOC_EVENTS (opisanie, [%1], `%2`) values (%3, 1, 2)"),
    };
    auto &engine = dynamic_cast<SqlCipherConnection &>(*db);
    for (const QString &form : templates) {
        for (const bool apostrophes : {false, true}) {
            const auto statement = [&](const QString &bracketName, const QString &backtickName, const QString &text) {
                return form.arg(bracketName, backtickName,
                                apostrophes ? sql_literal::apostropheText(text) : sql_literal::quotedText(text));
            };
            const QString plain = statement(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("t"));
            for (const SqlTextMode mode : {SqlTextMode::Prepared, SqlTextMode::AsWritten}) {
                QList<EngineToken> expected = engineTokens(translateSql(plain, engine.catalog(), mode).sql);
                for (int round = 0; round < 150; ++round) {
                    const QString bracketName = randomText(QStringLiteral("]"));
                    const QString backtickName = randomText(QStringLiteral("`"));
                    const QString text = randomText({});
                    const QString sql = statement(bracketName, backtickName, text);
                    SCOPED_TRACE(sql.toStdString());
                    const SqlTranslation translation = translateSql(sql, engine.catalog(), mode);
                    QList<EngineToken> tokens = engineTokens(translation.sql);
                    ASSERT_EQ(tokens.size(), expected.size()) << translation.sql.toStdString();
                    for (qsizetype i = 0; i < tokens.size(); ++i) {
                        ASSERT_EQ(tokens[i].kind, expected[i].kind) << translation.sql.toStdString();
                        // Other tokens stand as written; "a", "b" and "t" stand for the names and the text.
                        QString wanted = expected[i].text;
                        if (tokens[i].kind != EngineToken::Other)
                            wanted = wanted == u"a"   ? bracketName
                                     : wanted == u"b" ? backtickName
                                     : wanted == u"t" ? text
                                                      : tokens[i].text;
                        ASSERT_EQ(tokens[i].text, wanted) << translation.sql.toStdString();
                    }
                    if (mode == SqlTextMode::Prepared) {
                        EXPECT_TRUE(translation.bindings.contains(Variant(text)));
                    }
                }
            }
        }
    }
}

}  // namespace
