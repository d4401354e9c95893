#include "platform/database.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace vornak;
using namespace vornak::testing;

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(VornakDb, AnotherProcessWritesWhileTheFileIsOpenHere)
{
    TempDatabase file;
    auto db = file.open();
    db->execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"Лада\", 900, '13.11.2011')"));
    auto vehicles = db->openTable(QStringLiteral("SPR_AUTO"));

    const ToolRun insert = runTool(
        {QStringLiteral("sql"), file.path(),
         QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"Нива\", 0, #11/14/2011#)")});
    EXPECT_EQ(insert.exitCode, 0) << insert.err.toStdString();
    EXPECT_EQ(insert.out, QStringLiteral("1 rows affected\n"));
    EXPECT_EQ(vehicles->rowCount(), 1) << "an open result is static";

    // This process writes too, while the other keeps reading the same file.
    vehicles = db->openTable(QStringLiteral("SPR_AUTO"));
    ASSERT_EQ(vehicles->rowCount(), 2);
    vehicles->updateRow(1, {{vehicles->columnIndex(QStringLiteral("beginkm")), Variant(150)}});
    const ToolRun list =
        runTool({QStringLiteral("sql"), file.path(), QStringLiteral("select * from spr_auto order by id")});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out,
              QStringLiteral("id\tnameauto\tbeginkm\tbegindate\n1\tЛада\t900\t13.11.2011\n2\tНива\t150\t14.11.2011\n"));
}

// Opening and closing a second connection here leaves the first one's hold on the file: the
// other process, ending, must not take the journal away from under it, and what the first
// connection writes next is there for every reader at once.
TEST(VornakDb, AnotherConnectionHereKeepsTheFirstOnesHold)
{
    TempDatabase file;
    auto db = file.open();
    file.open()->openTable(QStringLiteral("SPR_AUTO"));
    const ToolRun insert = runTool({QStringLiteral("sql"), file.path(),
                                    QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Бензин\")")});
    ASSERT_EQ(insert.exitCode, 0) << insert.err.toStdString();
    db->execute(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Мойка\")"));
    const ToolRun list = runTool(
        {QStringLiteral("sql"), file.path(), QStringLiteral("select OPISANIE from SYS_TYPE_EXPENSE order by ID")});
    EXPECT_EQ(list.err, QString());
    EXPECT_EQ(list.out, QStringLiteral("OPISANIE\nБензин\nМойка\n"));
}

