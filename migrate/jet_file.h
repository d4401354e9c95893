#pragma once

#include "platform/errors.h"
#include "platform/variant.h"

#include <functional>
#include <memory>
#include <QList>
#include <QString>
#include <QStringList>

namespace vornak {

// A failure to read the old program's file or to bring its log book over; the message names
// the file, table, column or row concerned.
class ImportError : public Error {
public:
    using Error::Error;
};

// The column types of a Jet 4 table, as its definition gives them.
enum class JetType { Boolean, Byte, Integer, Long, Currency, Single, Double, DateTime, Binary, Text, Ole, Memo, Other };

struct JetColumn {
    QString name;
    JetType type;
    bool autoNumber = false;
};

// One Jet 4 (.mdb) file of the old program, opened read-only through libmdb. Values come from
// the stored bytes, never from libmdb's text forms: integers as Integer, doubles bit for bit as
// Float, dates as DateTime with the stored day count, texts decoded from their stored UTF-16
// (compressed or not), NULL as Null and an empty text as "". Not for use from two threads.
class JetFile {
public:
    // Raises ImportError when the file is missing or libmdb cannot read its catalogue (a later
    // Access format, an encrypted or damaged file, not a Jet file).
    static std::unique_ptr<JetFile> open(const QString &path);
    ~JetFile();

    // The user tables, in catalogue order.
    QStringList tables() const;
    // The columns of `table` in column order; raises ImportError when the table is missing or
    // its definition cannot be read. Names are matched without regard to ASCII case.
    QList<JetColumn> columns(const QString &table) const;
    // The AutoNumber counter the table's definition keeps: the last key given out.
    qint32 lastAutoNumber(const QString &table) const;
    // Calls `row` with the values of `columns` (names of `table`, in that order) for every row,
    // in the order the rows lie in the file. Raises ImportError for an unreadable table.
    void readRows(const QString &table, const QStringList &columns,
                  const std::function<void(const QList<Variant> &values)> &row) const;

private:
    struct Handle;
    explicit JetFile(std::unique_ptr<Handle> handle, QString path);
    std::unique_ptr<Handle> handle_;
    QString path_;
};

// True when the first bytes of the file at `path` say it is a Jet database (not one of the
// later Access format).
bool isJetFile(const QString &path);

}  // namespace vornak
