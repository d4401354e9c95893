#include "tools/command_line.h"

#include "platform/heap.h"

#include <cstdlib>
#include <QByteArray>

namespace vornak::command_line {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
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

void keepFreedMemory()
{
    keepLargeBlocksInHeap();
}

void end(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
    std::exit(status);
#else
    std::_Exit(status);
#endif
}

}  // namespace vornak::command_line
