#pragma once

#include "platform/database.h"

#include <functional>
#include <optional>
#include <QList>
#include <QString>
#include <unordered_map>

namespace vornak {

// The columns of one table as the engine sees them.
struct TableSchema {
    QString name;               // as stored in the file
    QList<ColumnInfo> columns;  // in table order, baseTable/baseColumn filled
    int keyColumn = -1;         // the `id` key (any case), -1 when the table has none

    const ColumnInfo *column(const QString &name) const;  // ignoring case
};

// The kind (and text size) of a column from its declared type: INTEGER as the table's own
// row key is the autoincrement key; INTEGER, LONG, INT, SMALLINT, BYTE are integers; DOUBLE,
// FLOAT, REAL, SINGLE, CURRENCY, NUMERIC, DECIMAL are floats; DATETIME, DATE, TIME are
// date-times; anything else is text, VARCHAR(n)/TEXT(n)/CHAR(n) with size n (255 without one,
// 0 for MEMO).
ColumnInfo columnOfDeclaredType(const QString &name, const QString &declaredType, bool isRowKey);

// The tables of one file, read on first use and kept until cleared.
class DatabaseCatalog {
public:
    using Loader = std::function<std::optional<TableSchema>(const QString &table)>;
    explicit DatabaseCatalog(Loader loader)
        : loader_(std::move(loader))
    {
    }

    // nullptr when the file has no such table.
    const TableSchema *table(const QString &name) const;
    void clear() { tables_.clear(); }

private:
    Loader loader_;
    // By lower-case name; a node container, so the schemas handed out stay where they are while
    // other tables are read.
    mutable std::unordered_map<QString, std::optional<TableSchema>> tables_;
};

}  // namespace vornak
