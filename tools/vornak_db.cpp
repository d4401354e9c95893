// vornak-db: creates, checks, queries, copies and exports a log book file from the command line,
// and prints its period report as PDF.
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/regional_settings.h"
#include "platform/sqlcipher_connection.h"
#include "platform/sqlcipher_key.h"
#include "tools/demo_log_book.h"
#include "tools/import_command.h"
#include "tools/list_export.h"
#include "tools/log_book_copy.h"
#include "tools/log_book_schema.h"
#include "tools/output_file.h"
#include "tools/period_report_pdf.h"
#include "tools/reminders_command.h"
#include "tools/result_text.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <optional>

using namespace vornak;

namespace {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();  // whole, a NUL inside included
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int usage()
{
    write(stderr, QStringLiteral(
                      "Usage:\n"
                      "  vornak-db init [--demo] FILE    create a log book (with a year of sample entries)\n"
                      "  vornak-db check FILE            report missing tables and columns, and damage\n"
                      "  vornak-db sql FILE STATEMENT    run one statement and print its result\n"
                      "  vornak-db report FILE --vehicle NAME|ID --from DATE --to DATE --pdf OUT.pdf\n"
                      "                                  write the vehicle's period report as PDF\n"
                      "  vornak-db backup FILE OUT       copy the log book, also while the program has it open\n"
                      "  vornak-db restore BACKUP FILE   put a checked backup back (FILE kept as FILE.before-restore)\n"
                      "  vornak-db export FILE LIST [--vehicle NAME|ID]\n"
                      "                                  print a list as CSV: vehicles, readings, expenses, events,\n"
                      "                                  expense-types\n"
                      "  vornak-db import OLD.mdb NEW.mdb  bring the old version's log book over into a new one\n"
                      "  vornak-db reminders FILE [--days N] [--km N]\n"
                      "                                  print the due events of every vehicle (due within N days,\n"
                      "                                  14 by default, or N km, 1000 by default; or overdue)\n"
                      "Dates: 2026-11-01 or the regional short date (01.11.2026).\n"
                      "A result is printed as tab-separated lines, the column names first; inside a value\n"
                      "a backslash, tab, line feed, carriage return and NUL are written \\\\, \\t, \\n, \\r, \\0.\n"));
    return 2;
}

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

// The values of `--name value` options after `positional` plain arguments; empty when the
// arguments do not have that shape or name an option not in `names`.
std::optional<QHash<QString, QString>> options(const QStringList &args, int positional, const QStringList &names)
{
    if (args.size() < positional || (args.size() - positional) % 2 != 0)
        return std::nullopt;
    QHash<QString, QString> values;
    for (qsizetype i = positional; i < args.size(); i += 2) {
        const QString name = args[i];
        if (!name.startsWith(QLatin1String("--")) || !names.contains(name.mid(2)) || values.contains(name.mid(2)))
            return std::nullopt;
        values.insert(name.mid(2), args[i + 1]);
    }
    return values;
}

int report(const QStringList &args)
{
    const QStringList required = {QStringLiteral("vehicle"), QStringLiteral("from"), QStringLiteral("to"),
                                  QStringLiteral("pdf")};
    const auto values = options(args, 1, required);
    if (!values || values->size() != required.size())
        return usage();
    log_book::PeriodReportRequest request;
    request.logBook = args[0];
    request.vehicle = values->value(QStringLiteral("vehicle"));
    request.first = log_book::commandLineDate(values->value(QStringLiteral("from")));
    request.last = log_book::commandLineDate(values->value(QStringLiteral("to")));
    request.pdf = values->value(QStringLiteral("pdf"));
    log_book::writePeriodReportPdf(request);
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

struct CommandRow {
    const char *name;
    int (*run)(const QStringList &args);
    bool draws;         // needs fonts and painting: runs in a GUI application on the offscreen platform
    bool opensLogBook;  // the first argument is a log book it opens: its key is derived while Qt starts
};

const CommandRow commands[] = {
    {"init", init, false, false},        {"check", check, false, true},
    {"sql", sql, false, true},           {"report", report, true, true},
    {"backup", backup, false, false},    {"restore", restore, false, false},
    {"export", exportList, false, true}, {"reminders", dueReminders, false, true},
    {"import", importOld, false, false},
};

// A run of this tool is short: the memory it frees is kept for its next allocations rather than
// handed back to the system and faulted in again, and large blocks come from that same heap
// (drawing a report's pages frees and takes again tens of megabytes).
void keepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

// Ends the process once a command has returned: every file it wrote is complete, synced and
// closed by then, so what is left (the application object, caches, memory) is not taken apart
// piece by piece. Under the sanitizers the process ends the usual way, so that leaks are still
// looked for.
[[noreturn]] void end(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
    std::exit(status);
#else
    std::_Exit(status);
#endif
}

}  // namespace

int main(int argc, char **argv)
{
    keepFreedMemory();
    const CommandRow *command = nullptr;
    for (const CommandRow &row : commands)
        if (argc > 1 && std::strcmp(argv[1], row.name) == 0)
            command = &row;
    if (command && command->opensLogBook && argc > 2)  // on another core, while the rest starts
        deriveLogBookKeyAhead(QString::fromLocal8Bit(argv[2]), log_book::password.toUtf8());
    if (command && command->draws) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no window is ever shown: no display needed
        // Standard error carries this tool's messages only, not the notes of the offscreen
        // platform (such as a missing runtime folder); Qt's errors still pass.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                write(stderr, message + u'\n');
        });
    }
    std::unique_ptr<QCoreApplication> app = command && command->draws ? std::make_unique<QGuiApplication>(argc, argv)
                                                                      : std::make_unique<QCoreApplication>(argc, argv);
    if (!command)
        return usage();
    try {
        if (command->draws) {  // as the program starts: its fonts and the regional conventions
            registerFonts();
            QLocale::setDefault(RegionalSettings::conventionsLocale(QLocale::system()));
        }
        end(command->run(app->arguments().mid(2)));
    } catch (const Error &e) {
        write(stderr, e.message() + u'\n');
        end(1);
    }
}
