// vornak-db backup and restore: a consistent copy taken while another process writes, a restore
// over a log book left with its write-ahead log by a crash, and the restores refused.
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <iostream>
#include <memory>

using namespace vornak;
using namespace vornak::testing;

namespace {

QStringList vehicles(const QString &path)
{
    auto db = SqlCipherConnection::open(path, log_book::password);
    const ResultData rows = db->read(QStringLiteral("SELECT nameauto FROM SPR_AUTO ORDER BY id"), {});
    QStringList names;
    for (const Variant &name : rows.values)
        names.append(name.toString());
    return names;
}

void addVehicle(Connection &db, const char *name)
{
    db.execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"%1\", 0)").arg(QString::fromUtf8(name)));
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A log book holding Нива, and its backup "copy.mdb" beside it.
struct LogBookRestore : ::testing::Test {
    TempDatabase file;
    QString path = file.path();
    QString copy = file.folder() + QStringLiteral("/copy.mdb");
    QString kept = path + QStringLiteral(".before-restore");

    LogBookRestore()
    {
        addVehicle(*file.open(), "Нива");
        const ToolRun backup = runTool({QStringLiteral("backup"), path, copy});
        EXPECT_EQ(backup.exitCode, 0) << backup.err.toStdString();
    }
};

TEST(LogBookBackup, ACopyTakenWhileAnotherProcessInsertsHoldsAPrefixOfTheInserts)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty())
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    TempDatabase file;
    constexpr int inserts = 500;
    QByteArray script = "PRAGMA key='" + log_book::password.toUtf8() + "';\nPRAGMA busy_timeout=10000;\n";
    for (int i = 1; i <= inserts; ++i)
        script += "INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('r" + QByteArray::number(i) + "');\n";
    QProcess writer;
    writer.start(shell, {file.path()});
    ASSERT_TRUE(writer.waitForStarted());
    writer.write(script);
    ASSERT_TRUE(writer.waitForBytesWritten(30000));
    writer.closeWriteChannel();
    auto watcher = SqlCipherConnection::open(file.path(), log_book::password);
    const auto written = [&] {
        return watcher->read(QStringLiteral("SELECT count(*) FROM SYS_TYPE_EXPENSE"), {}).values.value(0).toInt64();
    };
    QDeadlineTimer deadline(30000);
    while (written() == 0 && writer.state() == QProcess::Running && !deadline.hasExpired())
        QThread::usleep(500);

    const QString copy = file.folder() + QStringLiteral("/copy.mdb");
    const ToolRun backup = runTool({QStringLiteral("backup"), file.path(), copy});
    ASSERT_TRUE(writer.waitForFinished(60000));
    ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    ASSERT_EQ(backup.exitCode, 0) << backup.err.toStdString();
    EXPECT_EQ(written(), inserts);

    const ToolRun check = runTool({QStringLiteral("check"), copy});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    auto copied = SqlCipherConnection::open(copy, log_book::password);
    const ResultData rows = copied->read(QStringLiteral("SELECT OPISANIE FROM SYS_TYPE_EXPENSE ORDER BY ID"), {});
    ASSERT_GT(rows.rowCount, 0);
    for (qsizetype i = 0; i < rows.rowCount; ++i)
        ASSERT_EQ(rows.values[i].toString(), QStringLiteral("r%1").arg(i + 1));
    std::cout << "rows in the copy: " << rows.rowCount << " of " << inserts << '\n';

    const QByteArray before = bytesOf(copy);
    const ToolRun again = runTool({QStringLiteral("backup"), file.path(), copy});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, QStringLiteral("The file '%1' already exists.\n").arg(copy));
    EXPECT_EQ(bytesOf(copy), before);
}

