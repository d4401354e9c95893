// `vornak-db report` through the report service: the first report of a while runs as the program
// on its own and leaves the service behind; the later ones run in a process of the service, with
// the caller's working folder, streams and exit status, and go with a caller that goes away. Each
// test has a runtime folder of its own, so that its service is its own, and ends the service.
#include "platform/sqlcipher_connection.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <csignal>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vornak;

namespace {

// Whether the process runs (an ended one may wait a moment to be reaped).
bool running(qint64 process)
{
    QFile state(QStringLiteral("/proc/%1/stat").arg(process));
    return state.open(QIODevice::ReadOnly) && !state.readAll().contains(") Z ");
}

class ReportService : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    QTemporaryDir work;

    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid() && work.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(run({QStringLiteral("init"), QStringLiteral("--demo"), QString(log_book::fileName)}).exitCode, 0);
    }

    // Ends the service, and waits for it to clear its files away before the folders go.
    void TearDown() override
    {
        const QSet<qint64> processes = serviceProcesses();
        for (const qint64 process : processes)
            kill(pid_t(process), SIGTERM);
        QElapsedTimer waited;
        waited.start();
        for (const qint64 process : processes)
            while (running(process) && waited.elapsed() < 10000)
                QThread::msleep(10);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        return environment;
    }

    void start(QProcess &process, const QStringList &args) const
    {
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(work.path());
        process.start(QStringLiteral(VORNAK_DB_PATH), args);
    }

    vornak::testing::ToolRun run(const QStringList &args) const
    {
        QProcess process;
        start(process, args);
        process.waitForFinished(180000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // The arguments of a report of the demo log book's first vehicle into `pdf`, both named
    // relative to the working folder.
    static QStringList report(const QString &pdf, const QString &vehicle = QStringLiteral("1"))
    {
        return {QStringLiteral("report"),    QString(log_book::fileName),
                QStringLiteral("--vehicle"), vehicle,
                QStringLiteral("--from"),    QStringLiteral("2025-01-01"),
                QStringLiteral("--to"),      QStringLiteral("2026-12-31"),
                QStringLiteral("--pdf"),     pdf};
    }

    QString socketPath() const
    {
        const QStringList sockets = QDir(runtime.path()).entryList({QStringLiteral("vornak-report-*")}, QDir::System);
        return sockets.isEmpty() ? QString() : runtime.filePath(sockets.first());
    }

    // The service's processes (the service and its spare), by the socket on their command line.
    QSet<qint64> serviceProcesses() const
    {
        QSet<qint64> found;
        const QString socket = socketPath();
        if (socket.isEmpty())
            return found;
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
            if (entry.toLongLong() > 0 && commandLine.open(QIODevice::ReadOnly) &&
                commandLine.readAll().split('\0').contains(socket.toLocal8Bit()))
                found.insert(entry.toLongLong());
        }
        return found;
    }

    // The service's processes once it has settled: the service itself and one spare waiting (a
    // report's process that has told its end may still be going, a new spare still coming).
    QSet<qint64> settledServiceProcesses() const
    {
        QElapsedTimer waited;
        waited.start();
        QSet<qint64> processes = serviceProcesses();
        while (processes.size() != 2 && waited.elapsed() < 5000) {
            QThread::msleep(10);
            processes = serviceProcesses();
        }
        return processes;
    }

    // Waits until the service takes requests: its socket accepts a connection. The connection is
    // closed unsaid, which the spare that takes it shrugs off.
    bool serviceTakesRequests() const
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            const QByteArray path = socketPath().toLocal8Bit();
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const int probe = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
            std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
            const bool listening =
                !path.isEmpty() && connect(probe, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
            close(probe);
            if (listening)
                return settledServiceProcesses().size() == 2;  // the spare that took the probe replaced
            QThread::msleep(20);
        }
        return false;
    }

    QString pdfText(const QString &pdf) const
    {
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        return QString::fromUtf8(text.readAllStandardOutput());
    }
};

