// Start-up and `vornak-db check` on files that are not a usable log book: each case leaves a
// working directory in which the database cannot be used; start-up must show one message and
// leave no window, `vornak-db check` must name the problem and end with status 1 (a read-only
// log book it only reads, and finds sound), and neither may change a byte of what is there or
// leave a file beside it.
#include "app/main_form.h"
#include "app/startup.h"
#include "platform/regional_settings.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"
#include "tools/log_book_schema.h"

#include <functional>
#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <unistd.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

// Every entry under `folder` with a hash of its bytes (folders marked as such). Empty journal
// files are left out: the engine may leave them when it could not open a file on a full disk,
// and it cannot know that no other process uses them.
QStringList folderState(const QString &folder)
{
    QStringList state;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const bool journal = entry.fileName().endsWith(u"-wal") || entry.fileName().endsWith(u"-shm");
        if (journal && entry.size() == 0)
            continue;
        const QString hash =
            entry.isDir()
                ? QStringLiteral("folder")
                : QString::fromLatin1(
                      QCryptographicHash::hash(fileContents(entry.filePath()), QCryptographicHash::Sha256).toHex());
        state.append(entry.filePath() + u' ' + hash);
    }
    state.sort();
    return state;
}

// A log book with a year of entries, as bytes.
QByteArray demoLogBook()
{
    TempDatabase file;
    file.fillDemo(QDate(2026, 12, 10));
    return fileContents(file.path());
}

// A log book keyed with `password` (none: a plain SQLite file) holding the tables `ddl` makes.
bool writeLogBook(const QString &path, const QString &password, const QStringList &ddl)
{
    auto db = SqlCipherConnection::create(path, password);
    for (const QString &statement : ddl)
        db->runStatement(statement, {});
    return true;
}

QStringList ddlWithout(const QString &table)
{
    QStringList kept;
    for (const QString &statement : log_book::ddl())
        if (!statement.contains(table))
            kept.append(statement);
    return kept;
}

bool run(const QString &program, const QStringList &args)
{
    return QProcess::execute(program, args) == 0;
}

// A mount made for one case and undone with it. Mounting takes the superuser.
struct Mounts {
    QStringList points;
    ~Mounts()
    {
        for (auto it = points.rbegin(); it != points.rend(); ++it)
            run(QStringLiteral("umount"), {*it});
    }
    bool mount(const QStringList &args, const QString &point)
    {
        if (geteuid() != 0 || !run(QStringLiteral("mount"), args + QStringList{point}))
            return false;
        if (!points.contains(point))
            points.append(point);
        return true;
    }
};

struct Case {
    const char *name;
    // Makes the case in `folder`, where the program looks for "VORNAK.mdb"; returns the folder to
    // run in, or an empty text with `skip` saying why the case cannot be made here.
    std::function<QString(const QString &folder, Mounts &mounts, QString &skip)> make;
    QString startupMessage;  // %1: the file's absolute path
    QString checkMessage;
    int checkStatus = 1;
};

QString fileOf(const QString &folder)
{
    return folder + QStringLiteral("/VORNAK.mdb");
}

// Makes a file of these bytes.
auto bytes(std::function<QByteArray()> of)
{
    return [of = std::move(of)](const QString &folder, Mounts &, QString &) {
        return writeFileContents(fileOf(folder), of()) ? folder : QString();
    };
}

const QString unreadable = QStringLiteral("The file '%1' is damaged or is not a log book of this program: it cannot be "
                                          "read with the log book's password.");
const QString damaged = QStringLiteral("Could not open file '%1': The database file is damaged.");
const QString diskFull = QStringLiteral("Could not open file '%1': The disk is full: there is no room for the "
                                        "journal files beside the database.");
const QString notOurs = QStringLiteral("The file '%1' is not a database of this program.");

