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
// kept as `file`.before-restore; whatever its write-ahead log held is in that file, and nothing of
// it can apply to the restored one. A before-restore file already there is used again when it
// holds exactly what `file` holds (a restore stopped before the backup was in); any other is
// moved to the first free name `file`.before-restore.N and never replaced. A restore that fails
// removes the files it made and puts back the name it moved. Returns the name an earlier
// before-restore file was moved to, or an empty text. Raises Error.
QString restore(const QString &copy, const QString &file);

inline constexpr char beforeRestoreSuffix[] = ".before-restore";

}  // namespace vornak::log_book
