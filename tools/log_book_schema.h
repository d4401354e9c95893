#pragma once

#include "platform/database.h"
#include "platform/variant.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vornak {

class SqlCipherConnection;

// The five tables of the log book, as data: what `vornak-db init` creates and `check` expects.
struct SchemaColumn {
    QString name;
    QString declaredType;  // as written into the file
    ColumnKind kind;       // as the engine reports it
    int size = 0;          // text columns
};

struct SchemaIndex {
    QString suffix;   // the index is named <table>_<suffix>
    QString columns;  // as written into CREATE INDEX
};

struct SchemaTable {
    QString name;
    QList<SchemaColumn> columns;
    QList<SchemaIndex> indexes;
};

namespace log_book {

inline const QString password = QStringLiteral("KwtRPaNzEq48");
inline const QString fileName = QStringLiteral("VORNAK.mdb");

const QList<SchemaTable> &tables();
QStringList ddl();
// A connection string naming `path`, keyed with the log book's password.
QString connectionString(const QString &path, Access access = Access::ReadWrite);

// Creates an empty log book at `path` (the file must not exist); removes what it created when
// that fails and raises DatabaseError.
void create(const QString &path);
// Whether `value`, bound as a connection binds it, is one `column` takes: the condition of the
// guard the column is created with, for the values of its own kind (a null, a whole number for a
// whole-number column, a number for a number or date column, a text for a text column); a value of
// another kind is refused even where the engine would convert it first. Empty when it is taken,
// else what the column holds ("whole numbers", ...).
QString brokenGuard(const SchemaColumn &column, const Variant &value);

// The problem of the value `value` of the date column `column` in the row of key `key`, when it
// names no date of the years 1 to 9999 (as `check` words it); empty when it names one.
QString notADate(const SchemaTable &table, const SchemaColumn &column, const Variant &key, double value);

// Every missing table and column, every column of another kind than expected or without the
// guard of its kind and size, every date value that names no date, and every damage the engine's
// integrity check finds.
QStringList check(SqlCipherConnection &connection);
// What `check` finds but the dates: for a file whose every value was held against its column as it
// was written (an import reads them as they come).
QStringList checkBuilt(SqlCipherConnection &connection);
// What makes a copy of a log book unusable: missing tables and columns, columns of another kind,
// and damaged pages (the engine's quick check: a copy made page by page has the indexes of its
// source). Values are the user's: a date that names no date is copied as it is.
QStringList checkCopy(SqlCipherConnection &connection);

}  // namespace log_book
}  // namespace vornak
