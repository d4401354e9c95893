#pragma once

// The files the command line writes (a report as PDF, a backup, a restored log book and the
// copy it keeps): the checks before anything is written, each failure in words that name what
// is wrong, and the passing names files are built under until they are whole and checked.

#include <QString>

namespace vornak::log_book {

// The absolute path of a file about to be written at `path`, once the path can be written:
// raises Error when the name is empty, names a symbolic link to nothing, or lies in a folder
// that does not exist or is read-only.
QString writableTarget(const QString &path);

// Raises Error when `path` is a database (platform/output_path.h): the log book open here, a
// journal file of it, or another database.
void refuseDatabaseAsOutput(const QString &path);

// The passing name a file for `target` is built under by this process: `target`.<pid>.partial.
QString partialName(const QString &target);

// Removes what runs killed while building a file for `target` left beside it (the passing
// name with its journal files), when the process that made it is gone.
void removeStalePartials(const QString &target);

}  // namespace vornak::log_book
