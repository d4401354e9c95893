#include "platform/static_result_set.h"

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/sql_literal.h"

namespace vornak {

namespace {

using sql_literal::sqliteName;

// `value` as the column stores it; raises DatabaseError when it cannot be.
Variant storedValue(const Variant &value, const ColumnInfo &column)
{
    if (value.isNull())
        return value;
    try {
        switch (column.kind) {
        case ColumnKind::AutoIncrement:
        case ColumnKind::Integer:
            return Variant(value.toInt64());
        case ColumnKind::Float:
            return Variant(value.toDouble());
        case ColumnKind::DateTime:
            if (value.isString()) {
                const auto days = date_time::parse(value.toString());
                if (!days)
                    throw DatabaseError(QStringLiteral("The value '%1' is not a valid date for column '%2'.")
                                            .arg(value.toString(), column.name));
                return Variant::fromDateTime(*days);
            }
            return Variant::fromDateTime(value.toDouble());
        case ColumnKind::Text: {
            const QString text = value.toString();
            if (column.size > 0 && text.size() > column.size)
                throw DatabaseError(QStringLiteral("The text is too long for column '%1' (at most %2 characters).")
                                        .arg(column.name)
                                        .arg(column.size));
            return Variant(text);
        }
        }
    } catch (const ConversionError &e) {
        throw DatabaseError(QStringLiteral("Column '%1': %2").arg(column.name, e.message()));
    }
    return value;
}

}  // namespace

StaticResultSet::StaticResultSet(SqlCipherConnection &connection, ResultData data, bool mayUpdate)
    : connection_(connection),
      data_(std::move(data))
{
    rowIds_.reserve(data_.rowCount);
    for (qsizetype i = 0; i < data_.rowCount; ++i)
        rowIds_.append(nextRowId_++);
    if (!mayUpdate)
        return;
    int keyColumn = -1;
    for (int i = 0; i < data_.columns.size(); ++i) {
        const ColumnInfo &c = data_.columns[i];
        if (c.baseTable.isEmpty())
            continue;
        const TableSchema *schema = connection_.catalog().table(c.baseTable);
        if (!schema || schema->keyColumn < 0 ||
            schema->columns[schema->keyColumn].name.compare(c.baseColumn, Qt::CaseInsensitive) != 0)
            continue;
        if (keyColumn >= 0 && data_.columns[keyColumn].baseTable.compare(c.baseTable, Qt::CaseInsensitive) != 0)
            return;  // keys of two tables: no single table to write to
        if (keyColumn < 0)
            keyColumn = i;
    }
    if (keyColumn >= 0) {
        keyColumn_ = keyColumn;
        table_ = data_.columns[keyColumn].baseTable;
    }
}

qsizetype StaticResultSet::rowOfId(qint64 id) const
{
    if (!rowOfIdValid_) {
        rowOfId_.clear();
        rowOfId_.reserve(rowIds_.size());
        for (qsizetype i = 0; i < rowIds_.size(); ++i)
            rowOfId_.insert(rowIds_[i], i);
        rowOfIdValid_ = true;
    }
    return rowOfId_.value(id, -1);
}

void StaticResultSet::requireUpdatable() const
{
    if (keyColumn_ < 0)
        throw DatabaseError(
            QStringLiteral("The result cannot be updated: it is not the rows of one table with its key."));
}

std::pair<QStringList, QList<Variant>> StaticResultSet::assignments(const QList<std::pair<int, Variant>> &values) const
{
    QStringList names;
    QList<Variant> stored;
    for (const auto &[column, value] : values) {
        if (column < 0 || column >= data_.columns.size())
            throw DatabaseError(QStringLiteral("Column %1 does not exist in the result.").arg(column));
        const ColumnInfo &info = data_.columns[column];
        if (info.baseTable.compare(table_, Qt::CaseInsensitive) != 0)
            throw DatabaseError(QStringLiteral("Column '%1' cannot be written: it does not belong to table '%2'.")
                                    .arg(info.name, table_));
        if (info.kind == ColumnKind::AutoIncrement)
            throw DatabaseError(
                QStringLiteral("Column '%1' is assigned by the engine and cannot be written.").arg(info.name));
        names.append(sqliteName(info.baseColumn));
        stored.append(storedValue(value, info));
    }
    return {names, stored};
}

void StaticResultSet::reread(qsizetype row, const Variant &key)
{
    QStringList names;
    QList<int> columns;
    for (int i = 0; i < data_.columns.size(); ++i)
        if (data_.columns[i].baseTable.compare(table_, Qt::CaseInsensitive) == 0) {
            names.append(sqliteName(data_.columns[i].baseColumn));
            columns.append(i);
        }
    const ResultData stored = connection_.read(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
            .arg(names.join(u','), sqliteName(table_), sqliteName(data_.columns[keyColumn_].baseColumn)),
        {key});
    if (stored.rowCount == 0)
        return;
    const qsizetype width = data_.columns.size();
    for (int i = 0; i < columns.size(); ++i)
        data_.values[row * width + columns[i]] = stored.values[i];
}

qsizetype StaticResultSet::insertRow(qsizetype before, const QList<std::pair<int, Variant>> &values)
{
    requireUpdatable();
    const auto [names, stored] = assignments(values);
    QString sql;
    if (names.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(sqliteName(table_));
    } else {
        QStringList markers(names.size(), QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(sqliteName(table_), names.join(u','), markers.join(u','));
    }
    connection_.runStatement(sql, stored);
    const Variant key(connection_.lastInsertKey());

    before = std::clamp<qsizetype>(before, 0, data_.rowCount);
    const qsizetype width = data_.columns.size();
    data_.values.insert(before * width, width, Variant());
    for (const auto &[column, value] : values)
        data_.values[before * width + column] = value;
    ++data_.rowCount;
    rowIds_.insert(before, nextRowId_++);
    rowOfIdValid_ = false;
    reread(before, key);
    return before;
}

void StaticResultSet::updateRow(qsizetype row, const QList<std::pair<int, Variant>> &values)
{
    requireUpdatable();
    const auto [names, stored] = assignments(values);
    const Variant key = value(row, keyColumn_);
    if (names.isEmpty())
        return;
    QStringList sets;
    for (const QString &name : names)
        sets.append(name + QStringLiteral(" = ?"));
    const int changed = connection_.runStatement(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
            .arg(sqliteName(table_), sets.join(u','), sqliteName(data_.columns[keyColumn_].baseColumn)),
        stored + QList<Variant>{key});
    if (changed == 0)
        throw DatabaseError(
            QStringLiteral("Row cannot be located for updating: it no longer exists in table '%1'.").arg(table_));
    reread(row, key);
}

void StaticResultSet::deleteRow(qsizetype row)
{
    requireUpdatable();
    const Variant key = value(row, keyColumn_);
    connection_.runStatement(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                 .arg(sqliteName(table_), sqliteName(data_.columns[keyColumn_].baseColumn)),
                             {key});
    const qsizetype width = data_.columns.size();
    data_.values.remove(row * width, width);
    rowIds_.remove(row);
    --data_.rowCount;
    rowOfIdValid_ = false;
}

}  // namespace vornak
