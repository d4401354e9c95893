#pragma once

// The guard every writer of a file the user names asks before it writes (a report saved or
// printed to a file, a backup): such a file may replace a PDF or any other document, never a
// database. A path is refused when it is a database this process has open, however the path
// spells it (relative, absolute, through a symbolic or hard link: the same device and inode), or
// a journal file the engine keeps beside one; and when it is an existing database of this program
// (a file that opens with the password of a database open here) or an Access database.

#include <QString>

namespace vornak {

enum class OutputClash {
    None,          // the path may be written
    OpenDatabase,  // a database this process has open (the log book), or a journal file of one
    Database,      // an existing database of this program, or an Access database
};

// What writing (creating or replacing) a file at `path` would destroy. Never opens a file of a
// database this process has open other than through the engine, so its locks stay held.
OutputClash outputClash(const QString &path);

// Whether the two paths name one existing file (the same device and inode, links followed).
bool sameFile(const QString &first, const QString &second);

}  // namespace vornak
