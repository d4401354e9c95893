// What the command line writes never replaces the log book or another database, what it only
// reads may lie on read-only storage, and each refusal says what is wrong.
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <unistd.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QStringList reportPeriod = {QStringLiteral("--vehicle"),  QStringLiteral("Нива"), QStringLiteral("--from"),
                                  QStringLiteral("2026-01-01"), QStringLiteral("--to"), QStringLiteral("2026-12-31")};

void addVehicle(const QString &path, const char *name)
{
    SqlCipherConnection::open(path, log_book::password)
        ->execute(
            QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"%1\", 0)").arg(QString::fromUtf8(name)));
}

// A log book holding Нива, and beside it: links to it, another log book, an Access file and a PDF.
struct OutputFolder : ::testing::Test {
    TempDatabase file;
    QString folder = file.folder();
    QString path = file.path();

    OutputFolder()
    {
        addVehicle(path, "Нива");
        QFile::link(path, folder + QStringLiteral("/link.pdf"));
        ::link(QFile::encodeName(path).constData(),
               QFile::encodeName(folder + QStringLiteral("/hard.pdf")).constData());
        EXPECT_EQ(runTool({QStringLiteral("init"), folder + QStringLiteral("/other.mdb")}).exitCode, 0);
        QByteArray access(4096, '\0');
        access.replace(4, 15, "Standard Jet DB");
        writeFileContents(folder + QStringLiteral("/old.mdb"), access);
        writeFileContents(folder + QStringLiteral("/card.pdf"), "%PDF-1.4\nan older card\n%%EOF\n");
    }
};

TEST_F(OutputFolder, NoSpellingOfTheLogBookOrAnotherDatabaseIsWrittenOver)
{
    const QString isLogBook = QStringLiteral("' is the log book: write to another file.\n");
    const QString isDatabase = QStringLiteral("' is a database: write to another file.\n");
    const struct {
        const char *command;
        QString out;
        QString refusal;  // after the quoted OUT; empty: written
    } cases[] = {
        {"report", QStringLiteral("VORNAK.mdb"), isLogBook},
        {"report", QStringLiteral("./VORNAK.mdb"), isLogBook},
        {"report", path, isLogBook},
        {"report", QStringLiteral("../%1/VORNAK.mdb").arg(QDir(folder).dirName()), isLogBook},
        {"report", QStringLiteral("link.pdf"), isLogBook},
        {"report", QStringLiteral("hard.pdf"), isLogBook},
        {"report", QStringLiteral("VORNAK.mdb-wal"), isLogBook},
        {"report", QStringLiteral("other.mdb"), isDatabase},
        {"report", QStringLiteral("old.mdb"), isDatabase},
        {"backup", QStringLiteral("./VORNAK.mdb"), isLogBook},
        {"backup", QStringLiteral("link.pdf"), isLogBook},
        {"report", QStringLiteral("card.pdf"), {}},
    };
    const QStringList kept = {QStringLiteral("VORNAK.mdb"), QStringLiteral("other.mdb"), QStringLiteral("old.mdb")};
    QHash<QString, QByteArray> before;
    for (const QString &name : kept)
        before.insert(name, fileContents(folder + u'/' + name));
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.out.toStdString());
        const QString command = QString::fromLatin1(c.command);
        const QStringList args = command == u"report" ? QStringList{command, QStringLiteral("VORNAK.mdb")} +
                                                            reportPeriod + QStringList{QStringLiteral("--pdf"), c.out}
                                                      : QStringList{command, QStringLiteral("VORNAK.mdb"), c.out};
        const ToolRun run = runTool(args, folder);
        EXPECT_EQ(run.exitCode, c.refusal.isEmpty() ? 0 : 1);
        EXPECT_EQ(run.err, c.refusal.isEmpty() ? QString() : u'\'' + c.out + c.refusal);
        for (const QString &name : kept)
            EXPECT_EQ(fileContents(folder + u'/' + name), before.value(name)) << name.toStdString();
    }
    EXPECT_TRUE(fileContents(folder + QStringLiteral("/card.pdf")).startsWith("%PDF-1.")) << "replaced by the report";
    EXPECT_GT(QFileInfo(folder + QStringLiteral("/card.pdf")).size(), 1000);
    EXPECT_EQ(runTool({QStringLiteral("check"), path}).exitCode, 0);
}

