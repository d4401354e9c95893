#pragma once

#include "platform/database.h"
#include "platform/sqlcipher_connection.h"

#include <QHash>

namespace vornak {

// A result read whole at open. It is updatable when it holds the `id` key of exactly one base
// table (and does not group or unite rows): writes then go to that table alone, by key, and
// only its columns can be written. So the expense list, a join that also shows the type name,
// inserts, changes and deletes expense rows and never touches the types.
class StaticResultSet : public ResultSet {
public:
    StaticResultSet(SqlCipherConnection &connection, ResultData data, bool mayUpdate);

    const QList<ColumnInfo> &columns() const override { return data_.columns; }
    qsizetype rowCount() const override { return data_.rowCount; }
    const Variant &value(qsizetype row, int column) const override
    {
        return data_.values[row * data_.columns.size() + column];
    }
    qint64 rowId(qsizetype row) const override { return rowIds_[row]; }
    qsizetype rowOfId(qint64 id) const override;

    bool isUpdatable() const override { return keyColumn_ >= 0; }
    QString updatableTable() const override { return table_; }
    qsizetype insertRow(qsizetype before, const QList<std::pair<int, Variant>> &values) override;
    void updateRow(qsizetype row, const QList<std::pair<int, Variant>> &values) override;
    void deleteRow(qsizetype row) override;

private:
    void requireUpdatable() const;
    // The column names and values to write, converted to the columns' kinds.
    std::pair<QStringList, QList<Variant>> assignments(const QList<std::pair<int, Variant>> &values) const;
    // Reads the stored values of the table's columns of the row with `key` into `row`.
    void reread(qsizetype row, const Variant &key);

    SqlCipherConnection &connection_;
    ResultData data_;
    QList<qint64> rowIds_;
    qint64 nextRowId_ = 1;
    mutable QHash<qint64, qsizetype> rowOfId_;
    mutable bool rowOfIdValid_ = false;
    QString table_;       // the updatable table, as stored
    int keyColumn_ = -1;  // its key column in this result
};

}  // namespace vornak