TEST(VornakDb, SqlReportsTheEnginesMessageOnFailure)
{
    TempDatabase file;
    const ToolRun run = runTool({QStringLiteral("sql"), file.path(), QStringLiteral("select * from DOC_MILAGE")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("Could not find table 'DOC_MILAGE'.\n"));
}

TEST(VornakDb, InitCreatesACheckedFileAndNeverOverwrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.mdb"));
    const ToolRun init = runTool({QStringLiteral("init"), QStringLiteral("--demo"), path});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    const ToolRun check = runTool({QStringLiteral("check"), path});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_TRUE(check.out.startsWith(QStringLiteral("OK"))) << check.out.toStdString();

    auto db = Connection::open(log_book::connectionString(path));
    for (const char *table : {"SPR_AUTO", "SYS_TYPE_EXPENSE", "DOC_MILEAGE", "DOC_EXPENSE", "DOC_EVENTS"})
        EXPECT_GT(db->openTable(QString::fromLatin1(table))->rowCount(), 1) << table;
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    db.reset();

    const ToolRun again = runTool({QStringLiteral("init"), path});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, QStringLiteral("The file '%1' already exists.\n").arg(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/VORNAK.mdb"));
    EXPECT_EQ(runTool({QStringLiteral("init"), nowhere}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(VornakDb, CheckNamesEveryMissingTableColumnAndWrongKind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VORNAK.mdb"));
    {
        auto db = SqlCipherConnection::create(path, log_book::password);
        for (const char *ddl : {
                 "CREATE TABLE SPR_AUTO (id INTEGER PRIMARY KEY, nameauto VARCHAR(255), beginkm INTEGER)",
                 "CREATE TABLE SYS_TYPE_EXPENSE (ID INTEGER PRIMARY KEY, OPISANIE VARCHAR(50))",
                 "CREATE TABLE DOC_MILEAGE (id INTEGER PRIMARY KEY, datedoc DATETIME, idauto INTEGER, tekprobeg "
                 "DOUBLE, raznica TEXT)",
                 "CREATE TABLE DOC_EXPENSE (ID INTEGER, IDTYPE INTEGER, IDAUTO INTEGER, DATEDOC DATETIME, KOLVO "
                 "DOUBLE, SUMMA DOUBLE, OPISANIE VARCHAR(255))",
             })
            db->runStatement(QString::fromLatin1(ddl), {});
    }
    const ToolRun check = runTool({QStringLiteral("check"), path});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.out,
              QStringLiteral("Column SPR_AUTO.begindate is missing.\n"
                             "Table SPR_AUTO does not guard the kind and size of nameauto, beginkm (made by an "
                             "older vornak-db).\n"
                             "Column SYS_TYPE_EXPENSE.OPISANIE is text(50), expected text(255).\n"
                             "Column DOC_MILEAGE.tekprobeg is float, expected integer.\n"
                             "Column DOC_MILEAGE.raznica is text(255), expected integer.\n"
                             "Table DOC_MILEAGE does not guard the kind and size of datedoc, idauto (made by an "
                             "older vornak-db).\n"
                             "Column DOC_EXPENSE.ID is integer, expected autoincrement key.\n"
                             "Table DOC_EXPENSE does not guard the kind and size of IDTYPE, IDAUTO, DATEDOC, KOLVO, "
                             "SUMMA, OPISANIE (made by an older vornak-db).\n"
                             "Table DOC_EVENTS is missing.\n"));
}

TEST(VornakDb, CheckFindsDamagedPages)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VORNAK.mdb"));
    ASSERT_EQ(runTool({QStringLiteral("init"), QStringLiteral("--demo"), path}).exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), 8 * 1024);
    file.seek(file.size() / 2);
    QByteArray bytes = file.read(16);
    for (char &byte : bytes)
        byte = char(~byte);
    file.seek(file.size() / 2);
    file.write(bytes);
    file.close();
    const ToolRun check = runTool({QStringLiteral("check"), path});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.out.startsWith(QStringLiteral("Damage found: "))) << check.out.toStdString();
}

// Every value is printed whole, each row on one line.
TEST(VornakDb, SqlEscapesTabsLineBreaksAndNul)
{
    TempDatabase file;
    file.open()->execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"a\" & char(0) & \"b\tc\nd\\e\r\", 1)"));
    const ToolRun list =
        runTool({QStringLiteral("sql"), file.path(), QStringLiteral("select nameauto, beginkm from spr_auto")});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, QStringLiteral("nameauto\tbeginkm\na\\0b\\tc\\nd\\\\e\\r\t1\n"));
    EXPECT_TRUE(runTool({}).err.contains(QStringLiteral("are written \\\\, \\t, \\n, \\r, \\0.")));
}

// The file appears under its name only when complete, whatever the path holds.
TEST(VornakDb, InitRenamesACompleteFileIntoPlace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a;b.mdb"));
    ASSERT_EQ(runTool({QStringLiteral("init"), QStringLiteral("--demo"), path}).exitCode, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a;b.mdb")});
    EXPECT_EQ(runTool({QStringLiteral("check"), path}).exitCode, 0);

    // Killed part way: what is left never blocks the next run.
    const QString second = dir.filePath(QStringLiteral("VORNAK.mdb"));
    QProcess process;
    process.start(QStringLiteral(VORNAK_DB_PATH), {QStringLiteral("init"), QStringLiteral("--demo"), second});
    ASSERT_TRUE(process.waitForStarted());
    while (process.state() == QProcess::Running && QDir(dir.path()).entryList(QDir::Files).size() < 2)
        QThread::usleep(200);
    process.kill();
    process.waitForFinished();
    if (!QFile::exists(second)) {
        EXPECT_EQ(runTool({QStringLiteral("init"), second}).exitCode, 0);
    }
    EXPECT_EQ(runTool({QStringLiteral("check"), second}).exitCode, 0);
}

}  // namespace

