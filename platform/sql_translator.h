#pragma once

#include "platform/database.h"
#include "platform/variant.h"

#include <QHash>
#include <QList>
#include <QString>

namespace vornak {

class DatabaseCatalog;

// A statement of the dialect rewritten for SQLite.
struct SqlTranslation {
    enum class Kind { Select, Insert, Update, Delete, Other };
    Kind kind = Kind::Other;
    QString sql;              // SQLite text; literals outside the select list appear as ?
    QList<Variant> bindings;  // the values of the ?, in order
    // For select-list items that are expressions: the kind the result column takes, keyed by
    // the lower-case alias (an expression without one is named Expr1000, Expr1001, ...). Sum keeps an integer or float
    // kind of its column (date-times sum to floats), Max and Min keep the column's kind, Count is an integer, Avg a
    // float, a subquery takes the kind of its one item.
    QHash<QString, ColumnInfo> expressionColumns;
    // A result that groups, unites or removes duplicates has no row to write back to.
    bool aggregatesRows = false;
    // Written as close to the statement as possible: the statement's own text of each token written
    // otherwise (a text in apostrophes, a name in backticks), keyed by the text written.
    QHash<QString, QString> writtenAs;
};

// How the SQLite text is written: for running (literals outside the select list bound, unnamed
// expressions named) or as close to the statement as written (to phrase error messages).
enum class SqlTextMode { Prepared, AsWritten };

// Translates one statement of the dialect: SELECT, INSERT, UPDATE, DELETE, and table
// definitions (CREATE TABLE t (...), DROP TABLE t, ALTER TABLE) and BEGIN, COMMIT, ROLLBACK
// passed through. Raises DatabaseError for any other statement, for text the dialect does not
// accept, for the engine's own tables and functions (sqlite_..., pragma_...), for a table prefix
// in UPDATE SET or an INSERT column list that is not the changed table, for anything but * or
// columns of the table between DELETE and FROM, and for a parameter marker (no values are ever
// given). Every name is written so that it stays one name, whatever it holds. A text literal
// that an INSERT or UPDATE assigns to a column is converted to the column's kind: a date-time
// column takes a date in the regional short date format, a number column a number with a
// decimal point, a text column no more characters than its size; anything else is refused. A
// number assigned to a whole-number column is rounded half to even and must be a long integer.
SqlTranslation translateSql(const QString &sql, const DatabaseCatalog &catalog,
                            SqlTextMode mode = SqlTextMode::Prepared);

}  // namespace vornak
