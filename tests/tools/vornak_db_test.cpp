#include "platform/database.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

TEST(VornakDb, AnotherProcessWritesWhileTheFileIsOpenHere)
{
    TempDatabase file;
    auto db = file.open();
    db->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"Лада\", 900, '13.11.2011')"));
    auto vehicles = db->openTable(QStringLiteral("SPR_AUTO"));

    const ToolRun insert = runTool({QStringLiteral("sql"), file.path(),
                                    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"Нива\", 0, #11/14/2011#)")});
    EXPECT_EQ(insert.exitCode, 0) << insert.err.toStdString();
    EXPECT_EQ(insert.out, QStringLiteral("1 rows affected\n"));
    EXPECT_EQ(vehicles->rowCount(), 1) << "an open result is static";

    // This process writes too, while the other keeps reading the same file.
    vehicles = db->openTable(QStringLiteral("SPR_AUTO"));
    ASSERT_EQ(vehicles->rowCount(), 2);
    vehicles->updateRow(1, {{vehicles->columnIndex(QStringLiteral("beginkm")), Variant(150)}});
    const ToolRun list = runTool({QStringLiteral("sql"), file.path(), QStringLiteral("select * from spr_auto order by id")});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, QStringLiteral("id\tnameauto\tbeginkm\tbegindate\n1\tЛада\t900\t13.11.2011\n2\tНива\t150\t14.11.2011\n"));
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
                 "CREATE TABLE DOC_MILEAGE (id INTEGER PRIMARY KEY, datedoc DATETIME, idauto INTEGER, tekprobeg DOUBLE, raznica TEXT)",
                 "CREATE TABLE DOC_EXPENSE (ID INTEGER, IDTYPE INTEGER, IDAUTO INTEGER, DATEDOC DATETIME, KOLVO DOUBLE, SUMMA DOUBLE, OPISANIE VARCHAR(255))",
             })
            db->runStatement(QString::fromLatin1(ddl), {});
    }
    const ToolRun check = runTool({QStringLiteral("check"), path});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.out, QStringLiteral("Column SPR_AUTO.begindate is missing.\n"
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
    file.open()->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"a\" & char(0) & \"b\tc\nd\\e\r\", 1)"));
    const ToolRun list = runTool({QStringLiteral("sql"), file.path(), QStringLiteral("select nameauto, beginkm from spr_auto")});
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
    if (!QFile::exists(second))
        EXPECT_EQ(runTool({QStringLiteral("init"), second}).exitCode, 0);
    EXPECT_EQ(runTool({QStringLiteral("check"), second}).exitCode, 0);
}

} // namespace