// Each refusal in the command line's own words, naming what is wrong rather than what the tool
// does inside.
TEST_F(OutputFolder, RefusalsSayWhatIsWrong)
{
    ASSERT_EQ(runTool({QStringLiteral("backup"), path, QStringLiteral("copy.mdb")}, folder).exitCode, 0);
    QFile::link(folder + QStringLiteral("/gone.mdb"), folder + QStringLiteral("/dangling"));
    const QString missingFolder = folder + QStringLiteral("/no/such");
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"restore", "VORNAK.mdb", "VORNAK.mdb"}, "The backup and the log book are the same file.\n"},
        {{"restore", "copy.mdb", "copy.mdb"}, "The backup and the log book are the same file.\n"},
        {{"restore", "link.pdf", "./VORNAK.mdb"}, "The backup and the log book are the same file.\n"},
        {{"restore", "copy.mdb", "no/such/VORNAK.mdb"},
         QStringLiteral("The folder '%1' does not exist.\n").arg(missingFolder)},
        {{"backup", "VORNAK.mdb", "no/such/copy.mdb"},
         QStringLiteral("The folder '%1' does not exist.\n").arg(missingFolder)},
        {QStringList{"report", "VORNAK.mdb"} + reportPeriod + QStringList{"--pdf", "no/such/card.pdf"},
         QStringLiteral("The folder '%1' does not exist.\n").arg(missingFolder)},
        {{"init", "no/such/VORNAK.mdb"}, QStringLiteral("The folder '%1' does not exist.\n").arg(missingFolder)},
        {{"check", ""}, "The file name is missing.\n"},
        {{"export", "", "vehicles"}, "The file name is missing.\n"},
        {{"backup", "", "copy2.mdb"}, "The file name is missing.\n"},
        {{"backup", "VORNAK.mdb", ""}, "The name of the file to write is missing.\n"},
        {{"restore", "copy.mdb", ""}, "The name of the file to write is missing.\n"},
        {QStringList{"report", "VORNAK.mdb"} + reportPeriod + QStringList{"--pdf", ""},
         "The name of the file to write is missing.\n"},
        {{"check", "dangling"},
         QStringLiteral("'%1/dangling' is a symbolic link to '%1/gone.mdb', which does not exist.\n").arg(folder)},
        {{"backup", "VORNAK.mdb", "dangling"},
         QStringLiteral("'%1/dangling' is a symbolic link to '%1/gone.mdb', which does not exist.\n").arg(folder)},
    };
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const ToolRun run = runTool(c.args, folder);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), entries);
    }
}

// A bind mount of a folder, read-only; unmounted with the object.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString &source)
    {
        const auto run = [](const QStringList &args) { return QProcess::execute(QStringLiteral("mount"), args) == 0; };
        mounted_ = run({QStringLiteral("--bind"), source, point_.path()});
        readOnly_ = mounted_ && run({QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), point_.path()});
    }
    ~ReadOnlyMount()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), point_.path()});
    }
    bool ready() const { return readOnly_; }
    QString path() const { return point_.path(); }

private:
    QTemporaryDir point_;
    bool mounted_ = false;
    bool readOnly_ = false;
};

// What only reads a log book or a backup reads it on read-only storage; what would write there
// names the folder as read-only.
TEST_F(OutputFolder, FilesOnReadOnlyStorageAreRead)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    ASSERT_EQ(runTool({QStringLiteral("backup"), path, QStringLiteral("copy.mdb")}, folder).exitCode, 0);
    const ReadOnlyMount mount(folder);
    if (!mount.ready())
        GTEST_SKIP() << "no read-only bind mount here";
    const QString logBook = mount.path() + QStringLiteral("/VORNAK.mdb");
    const QString backup = mount.path() + QStringLiteral("/copy.mdb");
    QTemporaryDir out;
    const QString readOnly = QStringLiteral("The folder '%1' is read-only.\n").arg(mount.path());
    const struct {
        QStringList args;
        int exitCode;
        QString said;  // standard output for 0 (its start, if any), standard error for 1
    } cases[] = {
        {{"check", logBook}, 0, "OK: "},
        {{"export", logBook, "vehicles"}, 0, "id,"},
        {QStringList{"report", logBook} + reportPeriod + QStringList{"--pdf", out.filePath("card.pdf")}, 0, ""},
        {{"backup", logBook, out.filePath("copy.mdb")}, 0, "Copied "},
        {{"restore", backup, out.filePath("VORNAK.mdb")}, 0, "Restored "},
        {{"backup", out.filePath("VORNAK.mdb"), mount.path() + "/copy2.mdb"}, 1, readOnly},
        {{"restore", out.filePath("copy.mdb"), logBook}, 1, readOnly},
        {{"init", mount.path() + "/new.mdb"}, 1, readOnly},
        {{"sql", logBook, "DELETE FROM SPR_AUTO"},
         1,
         QStringLiteral("The file '%1' is read-only; the log book must be writable.\n").arg(logBook)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (c.exitCode == 0 && !c.said.isEmpty())
            EXPECT_TRUE(run.out.startsWith(c.said)) << run.out.toStdString();
        else
            EXPECT_EQ(run.err, c.said);
    }
    for (const char *name : {"VORNAK.mdb", "copy.mdb"})
        EXPECT_EQ(runTool({QStringLiteral("check"), out.filePath(QString::fromLatin1(name))}).exitCode, 0) << name;
    EXPECT_TRUE(fileContents(out.filePath(QStringLiteral("card.pdf"))).startsWith("%PDF-"));
}

}  // namespace
