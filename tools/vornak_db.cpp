// vornak-db: creates, checks and queries a log book file from the command line.
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "tools/demo_log_book.h"
#include "tools/log_book_schema.h"
#include "tools/result_text.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using namespace vornak;

namespace {

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

int usage()
{
    write(stderr, QStringLiteral("Usage:\n"
                                 "  vornak-db init [--demo] FILE    create a log book (with a year of sample entries)\n"
                                 "  vornak-db check FILE            report missing tables and columns\n"
                                 "  vornak-db sql FILE STATEMENT    run one statement and print its result\n"));
    return 2;
}

std::unique_ptr<Connection> openFile(const QString &path)
{
    return Connection::open(log_book::connectionString(path));
}

int init(const QStringList &args)
{
    const bool demo = args.size() == 2 && args[0] == u"--demo";
    if (args.size() != 1 && !demo)
        return usage();
    const QString path = args.last();
    log_book::create(path);
    if (demo)
        log_book::fillDemo(*openFile(path), Clock::current().now().date());
    write(stdout, QStringLiteral("Created %1\n").arg(path));
    return 0;
}

int check(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    const QStringList problems = log_book::check(*openFile(args[0]));
    for (const QString &problem : problems)
        write(stdout, problem + u'\n');
    if (!problems.isEmpty())
        return 1;
    write(stdout, QStringLiteral("OK: the five tables and their columns are in place.\n"));
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        if (command == u"init")
            return init(args);
        if (command == u"check")
            return check(args);
        if (command == u"sql")
            return sql(args);
    } catch (const Error &e) {
        write(stderr, e.message() + u'\n');
        return 1;
    }
    return usage();
}
