// The daily backup: one a day into VORNAK.backups beside the log book, the ten newest kept and
// nothing else there touched, restorable with `vornak-db restore`; and a backup that cannot be
// made leaves the program running with one notice.
#include "app/after_start_up.h"
#include "app/daily_backup.h"
#include "app/notice_bar.h"
#include "tests/app/main_window_session.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLabel>

using namespace vornak;
using namespace vornak::testing;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList everyRow(Connection &connection)
{
    QStringList rows;
    for (const char *table : {"SPR_AUTO", "SYS_TYPE_EXPENSE", "DOC_MILEAGE", "DOC_EXPENSE", "DOC_EVENTS"}) {
        const auto result = connection.query(QStringLiteral("select * from %1 order by id").arg(QLatin1String(table)));
        for (qsizetype row = 0; row < result->rowCount(); ++row) {
            QStringList values;
            for (int column = 0; column < result->columns().size(); ++column)
                values.append(result->value(row, column).toString());
            rows.append(QLatin1String(table) + u':' + values.join(u'|'));
        }
    }
    return rows;
}

}  // namespace

TEST(DailyBackup, OnceADayTheTenNewestKeptAndNothingElseTouched)
{
    TempDatabase book;
    book.fillDemo(QDate(2026, 12, 10));
    const QString folder = daily_backup::folderOf(book.path());
    EXPECT_EQ(folder, book.folder() + QStringLiteral("/VORNAK.backups"));

    EXPECT_EQ(daily_backup::takeBackup(book.path(), QDate(2026, 12, 1)),
              folder + QStringLiteral("/VORNAK-2026-12-01.mdb"));
    EXPECT_EQ(daily_backup::takeBackup(book.path(), QDate(2026, 12, 1)), QString());  // a second start that day
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("VORNAK-2026-12-01.mdb")});

    const QStringList others = {QStringLiteral("VORNAK-2026-11-30.mdb.bak"), QStringLiteral("VORNAK-old.mdb"),
                                QStringLiteral("notes.txt")};
    for (const QString &name : others)
        ASSERT_TRUE(writeFileContents(folder + u'/' + name, "mine"));
    for (int day = 2; day <= 11; ++day)
        daily_backup::takeBackup(book.path(), QDate(2026, 12, day));
    QStringList expected = others;
    for (int day = 2; day <= 11; ++day)
        expected.append(daily_backup::fileNameOf(QDate(2026, 12, day)));
    expected.sort();
    EXPECT_EQ(filesIn(folder), expected);
    EXPECT_EQ(fileContents(folder + QStringLiteral("/notes.txt")), QByteArray("mine"));
}

TEST(DailyBackup, ABackupRestoresToTheSameRows)
{
    TempDatabase book;
    book.fillDemo(QDate(2026, 12, 10));
    const QString backup = daily_backup::takeBackup(book.path(), QDate(2026, 12, 10));
    const QString restored = book.folder() + QStringLiteral("/restored.mdb");
    const ToolRun run = runTool({QStringLiteral("restore"), backup, restored});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList original = everyRow(*book.open());
    EXPECT_GT(original.size(), 100);
    EXPECT_EQ(everyRow(*Connection::open(log_book::connectionString(restored))), original);
}

TEST(DailyBackup, AFailedBackupLeavesTheProgramRunningWithOneNotice)
{
    MainWindowSession session({QStringLiteral("INSERT INTO SPR_AUTO (nameauto) VALUES ('Нива')")});
    // A file where the folder of the backups belongs: the folder cannot be made.
    const QString blocker = daily_backup::folderOf(session.file.path());
    ASSERT_TRUE(writeFileContents(blocker, "not a folder"));

    AfterStartUp after(*session.window);
    for (int start = 0; start < 2; ++start) {
        after.run();
        after.backup.wait();
        QApplication::processEvents();
    }
    ASSERT_TRUE(after.notice->isVisible());
    const QList<QLabel *> lines = after.notice->findChildren<QLabel *>();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(
        lines[0]->text(),
        QStringLiteral("Не удалось сделать резервную копию журнала в папке «%1». Журнал цел, работа продолжается.")
            .arg(blocker));
    EXPECT_EQ(fileContents(blocker), QByteArray("not a folder"));
    EXPECT_EQ(session.vehicles(), QStringList{QStringLiteral("Нива")});
    QTest::mouseClick(after.notice->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(after.notice->isVisible());
}