namespace {

// Hostile statements from the command line: each is stored literally or refused with the
// engine's message; none crashes, hangs or changes the schema, and no file appears beside the
// log book.
TEST(VornakDb, HostileStatementsAreStoredLiterallyOrRefused)
{
    TempDatabase file;
    file.open()->execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"));
    const QString schema = file.schema();
    const QStringList entries = QDir(file.folder()).entryList(QDir::Files);
    const QString nested = QStringLiteral("select ") + QString(10000, u'(') + u'1' + QString(10000, u')');
    const QString invalid =
        QStringLiteral("Invalid SQL statement; expected DELETE, INSERT, SELECT, UPDATE or a table definition.\n");

    const struct {
        QString sql;
        int exitCode;
        QString output;  // standard output for 0, standard error for 1
    } cases[] = {
        // Quotes of both kinds, a second statement, comments and Unicode inside texts are text.
        {QStringLiteral("INSERT INTO DOC_EXPENSE (IDAUTO, OPISANIE) VALUES (1, \"O'Brien \"\"Лукойл\"\"; DROP TABLE "
                        "DOC_EVENTS -- /* x */\")"),
         0, QStringLiteral("1 rows affected\n")},
        {QStringLiteral("INSERT INTO DOC_EXPENSE (IDAUTO, OPISANIE) VALUES (2, 'a''b \"c\"; ATTACH ''x.db'' AS x')"), 0,
         QStringLiteral("1 rows affected\n")},
        {QStringLiteral("select OPISANIE as [Описание 🚗] from DOC_EXPENSE order by ID"), 0,
         QStringLiteral(
             "Описание 🚗\nO'Brien \"Лукойл\"; DROP TABLE DOC_EVENTS -- /* x */\na'b \"c\"; ATTACH 'x.db' AS x\n")},
        // Comments are not of the dialect; a second statement, the engine's own statements and tables.
        {QStringLiteral("select count(*) as n from DOC_EXPENSE -- ; DROP TABLE DOC_EVENTS"), 1,
         QStringLiteral("Characters found after end of SQL statement.\n")},
        {QStringLiteral("select count(*) as n from DOC_EXPENSE /* DROP TABLE DOC_EVENTS */"), 1,
         QStringLiteral("Syntax error near '/'.\n")},
        {QStringLiteral("select * from DOC_EXPENSE; DROP TABLE DOC_EVENTS"), 1,
         QStringLiteral("Characters found after end of SQL statement.\n")},
        {QStringLiteral("DELETE FROM DOC_EXPENSE; DROP TABLE DOC_EVENTS"), 1,
         QStringLiteral("Characters found after end of SQL statement.\n")},
        {QStringLiteral("ATTACH DATABASE 'x.db' AS x"), 1, invalid},
        {QStringLiteral("PRAGMA writable_schema = 1"), 1, invalid},
        {QStringLiteral("PRAGMA rekey = 'другой'"), 1, invalid},
        {QStringLiteral("PRAGMA journal_mode = DELETE"), 1, invalid},
        {QStringLiteral("VACUUM"), 1, invalid},
        {QStringLiteral("VACUUM INTO 'copy.mdb'"), 1, invalid},
        {QStringLiteral("select sql from sqlite_master"), 1, QStringLiteral("Could not find table 'sqlite_master'.\n")},
        {QStringLiteral("select load_extension('x')"), 1, QStringLiteral("Not authorized.\n")},
        // Deep nesting and what never ends.
        {nested, 1, QStringLiteral("The SQL statement is nested too deeply.\n")},
        {QStringLiteral("select \"abc"), 1, QStringLiteral("Unterminated text in the SQL statement: \"abc\n")},
        {QStringLiteral("select 'abc"), 1, QStringLiteral("Unterminated text in the SQL statement: 'abc\n")},
        {QStringLiteral("select * from DOC_EXPENSE where DATEDOC < #12/31/2011"), 1,
         QStringLiteral("Unterminated date in the SQL statement: #12/31/2011\n")},
        {QStringLiteral("select [OPISANIE from DOC_EXPENSE"), 1,
         QStringLiteral("Unterminated name in the SQL statement: [OPISANIE from DOC_EXPENSE\n")},
        {QStringLiteral("select * from DOC_EXPENSE where DATEDOC < #99/99/9999#"), 1,
         QStringLiteral("Syntax error in date in query expression '#99/99/9999#'.\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql.left(200).toStdString());
        QProcess process;
        process.setWorkingDirectory(file.folder());
        process.start(QStringLiteral(VORNAK_DB_PATH), {QStringLiteral("sql"), file.path(), c.sql});
        ASSERT_TRUE(process.waitForFinished(30000)) << "still running";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.exitCode);
        const QByteArray said = c.exitCode == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
        EXPECT_EQ(QString::fromUtf8(said), c.output);
    }
    EXPECT_EQ(file.schema(), schema);
    EXPECT_EQ(QDir(file.folder()).entryList(QDir::Files), entries);
}

}  // namespace
