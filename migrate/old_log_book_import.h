#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vornak {

// Bringing the old program's log book (a Jet 4 file) over into a new log book of ours.
struct ImportedTable {
    QString name;
    qsizetype rows = 0;
};

struct ImportSummary {
    QList<ImportedTable> tables;  // the five tables, in the schema's order
    QStringList ignored;          // extra tables and columns of the old file ("table X", "column T.C")
};

// Reads the five tables of the old log book at `oldPath` and writes every row, keys kept, into
// a new log book at `newPath`, which must not exist. Each table's next key continues after the
// highest key imported (or the old file's own counter, when that is higher). The new file is
// built under a passing name beside its place, checked, and only then renamed into place;
// whatever fails leaves no new file behind and raises ImportError or DatabaseError naming the
// missing table or column, the column of another type, or the row that could not be taken.
ImportSummary importOldLogBook(const QString &oldPath, const QString &newPath);

}  // namespace vornak
