// vornak-db: creates, checks and queries a log book file from the command line.
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tools/demo_log_book.h"
#include "tools/log_book_schema.h"
#include "tools/result_text.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

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
    const QString absolutePath = QDir::current().absoluteFilePath(path);
    const auto alreadyThere = [&] {
        return DatabaseError(QStringLiteral("The file '%1' already exists.").arg(absolutePath));
    };
    if (QFileInfo::exists(absolutePath))
        throw alreadyThere();
    const QString building = absolutePath + QStringLiteral(".%1.partial").arg(QCoreApplication::applicationPid());
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
    const QStringList problems = log_book::check(*SqlCipherConnection::open(args[0], log_book::password));
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

}  // namespace

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