// A crash left the log book with rows still in its write-ahead log. Copying a backup into place by
// hand would let that log apply to it; restore keeps those rows in the file it replaces and none
// of them in the restored one.
TEST_F(LogBookRestore, ReplacesALogBookLeftWithItsLogByACrash)
{

    const QString crashed = file.folder() + QStringLiteral("/crashed");
    {
        auto db = file.open();
        addVehicle(*db, "Волга");
        ASSERT_TRUE(QFile::exists(path + QStringLiteral("-wal")));
        ASSERT_TRUE(QFile::copy(path, crashed));
        ASSERT_TRUE(QFile::copy(path + QStringLiteral("-wal"), crashed + QStringLiteral("-wal")));
    }
    SqlCipherConnection::removeFiles(path);
    ASSERT_TRUE(QFile::rename(crashed, path));
    ASSERT_TRUE(QFile::rename(crashed + QStringLiteral("-wal"), path + QStringLiteral("-wal")));

    const ToolRun restore = runTool({QStringLiteral("restore"), copy, path});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_EQ(vehicles(path), QStringList{QStringLiteral("Нива")});
    EXPECT_EQ(runTool({QStringLiteral("check"), path}).exitCode, 0);
    EXPECT_EQ(vehicles(kept), QStringList({QStringLiteral("Нива"), QStringLiteral("Волга")}));
    EXPECT_EQ(runTool({QStringLiteral("check"), kept}).exitCode, 0);
    EXPECT_EQ(vehicles(path), QStringList{QStringLiteral("Нива")}) << "read again after the check";
}

TEST_F(LogBookRestore, RefusesAndLeavesTheLogBookAsItWas)
{
    const QString foreign = file.folder() + QStringLiteral("/foreign.mdb");
    SqlCipherConnection::create(foreign, log_book::password)
        ->runStatement(QStringLiteral("CREATE TABLE SPR_AUTO (id INTEGER PRIMARY KEY)"), {});

    struct Case {
        const char *what;
        QString backup;
        std::function<std::shared_ptr<void>()> arrange;  // what holds while restore runs
        QString message;
    };
    const Case cases[] = {
        {"the log book is open elsewhere", copy, [&] { return std::shared_ptr<void>(file.open()); },
         QStringLiteral("The log book '%1' is open in another program; close it there first.\n").arg(path)},
        {"the backup fails the check", foreign, [] { return nullptr; },
         QStringLiteral("The backup '%1' does not pass the check:\n").arg(foreign)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto held = c.arrange();
        const bool keptBefore = QFile::exists(kept);
        const ToolRun restore = runTool({QStringLiteral("restore"), c.backup, path});
        EXPECT_EQ(restore.exitCode, 1);
        EXPECT_TRUE(restore.err.startsWith(c.message)) << restore.err.toStdString();
        EXPECT_EQ(vehicles(path), QStringList{QStringLiteral("Нива")});
        EXPECT_EQ(QFile::exists(kept), keptBefore);
    }
}

// Each restore keeps the log book it replaces; a copy kept by an earlier one (or whatever lies under
// that name) moves to the first free numbered name and is never lost.
TEST_F(LogBookRestore, EveryRestoreKeepsWhatItReplacesAndNothingEarlierIsLost)
{
    writeFileContents(kept, "left by hand");
    writeFileContents(kept + QStringLiteral(".1"), "taken");
    const auto restoreWith = [&](const char *vehicle) {
        addVehicle(*file.open(), vehicle);
        return runTool({QStringLiteral("restore"), copy, path});
    };
    const ToolRun first = restoreWith("Волга");
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("The copy kept by an earlier restore is now %1.2\n").arg(kept)))
        << first.out.toStdString();
    const ToolRun second = restoreWith("Москвич");
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();

    EXPECT_EQ(vehicles(path), QStringList{QStringLiteral("Нива")});
    EXPECT_EQ(vehicles(kept), QStringList({QStringLiteral("Нива"), QStringLiteral("Москвич")}));
    EXPECT_EQ(vehicles(kept + QStringLiteral(".3")), QStringList({QStringLiteral("Нива"), QStringLiteral("Волга")}));
    EXPECT_EQ(bytesOf(kept + QStringLiteral(".2")), QByteArray("left by hand"));
    EXPECT_EQ(bytesOf(kept + QStringLiteral(".1")), QByteArray("taken"));

    // A refused restore (the log book is open elsewhere) moves nothing.
    const auto held = file.open();
    addVehicle(*held, "Чайка");
    const ToolRun refused = runTool({QStringLiteral("restore"), copy, path});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(vehicles(kept), QStringList({QStringLiteral("Нива"), QStringLiteral("Москвич")}));
    EXPECT_FALSE(QFile::exists(kept + QStringLiteral(".4")));
}

}  // namespace
