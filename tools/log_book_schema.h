#pragma once

#include "platform/database.h"

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
// Every missing table and column, every column of another kind than expected or without the
// guard of its kind and size, and every damage the engine's integrity check finds.
QStringList check(SqlCipherConnection &connection);

}  // namespace log_book
}  // namespace vornak