TEST_F(ReportService, LaterReportsRunInTheServiceWithTheCallersFolderStreamsAndStatus)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const auto first = run(report(QStringLiteral("first.pdf")));
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_TRUE(serviceTakesRequests());

    const QSet<qint64> before = settledServiceProcesses();
    const auto second = run(report(QStringLiteral("second.pdf")));
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.err.isEmpty()) << second.err.toStdString();
    const QString text = pdfText(work.filePath(QStringLiteral("second.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Карточка автомобиля"))) << text.toStdString();
    EXPECT_EQ(text, pdfText(work.filePath(QStringLiteral("first.pdf"))));
    // The spare that waited took the report, and a new one waits in its place.
    const QSet<qint64> after = settledServiceProcesses();
    EXPECT_EQ(before.size(), 2);
    EXPECT_EQ(after.size(), 2);
    EXPECT_EQ((before & after).size(), 1) << "the service itself stays";

    const struct {
        QStringList args;
        int exitCode;
        const char *message;
    } failures[] = {
        {report(QStringLiteral("x.pdf"), QStringLiteral("Нет такой")), 1, "No vehicle is named or numbered"},
        {report(QStringLiteral("missing/x.pdf")), 1, "missing"},
        {{QStringLiteral("report"), QString(log_book::fileName), QStringLiteral("--vehicle")}, 2, "Usage:"},
        {{QStringLiteral("report"), QStringLiteral("nothere.mdb"), QStringLiteral("--vehicle"), QStringLiteral("1"),
          QStringLiteral("--from"), QStringLiteral("2025-01-01"), QStringLiteral("--to"), QStringLiteral("2025-12-31"),
          QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
         1,
         "Could not find file"},
    };
    for (const auto &failure : failures) {
        const auto refused = run(failure.args);
        EXPECT_EQ(refused.exitCode, failure.exitCode) << failure.message;
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(failure.message))) << refused.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("x.pdf"))));
    EXPECT_EQ(settledServiceProcesses().size(), 2);
}

TEST_F(ReportService, ACallerThatGoesAwayTakesItsReportWithIt)
{
    // Some twelve thousand expenses make the report take a quarter of a second.
    {
        auto logBook = SqlCipherConnection::open(work.filePath(log_book::fileName), log_book::password);
        logBook->execute(
            QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) SELECT OPISANIE FROM SYS_TYPE_EXPENSE"));
        for (int doubling = 0; doubling < 10; ++doubling)
            logBook->execute(
                QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) SELECT OPISANIE FROM SYS_TYPE_EXPENSE"));
        logBook->execute(QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO, KOLVO, SUMMA, IDTYPE, OPISANIE) "
                                        "SELECT 46000, 1, 1, 10, ID, OPISANIE FROM SYS_TYPE_EXPENSE"));
    }
    ASSERT_EQ(run(report(QStringLiteral("first.pdf"))).exitCode, 0);
    ASSERT_TRUE(serviceTakesRequests());
    const QSet<qint64> waiting = settledServiceProcesses();

    QProcess caller;
    start(caller, report(QStringLiteral("stopped.pdf")));
    ASSERT_TRUE(caller.waitForStarted());
    // The report has begun once the spare that took it has been replaced by a new one.
    QElapsedTimer waited;
    waited.start();
    while (serviceProcesses().size() < 3 && waited.elapsed() < 30000)
        QThread::usleep(500);
    ASSERT_LT(waited.elapsed(), 30000) << "the report never began";
    caller.kill();
    ASSERT_TRUE(caller.waitForFinished());

    QThread::msleep(3000);  // longer than the whole report takes
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("stopped.pdf"))));
    const QSet<qint64> left = settledServiceProcesses();
    EXPECT_EQ(left.size(), 2) << "the report's process is gone; the service and its spare stay";
    EXPECT_EQ((left & waiting).size(), 1) << "the service itself stays";
    EXPECT_EQ(run(report(QStringLiteral("stopped.pdf"))).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(work.filePath(QStringLiteral("stopped.pdf"))));
}

}  // namespace
