// The log book survives power cuts. A kill leaves the operating system's cache to finish the
// writes; a power cut does not. Here the file layer under the engine (power_cut_vfs.h) cuts the
// power at a random write while the program's connection writes entries, now and then copies its
// log into the file and now and then closes the log book and opens it again; each sector not
// synced yet is then left as synced, as written, or as a write in between had it. The file is
// opened again, again and again on the same file. After each cut the checks of `vornak-db check`
// find nothing, and every entry acknowledged before the cut is stored exactly once (the one under
// way may be stored or not, and once stored must stay).
//
// The cuts come from a seeded generator; the seed is printed, and VORNAK_POWER_CUT_SEED replays
// a run.
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/reliability/power_cut_vfs.h"
#include "tests/reliability/replayable_seed.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <iostream>
#include <QHash>
#include <QSet>

using namespace vornak;
using namespace vornak::testing;

namespace {

constexpr int cuts = 300;
constexpr int longestRunInWrites = 120;  // the cut comes at a write drawn from 1 to this
// Before each entry, one time in this many the log is copied into the file, and one time in the
// other the log book is closed (which copies the log and removes it) and opened again.
constexpr int checkpointOneIn = 6;
constexpr int reopenOneIn = 15;

QString expenseStatement(const QString &text)
{
    return QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie ) "
                          "values ( '10.12.2026',1,1,100,0,\"%1\")")
        .arg(text);
}

// The entries the file holds, each with the number of times it is stored.
QHash<QString, int> storedEntries(SqlCipherConnection &connection)
{
    QHash<QString, int> stored;
    for (const Variant &text : connection.read(QStringLiteral("SELECT OPISANIE FROM DOC_EXPENSE"), {}).values)
        ++stored[text.toString()];
    return stored;
}

}  // namespace

TEST(PowerCut, AcknowledgedEntriesSurviveCutsAtRandomWrites)
{
    TempDatabase file;
    file.open()->execute(
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')"));
    const quint32 seed = replayableSeed("VORNAK_POWER_CUT_SEED");
    std::cout << "power cut seed " << seed << " (VORNAK_POWER_CUT_SEED replays it)" << std::endl;
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);
    PowerCutVfs vfs(random, log_book::fileName);

    QSet<QString> acknowledged;
    QString underWay;  // the entry being written when the power went
    int reopened = 0;
    for (int cut = 0; cut <= cuts; ++cut) {
        SCOPED_TRACE("after cut " + std::to_string(cut) + ", seed " + std::to_string(seed));
        auto connection = SqlCipherConnection::open(file.path(), log_book::password);
        ASSERT_EQ(log_book::check(*connection), QStringList());
        const QHash<QString, int> stored = storedEntries(*connection);
        for (const QString &entry : std::as_const(acknowledged))
            ASSERT_EQ(stored.value(entry), 1) << entry.toStdString();
        for (auto at = stored.begin(); at != stored.end(); ++at) {
            ASSERT_EQ(at.value(), 1) << at.key().toStdString();
            ASSERT_TRUE(acknowledged.contains(at.key()) || at.key() == underWay) << at.key().toStdString();
        }
        if (stored.contains(underWay))
            acknowledged.insert(underWay);  // it reached the disk: from now on it must stay
        if (cut == cuts)
            break;

        vfs.cutAtWrite(1 + int(random.bounded(longestRunInWrites)));
        for (int n = 0; !vfs.isCut(); ++n) {
            underWay = QStringLiteral("c%1-%2").arg(cut).arg(n);
            try {
                if (random.bounded(checkpointOneIn) == 0)
                    connection->runStatement(QStringLiteral("PRAGMA wal_checkpoint"), {});
                if (random.bounded(reopenOneIn) == 0) {
                    connection.reset();
                    connection = SqlCipherConnection::open(file.path(), log_book::password);
                    ++reopened;
                }
                connection->execute(expenseStatement(underWay));
                acknowledged.insert(underWay);
            } catch (const DatabaseError &error) {
                ASSERT_TRUE(vfs.isCut()) << error.message().toStdString();
            }
        }
        connection.reset();
        vfs.powerOn();
    }

    // The cuts did damage: sectors were lost, also in the log book itself, not only in its log.
    const PowerCutVfs::CutFigures &figures = vfs.figures();
    EXPECT_EQ(figures.cuts, cuts);
    EXPECT_GT(figures.sectorsAsSynced, 0);
    EXPECT_GT(figures.sectorsInBetween, 0);
    EXPECT_GT(figures.cutsInLogBook, 0);
    std::cout << figures.cuts << " power cuts (" << figures.cutsInLogBook
              << " while the log was copied into the file), " << acknowledged.size()
              << " entries acknowledged, all stored once; " << reopened
              << " reopenings; unsynced sectors left as synced " << figures.sectorsAsSynced << ", in between "
              << figures.sectorsInBetween << ", as written " << figures.sectorsAsWritten << std::endl;
}
