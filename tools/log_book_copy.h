#pragma once

#include <QString>

namespace vornak::log_book {

// Copies the log book `file` into the new file `copy` while the program may have it open and be
// writing: one consistent state of it, checked before it is put in place under its name. Reads
// `file` only, so it may lie on read-only storage. Refuses an existing `copy` and a `copy` that
// is a database; leaves nothing behind when it fails. Raises Error.
void backup(const QString &file, const QString &copy);

// Puts the backup `copy` back as the log book `file`, only after the backup passes the check
// (integrity and schema) and only while no other program has `file` open. The file replaced is
// kept as `file`.before-restore (which must not exist yet, unless it holds exactly what `file`
// holds); whatever its write-ahead log held is in that file, and nothing of it can apply to the
// restored one. A restore that fails removes the files it made. Raises Error.
void restore(const QString &copy, const QString &file);

inline constexpr char beforeRestoreSuffix[] = ".before-restore";

}  // namespace vornak::log_book
