#include "platform/connection_string.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <unistd.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

QString openFailure(const QString &connectionString)
{
    try {
        Connection::open(connectionString);
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return QStringLiteral("<opened>");
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
}

TEST(DatabaseOpen, RefusesFilesItCannotUseAndLeavesThemUntouched)
{
    TempDatabase file;
    const QString folder = file.folder();
    QByteArray access(4096, '\0');
    access.replace(4, 15, "Standard Jet DB");
    QByteArray ace(4096, '\0');
    ace.replace(4, 15, "Standard ACE DB");
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/jet.mdb"), access));
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/ace.mdb"), ace));
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/notes.mdb"), "Лада, 13.11.2011, 1000 км\n"));
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/empty.mdb"), {}));
    QByteArray noise(8192, '\0');
    QRandomGenerator random(7);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/random.mdb"), noise));
    QByteArray damaged = fileContents(file.path());
    for (int i = 100; i < 116; ++i)
        damaged[i] = char(~damaged[i]);
    ASSERT_TRUE(writeFileContents(folder + QStringLiteral("/damaged.mdb"), damaged));
    const QString unreadable =
        QStringLiteral("The file '%1' is damaged or is not a log book of this program: it cannot "
                       "be read with the log book's password.");

    const struct {
        QString connectionString;
        QString message;
    } cases[] = {
        {log_book::connectionString(QStringLiteral("missing.mdb")),
         QStringLiteral("Could not find file '%1/missing.mdb'.").arg(folder)},
        {ConnectionString::forFile(file.path(), QStringLiteral("KwtRPaNzEq49")), unreadable.arg(file.path())},
        {ConnectionString::forFile(file.path(), QString()), unreadable.arg(file.path())},
        {log_book::connectionString(QStringLiteral("random.mdb")),
         unreadable.arg(folder + QStringLiteral("/random.mdb"))},
        {log_book::connectionString(QStringLiteral("damaged.mdb")),
         unreadable.arg(folder + QStringLiteral("/damaged.mdb"))},
        {log_book::connectionString(QStringLiteral("jet.mdb")),
         QStringLiteral("The file '%1/jet.mdb' is an Access database. It must be converted to this program's format "
                        "before it can be used.")
             .arg(folder)},
        {log_book::connectionString(QStringLiteral("ace.mdb")),
         QStringLiteral("The file '%1/ace.mdb' is an Access database. It must be converted to this program's format "
                        "before it can be used.")
             .arg(folder)},
        {log_book::connectionString(QStringLiteral("notes.mdb")),
         QStringLiteral("The file '%1/notes.mdb' is not a database of this program.").arg(folder)},
        {log_book::connectionString(QStringLiteral("empty.mdb")),
         QStringLiteral("The file '%1/empty.mdb' is not a database of this program.").arg(folder)},
        {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False"),
         QStringLiteral("The connection string names no data source.")},
    };

    ScopedWorkingDirectory here(folder);
    const QStringList entries = folderEntries(folder);
    QList<QByteArray> before;
    for (const QString &entry : entries)
        before.append(fileContents(folder + u'/' + entry));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.connectionString.toStdString());
        EXPECT_EQ(openFailure(c.connectionString), c.message);
    }
    EXPECT_EQ(folderEntries(folder), entries) << "a failed open created a file";
    for (int i = 0; i < entries.size(); ++i)
        EXPECT_EQ(fileContents(folder + u'/' + entries[i]), before[i]) << entries[i].toStdString();
}

TEST(DatabaseOpen, RefusesAFileOrFolderItCannotWrite)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    TempDatabase file;
    const auto readWrite = QFile::ReadOwner | QFile::WriteOwner;
    QFile::setPermissions(file.path(), QFile::ReadOwner);
    EXPECT_EQ(openFailure(file.absoluteConnectionString()),
              QStringLiteral("The file '%1' is read-only; the log book must be writable.").arg(file.path()));
    QFile::setPermissions(file.path(), readWrite);

    QFile::setPermissions(file.folder(), QFile::ReadOwner | QFile::ExeOwner);
    const QString message = openFailure(file.absoluteConnectionString());
    QFile::setPermissions(file.folder(), readWrite | QFile::ExeOwner);
    EXPECT_EQ(message, QStringLiteral("Cannot open '%1': the folder '%2' is not writable (the engine keeps its journal "
                                      "files beside the database).")
                           .arg(file.path(), file.folder()));
}

TEST(DatabaseOpen, KeepsTheContentsEncrypted)
{
    TempDatabase file;
    const QByteArray name = QStringLiteral("Москвич-412 ворнак").toUtf8();
    {
        auto db = file.open();
        db->execute(
            QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"%1\", 1, '13.11.2011')")
                .arg(QString::fromUtf8(name)));
        for (const QString &entry : folderEntries(file.folder()))
            EXPECT_FALSE(fileContents(file.folder() + u'/' + entry).contains(name)) << entry.toStdString();
    }
    EXPECT_FALSE(fileContents(file.path()).contains(name));
    EXPECT_FALSE(fileContents(file.path()).startsWith("SQLite format 3"));
    EXPECT_EQ(file.open()->openTable(QStringLiteral("SPR_AUTO"))->value(0, 1), Variant(QString::fromUtf8(name)));
}

}  // namespace

namespace {

// Another holder of the file: one that keeps it exclusively refuses the opening, one in the
// middle of a write refuses a write; each only after the engine's busy wait.
TEST(DatabaseOpen, ReportsAFileLockedByAnotherHolder)
{
    TempDatabase file;
    auto reader = file.open();
    {
        auto holder = SqlCipherConnection::open(file.path(), log_book::password);
        holder->runStatement(QStringLiteral("BEGIN IMMEDIATE"), {});
        try {
            reader->execute(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Мойка\")"));
            ADD_FAILURE() << "wrote while another connection was writing";
        } catch (const DatabaseError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("The database file is locked by another process."));
        }
        EXPECT_EQ(reader->openTable(QStringLiteral("SYS_TYPE_EXPENSE"))->rowCount(), 0) << "reading goes on";
        holder->runStatement(QStringLiteral("ROLLBACK"), {});
    }
    reader.reset();

    auto holder = SqlCipherConnection::open(file.path(), log_book::password);
    holder->runStatement(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"), {});
    holder->runStatement(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"Мойка\")"), {});
    EXPECT_EQ(
        openFailure(file.absoluteConnectionString()),
        QStringLiteral("Could not open file '%1': The database file is locked by another process.").arg(file.path()));
}

}  // namespace
