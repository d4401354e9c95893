// When the start-up fails, what the user sees and in which order: the offer to convert an old log
// book comes before the splash; a log book that cannot be opened (missing, another password,
// locked by another program, an Access file kept as it is) gives its one message once the splash
// is gone, with no main window shown at any moment and none left. The log book is opened in the
// background while the splash animates, and its failure reaches the user as it was raised.
#include "app/flash.h"
#include "app/main_form.h"
#include "app/startup.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"
#include "tools/log_book_schema.h"

#include <cstdio>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QEvent>
#include <QFile>
#include <QProcess>

using namespace vornak;
using namespace vornak::testing;

namespace {

// The start-up as the user sees it: each window that appears and each message with what is on
// the screen at its moment. Nothing is recorded of the animation's steps: how many play before a
// failure is known depends on how long the failure takes.
class StartUpWatcher : public QObject, public ScriptedDialogs {
public:
    StartUpWatcher()
    {
        qApp->installEventFilter(this);
        clock.onSleep = [this](int) { mainWindowShown = mainWindowShown || (MainForm && MainForm->isVisible()); };
    }
    ~StartUpWatcher() override { qApp->removeEventFilter(this); }

    ModalResult messageBox(const QString &text, const QString &caption, MessageButtons buttons,
                           MessageIcon icon) override
    {
        timeline.append(QStringLiteral("message \"%1\" over %2").arg(text, onScreen()));
        return ScriptedDialogs::messageBox(text, caption, buttons, icon);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            timeline.append(QStringLiteral("shown ") + QString::fromLatin1(watched->metaObject()->className()));
        return false;
    }

    // The windows that exist, visible or not; "nothing" when none does.
    static QString onScreen()
    {
        QStringList windows;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TFlash *>(window) || window == MainForm)
                windows.append(QString::fromLatin1(window->metaObject()->className()) +
                               (window->isVisible() ? QString() : QStringLiteral(" (hidden)")));
        }
        return windows.isEmpty() ? QStringLiteral("nothing") : windows.join(u", ");
    }

    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
    QStringList timeline;
    bool mainWindowShown = false;
};

// A log book keyed with another password.
void foreignPassword(const QString &path)
{
    auto db = SqlCipherConnection::create(path, QStringLiteral("another password"));
    for (const QString &statement : log_book::ddl())
        db->runStatement(statement, {});
}

// This test's program started again as another program that keeps the log book to itself (an
// exclusive lock, past the engine's busy wait) until its input is closed. It must be another
// process: this one looks into the file before opening it, and POSIX locks are the process's.
const char *const holderMark = "VORNAK_LOG_BOOK_HOLDER";

void holdLogBookUntilInputEnds()
{
    auto holder = SqlCipherConnection::open(QStringLiteral("VORNAK.mdb"), log_book::password);
    holder->runStatement(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"), {});
    holder->runStatement(QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Мойка')"), {});
    std::printf("locked\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
}

struct LockHolder {
    QProcess process;

    explicit LockHolder(const QString &folder)
    {
        process.setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(holderMark), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--gtest_filter=StartupFailure.EachMessageComesAloneOnceTheSplashIsGone")});
        QByteArray said;
        while (!said.contains("locked\n") && process.waitForReadyRead(30000))
            said += process.readAllStandardOutput();
    }
    ~LockHolder()
    {
        process.closeWriteChannel();
        process.waitForFinished(30000);
    }
};

struct Case {
    const char *name;
    // Makes the case in the folder of a fresh log book; what it returns lives while start-up runs.
    std::function<std::shared_ptr<void>(TempDatabase &)> make;
    std::deque<ModalResult> answers;
    QStringList timeline;  // %1: the log book's absolute path
};

const QString splashShown = QStringLiteral("shown vornak::TFlash");

QString failure(const QString &message)
{
    return QStringLiteral("message \"%1\" over nothing").arg(message);
}

TEST(StartupFailure, EachMessageComesAloneOnceTheSplashIsGone)
{
    if (qEnvironmentVariableIsSet(holderMark))
        return holdLogBookUntilInputEnds();
    const QString unreadable = QStringLiteral("The file '%1' is damaged or is not a log book of this program: it "
                                              "cannot be read with the log book's password.");
    const Case cases[] = {
        {"missing file",
         [](TempDatabase &book) {
             QFile::remove(book.path());
             return nullptr;
         },
         {},
         {splashShown, failure(QStringLiteral("Could not find file '%1'."))}},
        {"another password",
         [](TempDatabase &book) {
             QFile::remove(book.path());
             foreignPassword(book.path());
             return nullptr;
         },
         {},
         {splashShown, failure(unreadable)}},
        {"locked by another program",
         [](TempDatabase &book) { return std::make_shared<LockHolder>(book.folder()); },
         {},
         {splashShown,
          failure(QStringLiteral("Could not open file '%1': The database file is locked by another process."))}},
        {"an old log book kept as it is",
         [](TempDatabase &book) {
             writeFileContents(book.path(), writeJet4(sampleOldLogBook()));
             return nullptr;
         },
         {ModalResult::No},
         {QStringLiteral("message \"Файл «VORNAK.mdb» — журнал старой версии программы. Преобразовать его в новый "
                         "формат?\n\nСтарый файл будет сохранён под именем «VORNAK.mdb.access».\" over nothing"),
          splashShown,
          failure(QStringLiteral("The file '%1' is an Access database. It must be converted to this program's format "
                                 "before it can be used."))}},
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDatabase book;
        const std::shared_ptr<void> kept = c.make(book);
        ScopedWorkingDirectory here(book.folder());
        StartUpWatcher watcher;
        watcher.messageAnswers = c.answers;

        EXPECT_FALSE(qobject_cast<TApplication *>(qApp)->startUp());

        QStringList expected;
        for (const QString &line : c.timeline)
            expected.append(QString(line).replace(QStringLiteral("%1"), book.path()));
        EXPECT_EQ(watcher.timeline.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
        EXPECT_FALSE(watcher.mainWindowShown);
        EXPECT_EQ(MainForm, nullptr);
        EXPECT_EQ(StartUpWatcher::onScreen(), QStringLiteral("nothing"));
    }
}

}  // namespace
