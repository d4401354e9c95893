#pragma once

// What the two programs behind vornak-db share (see vornak_db.cpp): the commands program, which
// works with log book files and loads Qt Core only, and the report program, which draws and so
// loads Qt Gui with its fonts and libraries (they would double the start of every other command).

#include <cstdio>
#include <optional>
#include <QHash>
#include <QString>
#include <QStringList>

namespace vornak::command_line {

// Writes `text` whole (a NUL inside included) as UTF-8.
void write(FILE *stream, const QString &text);
// Prints how the commands are used on standard error; returns the exit status of a misuse.
int usage();
// The values of `--name value` options after `positional` plain arguments; empty when the
// arguments do not have that shape or name an option not in `names`.
std::optional<QHash<QString, QString>> options(const QStringList &args, int positional, const QStringList &names);

// A run of a command is short: the memory it frees is kept for its next allocations rather than
// handed back to the system and faulted in again, and large blocks come from that same heap
// (drawing a report's pages frees and takes again tens of megabytes; see platform/heap.h).
void keepFreedMemory();
// Ends the process once a command has returned: every file it wrote is complete, synced and
// closed by then, so what is left (the application object, caches, memory) is not taken apart
// piece by piece. Under the sanitizers the process ends the usual way, so that leaks are still
// looked for.
[[noreturn]] void end(int status);

}  // namespace vornak::command_line
