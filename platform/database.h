#pragma once

#include "platform/variant.h"

#include <memory>
#include <QList>
#include <QString>
#include <utility>

namespace vornak {

// The database engine: one SQLCipher file, spoken to in the system's SQL dialect. The layer
// above (datasets) sees only this interface.

enum class ColumnKind { AutoIncrement, Integer, Float, DateTime, Text };

// How a file is opened: a connection that only reads never changes what the file holds (it may
// roll back what a stopped writer left, as any connection does) and leaves nothing beside it.
enum class Access { ReadWrite, ReadOnly };

struct ColumnInfo {
    QString name;  // as the statement names it (alias or column name)
    ColumnKind kind = ColumnKind::Text;
    int size = 0;       // characters, for text columns
    QString baseTable;  // the table and column the value comes from, empty for expressions
    QString baseColumn;
};

// A whole result, read when it was opened (static, client side). Rows keep a stable id for as
// long as they exist, so a dataset can bookmark them; row indexes shift when a row is deleted.
class ResultSet {
public:
    virtual ~ResultSet() = default;

    virtual const QList<ColumnInfo> &columns() const = 0;
    int columnIndex(const QString &name) const;  // ignoring case; -1 when absent
    virtual qsizetype rowCount() const = 0;
    virtual const Variant &value(qsizetype row, int column) const = 0;
    virtual qint64 rowId(qsizetype row) const = 0;
    virtual qsizetype rowOfId(qint64 id) const = 0;  // -1 when the row no longer exists

    // True for a result over one base table that includes its key `id`. Writes go to the file
    // at once and keep this result in step; each raises DatabaseError with the engine's text.
    virtual bool isUpdatable() const = 0;
    // The table writes go to (empty when read-only); only columns whose baseTable it is can be
    // written. For the expense list (a join) it is the expense table.
    virtual QString updatableTable() const { return {}; }
    // Adds a row at `before` (rowCount() appends) with the given column values (by column
    // index); the key the engine assigns is read back into the row. Returns the new row index.
    virtual qsizetype insertRow(qsizetype before, const QList<std::pair<int, Variant>> &values) = 0;
    virtual void updateRow(qsizetype row, const QList<std::pair<int, Variant>> &values) = 0;
    // Removes the row from the file (for a join: the row of the result's updatable table only).
    virtual void deleteRow(qsizetype row) = 0;
};

// Results a connection returns must not outlive it.
class Connection {
public:
    virtual ~Connection() = default;

    // Opens the file named by the connection string ("Provider=...;Data Source=VORNAK.mdb;...;
    // Jet OLEDB:Database Password=..."), relative to the working directory; read-only when the
    // string says "Mode=Read". Raises DatabaseError
    // with a clear message when the file is missing, the password is wrong, the file is not a
    // database of ours, or it cannot be opened; a file that failed to open is never written to.
    static std::unique_ptr<Connection> open(const QString &connectionString);

    // Runs a statement of the dialect that returns rows; nullptr (nothing executed) when the
    // statement is not one that returns rows.
    virtual std::unique_ptr<ResultSet> query(const QString &sql) = 0;
    // All rows of a table (updatable).
    virtual std::unique_ptr<ResultSet> openTable(const QString &table) = 0;
    // Runs a statement of the dialect; returns the number of rows affected.
    virtual int execute(const QString &sql) = 0;
};

}  // namespace vornak