TEST(StartupFailure, ShowsTheMessageLeavesNoWindowAndChangesNoByte)
{
    static const QByteArray demo = demoLogBook();
    const Case cases[] = {
        {"missing file", [](const QString &folder, Mounts &, QString &) { return folder; },
         QStringLiteral("Could not find file '%1'."), QStringLiteral("Could not find file '%1'.")},
        {"empty file", bytes([] { return QByteArray(); }), notOurs, notOurs},
        {"text file", bytes([] { return QByteArray("just some text, not a log book\n").repeated(100); }), notOurs,
         notOurs},
        {"truncated to half", bytes([] { return demo.left(demo.size() / 2); }), damaged, damaged},
        {"truncated to 1,000 bytes", bytes([] { return demo.left(1000); }), notOurs, notOurs},
        {"first page zeroed", bytes([] { return QByteArray(4096, '\0') + demo.mid(4096); }), unreadable, unreadable},
        {"random bytes", bytes([] {
             QByteArray noise(16384, '\0');
             QRandomGenerator random(14);
             for (char &byte : noise)
                 byte = char(random.bounded(256));
             return noise;
         }),
         unreadable, unreadable},
        {"an Access file",
         bytes([] { return QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2048, '\0'); }),
         QStringLiteral("The file '%1' is an Access database. It must be converted to this program's format before it "
                        "can be used."),
         QStringLiteral("The file '%1' is an Access database. It must be converted to this program's format before it "
                        "can be used.")},
        {"a folder of that name",
         [](const QString &folder, Mounts &, QString &) {
             return QDir(folder).mkdir(QStringLiteral("VORNAK.mdb")) ? folder : QString();
         },
         QStringLiteral("'%1' is not a file."), QStringLiteral("'%1' is not a file.")},
        {"plain SQLite file with the tables",
         [](const QString &folder, Mounts &, QString &) {
             return writeLogBook(fileOf(folder), QString(), log_book::ddl()) ? folder : QString();
         },
         QStringLiteral("The file '%1' is not an encrypted log book of this program."),
         QStringLiteral("The file '%1' is not an encrypted log book of this program.")},
        {"another password",
         [](const QString &folder, Mounts &, QString &) {
             return writeLogBook(fileOf(folder), QStringLiteral("another password"), log_book::ddl()) ? folder
                                                                                                      : QString();
         },
         unreadable, unreadable},
        {"a table missing",
         [](const QString &folder, Mounts &, QString &) {
             // With a vehicle, so that start-up opens the vehicle's lists.
             QStringList ddl = ddlWithout(QStringLiteral("DOC_EVENTS"));
             ddl.append(
                 QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, 40900)"));
             return writeLogBook(fileOf(folder), log_book::password, ddl) ? folder : QString();
         },
         QStringLiteral("Could not find table 'DOC_EVENTS'."), QStringLiteral("Table DOC_EVENTS is missing.")},
        {"a column missing",
         [](const QString &folder, Mounts &, QString &) {
             QStringList ddl = ddlWithout(QStringLiteral("SPR_AUTO"));
             ddl.append(
                 QStringLiteral("CREATE TABLE SPR_AUTO (id INTEGER PRIMARY KEY AUTOINCREMENT, nameauto VARCHAR(255), "
                                "beginkm INTEGER)"));
             return writeLogBook(fileOf(folder), log_book::password, ddl) ? folder : QString();
         },
         QStringLiteral("TableSprAuto: Field 'Дата начала' not found"),
         QStringLiteral("Column SPR_AUTO.begindate is missing.")},
        {"read-only file",
         [](const QString &folder, Mounts &mounts, QString &skip) {
             const QString file = fileOf(folder);
             if (!writeFileContents(file, demo))
                 return QString();
             if (geteuid() != 0) {
                 QFile::setPermissions(file, QFile::ReadOwner);
                 return folder;
             }
             // File modes do not bind the superuser: a read-only mount of the file itself does.
             if (mounts.mount({QStringLiteral("--bind"), file}, file) &&
                 mounts.mount({QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), file}, file))
                 return folder;
             skip = QStringLiteral("the file could not be mounted read-only");
             return QString();
         },
         QStringLiteral("The file '%1' is read-only; the log book must be writable."),
         QStringLiteral("OK: the five tables and their columns are in place"), 0},
        {"full disk",
         [](const QString &folder, Mounts &mounts, QString &skip) {
             const QString disk = folder + QStringLiteral("/disk");
             QDir(folder).mkdir(QStringLiteral("disk"));
             if (!mounts.mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                QStringLiteral("size=%1").arg(demo.size() + 64 * 1024), QStringLiteral("tmpfs")},
                               disk)) {
                 skip = QStringLiteral("a small disk could not be mounted (this takes the superuser)");
                 return QString();
             }
             if (!writeFileContents(fileOf(disk), demo))
                 return QString();
             QFile filler(disk + QStringLiteral("/filler"));
             filler.open(QIODevice::WriteOnly);
             const QByteArray block(4096, 'x');
             while (filler.write(block) == block.size() && filler.flush()) {
             }
             return disk;
         },
         diskFull, diskFull},
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temp;
        Mounts mounts;
        QString skip;
        const QString folder = c.make(temp.path(), mounts, skip);
        if (folder.isEmpty()) {
            ASSERT_FALSE(skip.isEmpty()) << "the case could not be made";
            std::cout << "[  SKIPPED ] " << c.name << ": " << skip.toStdString() << std::endl;
            continue;
        }
        const QString file = fileOf(folder);
        const QStringList before = folderState(temp.path());

        {
            ScopedWorkingDirectory here(folder);
            ScriptedDialogs dialogs;
            FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
            EXPECT_FALSE(qobject_cast<TApplication *>(qApp)->startUp());
            ASSERT_EQ(dialogs.messages.size(), 1);
            EXPECT_TRUE(
                dialogs.messages[0].text.contains(QString(c.startupMessage).replace(QStringLiteral("%1"), file)))
                << dialogs.messages[0].text.toStdString();
            EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Мой ворнак"));
            EXPECT_EQ(MainForm, nullptr);
            for (QWidget *window : QApplication::topLevelWidgets())
                EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        }

        QProcess check;
        check.start(QStringLiteral(VORNAK_DB_PATH), {QStringLiteral("check"), file});
        ASSERT_TRUE(check.waitForFinished(60000));
        EXPECT_EQ(check.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(check.exitCode(), c.checkStatus);
        const QString said = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
        EXPECT_TRUE(said.contains(QString(c.checkMessage).replace(QStringLiteral("%1"), file))) << said.toStdString();

        EXPECT_EQ(folderState(temp.path()).join(u'\n').toStdString(), before.join(u'\n').toStdString());
    }
}

}  // namespace
