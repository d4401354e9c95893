// A restore killed with SIGKILL at any moment leaves only whole files under their final names:
// the log book, the copy of it kept before the restore, a log book restored into a new file.
// Each run starts from the same log book (it holds Запорожец, the backup does not), with what
// the earlier runs left beside it; half the runs restore over it, half into "fresh.mdb". After
// each kill every file under a final name passes the check; a run that ends by itself succeeds,
// never blocked by what a killed one left (nor by the copy a finished one kept, which moves to a
// numbered name); and at the end a restore of each runs through, keeps what it replaced, and no
// passing name is left.
//
// The moments come from a seeded generator; the seed is printed, and VORNAK_RESTORE_SEED
// replays a run.
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/reliability/replayable_seed.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <iostream>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

using namespace vornak;
using namespace vornak::testing;

namespace {

constexpr int kills = 30;
// Half the kills come at a moment counted from the start; the others from the moment a file
// under a passing name appears, while files are being written.
constexpr int latestKillMs = 250;
constexpr int latestKillAfterWritingMs = 20;

bool passesCheck(const QString &path)
{
    try {
        return log_book::check(*SqlCipherConnection::open(path, log_book::password, Access::ReadOnly)).isEmpty();
    } catch (const Error &) {
        return false;
    }
}

bool holdsZaporozhets(const QString &path)
{
    const ResultData rows =
        SqlCipherConnection::open(path, log_book::password, Access::ReadOnly)
            ->read(QStringLiteral("SELECT count(*) FROM SPR_AUTO WHERE nameauto = 'Запорожец'"), {});
    return rows.values.value(0).toInt64() > 0;
}

bool startRestore(QProcess &restore, const QString &folder, const QString &target)
{
    restore.setWorkingDirectory(folder);
    restore.start(QStringLiteral(VORNAK_DB_PATH), {QStringLiteral("restore"), QStringLiteral("backup.mdb"), target});
    return restore.waitForStarted();
}

TEST(RestoreKills, OnlyWholeFilesUnderFinalNames)
{
    TempDatabase file;
    file.fillDemo(QDate(2026, 12, 10));
    const QString folder = file.folder();
    {
        auto db = SqlCipherConnection::open(file.path(), log_book::password);
        db->backupTo(folder + QStringLiteral("/backup.mdb"), log_book::password);
        db->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"Запорожец\", 0)"));
    }
    const QByteArray logBook = fileContents(file.path());
    const quint32 seed = replayableSeed("VORNAK_RESTORE_SEED");
    std::cout << "restore seed " << seed << " (VORNAK_RESTORE_SEED replays it)" << std::endl;
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);

    // The log books and every copy a restore kept (numbered ones included); not the passing names.
    const auto finalNames = [&] {
        QStringList names =
            QDir(folder).entryList({QStringLiteral("*.mdb"), QStringLiteral("*.before-restore*")}, QDir::Files);
        names.removeIf([](const QString &name) {
            return name.contains(u".partial") || name.endsWith(u"-wal") || name.endsWith(u"-shm") ||
                   name.endsWith(u"-journal");
        });
        names.removeOne(QStringLiteral("backup.mdb"));
        return names;
    };
    const auto checkFinalNames = [&] {
        int broken = 0;
        for (const QString &name : finalNames()) {
            if (!passesCheck(folder + u'/' + name)) {
                ++broken;
                ADD_FAILURE() << name.toStdString() << " does not pass the check";
            }
        }
        return broken;
    };
    int killed = 0;
    int broken = 0;
    for (int run = 0; run < kills; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        // The log book as it was; what earlier runs left beside it stays for this one to meet.
        SqlCipherConnection::removeFiles(file.path());
        ASSERT_TRUE(writeFileContents(file.path(), logBook));
        const QString target = random.bounded(2) == 0 ? QStringLiteral("VORNAK.mdb") : QStringLiteral("fresh.mdb");

        QProcess restore;
        ASSERT_TRUE(startRestore(restore, folder, target));
        if (random.bounded(2) == 0) {
            // Waiting (not just asking the state) is what notices that the process has ended.
            while (restore.state() != QProcess::NotRunning && !restore.waitForFinished(1) &&
                   QDir(folder).entryList({QStringLiteral("*.partial")}, QDir::Files).isEmpty()) {
            }
            restore.waitForFinished(int(random.bounded(latestKillAfterWritingMs + 1)));
        } else {
            restore.waitForFinished(int(random.bounded(latestKillMs + 1)));
        }
        if (restore.state() != QProcess::NotRunning) {
            restore.kill();
            ASSERT_TRUE(restore.waitForFinished(10000));
        }
        if (restore.exitStatus() == QProcess::CrashExit)
            ++killed;
        else
            EXPECT_EQ(restore.exitCode(), 0)
                << "blocked by an earlier run: " << restore.readAllStandardError().toStdString();
        broken += checkFinalNames();
    }
    for (const QString &target : {QStringLiteral("VORNAK.mdb"), QStringLiteral("fresh.mdb")}) {
        // Whatever the earlier runs left, this restore goes through and keeps the file it replaces.
        const QString path = folder + u'/' + target;
        const bool hadZaporozhets = QFile::exists(path) && holdsZaporozhets(path);
        QProcess again;
        ASSERT_TRUE(startRestore(again, folder, target));
        ASSERT_TRUE(again.waitForFinished(30000));
        EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
        EXPECT_TRUE(passesCheck(folder + u'/' + target));
        EXPECT_FALSE(holdsZaporozhets(folder + u'/' + target));
        if (hadZaporozhets)
            EXPECT_TRUE(holdsZaporozhets(path + QStringLiteral(".before-restore")));
    }
    EXPECT_EQ(checkFinalNames(), 0);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.partial*")}, QDir::Files), QStringList())
        << "left by killed runs and not removed by the next";
    std::cout << kills << " restores, " << killed << " of them killed; " << broken
              << " files under a final name did not pass the check" << std::endl;
}

}  // namespace
