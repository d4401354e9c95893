// The commands program: every command of vornak-db but `report` (see vornak_db.cpp), which
// creates, checks, queries, copies, exports and imports a log book file. It loads Qt Core only.
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "platform/sqlcipher_key.h"
#include "tools/command_line.h"
#include "tools/demo_log_book.h"
#include "tools/import_command.h"
#include "tools/list_export.h"
#include "tools/log_book_copy.h"
#include "tools/log_book_schema.h"
#include "tools/output_file.h"
#include "tools/reminders_command.h"
#include "tools/result_text.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <cstdlib>
#include <cstring>
#include <optional>

using namespace vornak;
using namespace vornak::command_line;

namespace {

std::unique_ptr<Connection> openFile(const QString &path)
{
    return Connection::open(log_book::connectionString(path));
}

// The log book is built under a passing name beside its place and renamed into place when
// complete: an interrupted run leaves no file that would block the next one.
int init(const QStringList &args)
{
    const bool demo = args.size() == 2 && args[0] == u"--demo";
    if (args.size() != 1 && !demo)
        return usage();
    const QString path = args.last();
    const QString absolutePath = log_book::writableTarget(path);
    const auto alreadyThere = [&] {
        return DatabaseError(QStringLiteral("The file '%1' already exists.").arg(absolutePath));
    };
    if (QFileInfo::exists(absolutePath))
        throw alreadyThere();
    log_book::removeStalePartials(absolutePath);
    const QString building = log_book::partialName(absolutePath);
    try {
        log_book::create(building);
        if (demo)
            log_book::fillDemo(*openFile(building), Clock::current().now().date());
        if (QFileInfo::exists(absolutePath))
            throw alreadyThere();
        if (!QFile::rename(building, absolutePath))
            throw DatabaseError(QStringLiteral("Could not create file '%1'.").arg(absolutePath));
    } catch (...) {
        SqlCipherConnection::removeFiles(building);
        throw;
    }
    write(stdout, QStringLiteral("Created %1\n").arg(path));
    return 0;
}

int check(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    const QStringList problems =
        log_book::check(*SqlCipherConnection::open(args[0], log_book::password, Access::ReadOnly));
    for (const QString &problem : problems)
        write(stdout, problem + u'\n');
    if (!problems.isEmpty())
        return 1;
    write(stdout, QStringLiteral("OK: the five tables and their columns are in place, and no damage was found.\n"));
    return 0;
}

int sql(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    auto connection = openFile(args[0]);
    auto result = connection->query(args[1]);
    if (!result) {
        const int affected = connection->execute(args[1]);
        write(stdout, QStringLiteral("%1 rows affected\n").arg(affected));
        return 0;
    }
    write(stdout, tabSeparatedText(*result) + u'\n');
    return 0;
}

int backup(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    log_book::backup(args[0], args[1]);
    write(stdout, QStringLiteral("Copied %1 to %2\n").arg(args[0], args[1]));
    return 0;
}

int restore(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    const bool replaced = QFileInfo::exists(args[1]);
    const QString movedAside = log_book::restore(args[0], args[1]);
    write(stdout, QStringLiteral("Restored %1 from %2\n").arg(args[1], args[0]));
    if (!movedAside.isEmpty())
        write(stdout, QStringLiteral("The copy kept by an earlier restore is now %1\n").arg(movedAside));
    if (replaced)
        write(stdout, QStringLiteral("The replaced log book is kept as %1%2\n")
                          .arg(args[1], QLatin1String(log_book::beforeRestoreSuffix)));
    return 0;
}

int exportList(const QStringList &args)
{
    const auto values = options(args, 2, {QStringLiteral("vehicle")});
    if (!values)
        return usage();
    const QByteArray csv = log_book::exportList(args[0], args[1], values->value(QStringLiteral("vehicle")));
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    return 0;
}

int importOld(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    log_book::importCommand(args[0], args[1], [](const QString &text) { write(stdout, text); });
    return 0;
}

// A whole number of at least 0 from an option; empty when the text is not one.
std::optional<int> count(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

int dueReminders(const QStringList &args)
{
    const auto values = options(args, 1, {QStringLiteral("days"), QStringLiteral("km")});
    if (!values || args.size() < 1)
        return usage();
    reminders::Limits limits;
    for (const auto &[name, limit] :
         {std::pair{QStringLiteral("days"), &limits.days}, {QStringLiteral("km"), &limits.km}}) {
        if (!values->contains(name))
            continue;
        const std::optional<int> value = count(values->value(name));
        if (!value)
            return usage();
        *limit = *value;
    }
    write(stdout, log_book::dueEventLines(args[0], Clock::current().now().date(), limits));
    return 0;
}

// Whose key a command derives while Qt starts, on another core: that of the log book named by its
// first argument, or one for the new file it creates.
enum class KeyAhead { None, OfFile, OfNewFile };

struct CommandRow {
    const char *name;
    int (*run)(const QStringList &args);
    KeyAhead key;
};

const CommandRow commands[] = {
    {"init", init, KeyAhead::OfNewFile},
    {"check", check, KeyAhead::OfFile},
    {"sql", sql, KeyAhead::OfFile},
    {"backup", backup, KeyAhead::None},  // the copy shares its source's key: derived once anyway
    {"restore", restore, KeyAhead::None},
    {"export", exportList, KeyAhead::OfFile},
    {"reminders", dueReminders, KeyAhead::OfFile},
    {"import", importOld, KeyAhead::OfNewFile},
};

}  // namespace

int main(int argc, char **argv)
{
    keepFreedMemory();
    const CommandRow *command = nullptr;
    for (const CommandRow &row : commands)
        if (argc > 1 && std::strcmp(argv[1], row.name) == 0)
            command = &row;
    if (command && command->key == KeyAhead::OfFile && argc > 2)
        deriveLogBookKeyAhead(QString::fromLocal8Bit(argv[2]), log_book::password.toUtf8());
    if (command && command->key == KeyAhead::OfNewFile)
        deriveNewLogBookKeyAhead(log_book::password.toUtf8());
    const QCoreApplication app(argc, argv);
    if (!command)
        return usage();
    try {
        end(command->run(QCoreApplication::arguments().mid(2)));
    } catch (const Error &e) {
        write(stderr, e.message() + u'\n');
        end(1);
    }
}
