// The log book survives the program being killed at any moment: a second program writes
// expenses through the expense dialog and is killed with SIGKILL at a random moment, again and
// again on the same file. After each kill the file opens, the engine finds no damage, and every
// entry the program had acknowledged is stored exactly once.
//
// The moments come from a seeded generator; the seed is printed, and VORNAK_CRASH_SEED replays
// a run.
#include "tests/fixtures/temp_database.h"
#include "tests/reliability/replayable_seed.h"
#include "tests/reliability/writer_process.h"

#include <gtest/gtest.h>
#include <iostream>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QSet>

using namespace vornak;
using namespace vornak::testing;

namespace {

constexpr int kills = 50;
// One kill in five comes at a moment counted from the start, mostly while the file is being
// opened; the others at a moment counted from the first acknowledged entry, while writing.
constexpr int killsFromStart = 5;
constexpr int latestKillMs = 300;
constexpr int startingMs = 30000;  // the longest a writer may take to write its first entry

TEST(CrashSafety, AcknowledgedEntriesSurviveKillsAtRandomMoments)
{
    TempDatabase file;
    file.open()->execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"));
    const quint32 seed = replayableSeed("VORNAK_CRASH_SEED");
    std::cout << "crash seed " << seed << " (VORNAK_CRASH_SEED replays it)" << std::endl;
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);

    QSet<QString> acknowledged;
    int killsWhileWriting = 0;
    for (int run = 0; run < kills; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        QProcess writer;
        startWriter(writer, file.folder(),
                    {QStringLiteral("entries"), QStringLiteral("r%1").arg(run), QStringLiteral("1000000")});
        ASSERT_TRUE(writer.waitForStarted());
        const bool whileWriting = random.bounded(killsFromStart) != 0;
        QByteArray output;
        if (whileWriting) {
            QDeadlineTimer firstEntry(startingMs);
            while (!output.contains("written ") && writer.waitForReadyRead(int(firstEntry.remainingTime())))
                output += writer.readAllStandardOutput();
            ASSERT_TRUE(output.contains("written ")) << "no entry was written: " << output.toStdString();
        }
        ASSERT_FALSE(writer.waitForFinished(int(random.bounded(latestKillMs + 1))))
            << "the writer stopped before it was killed: " << writer.readAll().toStdString();
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished(10000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit);
        output += writer.readAllStandardOutput();
        EXPECT_EQ(reported(output, QStringLiteral("error")), QStringList());
        const QStringList written = reported(output, QStringLiteral("written"));
        killsWhileWriting += whileWriting;
        acknowledged.unite(QSet<QString>(written.begin(), written.end()));

        const StoredExpenses stored = readStoredExpenses(file.path());
        ASSERT_EQ(stored.integrity, QStringLiteral("ok"));
        for (const QString &entry : std::as_const(acknowledged))
            ASSERT_EQ(stored.descriptions.value(entry), 1) << entry.toStdString();
        for (auto it = stored.descriptions.begin(); it != stored.descriptions.end(); ++it)
            ASSERT_EQ(it.value(), 1) << it.key().toStdString() << " is stored more than once";
    }
    std::cout << kills << " kills, " << killsWhileWriting << " of them while writing; " << acknowledged.size()
              << " entries acknowledged, all stored once" << std::endl;
}

}  // namespace
