// The import of the old log book, in three steps:
//   1. compare the old file's tables and columns with the schema of `vornak-db init`: every
//      table and column must be there with the type the old program gave it; extras are noted;
//   2. create a new log book (the tables of `vornak-db init`) under a passing name and copy the
//      rows table by table in one transaction, keys and values as stored (dates are day counts in
//      both files, so they are copied unchanged), refusing values the new file would change;
//   3. set each table's key counter, check the new file, and rename it into place.
#include "migrate/old_log_book_import.h"

#include "migrate/jet_file.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tools/log_book_schema.h"

#include <cmath>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vornak {

namespace {

// The Jet type each kind of column of the log book had in the old program.
JetType expectedType(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::AutoIncrement:
    case ColumnKind::Integer:
        return JetType::Long;
    case ColumnKind::Float:
        return JetType::Double;
    case ColumnKind::DateTime:
        return JetType::DateTime;
    case ColumnKind::Text:
        return JetType::Text;
    }
    return JetType::Other;
}

QString typeName(JetType type)
{
    static const char *const names[] = {"Yes/No",     "Byte",   "Integer",     "Long Integer", "Currency",
                                        "Single",     "Double", "Date/Time",   "Binary",       "Text",
                                        "OLE Object", "Memo",   "another type"};
    return QString::fromLatin1(names[int(type)]);
}

const JetColumn *findColumn(const QList<JetColumn> &columns, const QString &name)
{
    for (const JetColumn &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

bool inSchema(const QString &name, const auto &list)
{
    for (const auto &item : list)
        if (item.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Step 1: every problem of the old file's tables, and what it has beyond them.
QStringList compareWithSchema(const JetFile &old, QStringList &ignored)
{
    QStringList problems;
    const QStringList present = old.tables();
    for (const QString &table : present)
        if (!inSchema(table, log_book::tables()))
            ignored.append(QStringLiteral("table %1").arg(table));
    for (const SchemaTable &table : log_book::tables()) {
        if (!present.contains(table.name, Qt::CaseInsensitive)) {
            problems.append(QStringLiteral("Table %1 is missing.").arg(table.name));
            continue;
        }
        const QList<JetColumn> columns = old.columns(table.name);
        for (const SchemaColumn &expected : table.columns) {
            const JetColumn *found = findColumn(columns, expected.name);
            const JetType type = expectedType(expected.kind);
            if (!found)
                problems.append(QStringLiteral("Column %1.%2 is missing.").arg(table.name, expected.name));
            else if (found->type != type)
                problems.append(QStringLiteral("Column %1.%2 is %3, expected %4.")
                                    .arg(table.name, expected.name, typeName(found->type), typeName(type)));
        }
        for (const JetColumn &c : columns)
            if (!inSchema(c.name, table.columns))
                ignored.append(QStringLiteral("column %1.%2").arg(table.name, c.name));
    }
    return problems;
}

// A value the new file would take as another one without a word: a missing key (it would get a
// new one) or a number that is not a number (stored as NULL). Empty when the value is fine.
// Everything else the new file refuses itself (its columns' constraints) or its check finds
// (dates outside the years 1 to 9999), so no other value is looked at here.
QString refusal(const SchemaColumn &column, const Variant &value)
{
    if (column.kind == ColumnKind::AutoIncrement && value.isNull())
        return QStringLiteral("has no key");
    const bool number = column.kind == ColumnKind::Float || column.kind == ColumnKind::DateTime;
    if (number && !value.isNull() && std::isnan(value.toDouble()))
        return QStringLiteral("has no number in %1").arg(column.name);
    return {};
}

// Rows go in by statements of many rows each: on a table whose key counts up by itself every
// statement also updates the key counter, which made one statement a row take twice as long.
// 100 rows of at most 7 columns stay under the engine's bound of 999 values a statement.
constexpr qsizetype rowsPerStatement = 100;

QString insertStatement(const SchemaTable &table, qsizetype rows)
{
    QStringList names, marks;
    for (const SchemaColumn &c : table.columns) {
        names.append(c.name);
        marks.append(QStringLiteral("?"));
    }
    const QString row = u'(' + marks.join(QStringLiteral(", ")) + u')';
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(table.name, names.join(QStringLiteral(", ")), QStringList(rows, row).join(QStringLiteral(", ")));
}

QString rowName(const SchemaTable &table, const QList<Variant> &row)
{
    return QStringLiteral("Table %1, the row with %2 %3").arg(table.name, table.columns[0].name, row[0].toString());
}

// Step 2 for one table; returns the number of rows copied and the highest key.
ImportedTable copyTable(const JetFile &old, SqlCipherConnection &db, const SchemaTable &table, qint64 &highestKey)
{
    const qsizetype width = table.columns.size();
    const QString fullStatement = insertStatement(table, rowsPerStatement);
    QList<Variant> pending;  // the values of the rows not yet written, row after row
    pending.reserve(rowsPerStatement * width);
    // Writes the pending rows; when the engine refuses them, writes them one by one to name the
    // row it refuses (a refused statement leaves no row of it behind).
    const auto writePending = [&] {
        const qsizetype rows = pending.size() / width;
        if (rows == 0)
            return;
        try {
            db.runStatement(rows == rowsPerStatement ? fullStatement : insertStatement(table, rows), pending);
        } catch (const DatabaseError &) {
            for (qsizetype r = 0; r < rows; ++r) {
                const QList<Variant> row = pending.mid(r * width, width);
                try {
                    db.runStatement(insertStatement(table, 1), row);
                } catch (const DatabaseError &e) {
                    throw ImportError(rowName(table, row) + QStringLiteral(": ") + e.message());
                }
            }
            throw;
        }
        pending.clear();
    };

    QStringList names;
    for (const SchemaColumn &c : table.columns)
        names.append(c.name);
    ImportedTable copied{table.name, 0};
    highestKey = 0;
    old.readRows(table.name, names, [&](const QList<Variant> &values) {
        for (qsizetype i = 0; i < width; ++i)
            if (const QString problem = refusal(table.columns[i], values[i]); !problem.isEmpty())
                throw ImportError(rowName(table, values) + u' ' + problem + u'.');
        pending.append(values);
        if (pending.size() == rowsPerStatement * width)
            writePending();
        highestKey = copied.rows == 0 ? values[0].toInt64() : std::max(highestKey, values[0].toInt64());
        ++copied.rows;
    });
    writePending();
    return copied;
}

// The next key of `table` continues after `last`, also when no row holds it.
void setKeyCounter(SqlCipherConnection &db, const QString &table, qint64 last)
{
    db.runStatement(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {Variant(table)});
    db.runStatement(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                    {Variant(table), Variant(last)});
}

// The new file is built on one connection (the key is derived once), with a rollback journal
// (a fresh file needs next to none, where the write-ahead log would take every page twice) and
// its indexes made after the rows; then it gets the log book's journal mode and is checked.
ImportSummary copyInto(const JetFile &old, const QString &building, QStringList ignored)
{
    ImportSummary summary;
    summary.ignored = std::move(ignored);
    auto db = SqlCipherConnection::create(building, log_book::password);
    db->runStatement(QStringLiteral("PRAGMA journal_mode=DELETE"), {});
    db->runStatement(QStringLiteral("BEGIN"), {});
    const QStringList ddl = log_book::ddl();
    const auto isIndex = [](const QString &statement) { return statement.startsWith(QLatin1String("CREATE INDEX")); };
    for (const QString &statement : ddl)
        if (!isIndex(statement))
            db->runStatement(statement, {});
    for (const SchemaTable &table : log_book::tables()) {
        qint64 highestKey = 0;
        summary.tables.append(copyTable(old, *db, table, highestKey));
        const qint64 counter = old.lastAutoNumber(table.name);
        if (summary.tables.last().rows > 0 || counter > 0)
            setKeyCounter(*db, table.name, std::max(highestKey, counter));
    }
    for (const QString &statement : ddl)
        if (isIndex(statement))
            db->runStatement(statement, {});
    db->runStatement(QStringLiteral("COMMIT"), {});
    // Checked while the pages are still in the cache (the change of journal mode drops it).
    const QStringList problems = log_book::check(*db);
    if (!problems.isEmpty())
        throw ImportError(QStringLiteral("The new log book failed its check:\n") + problems.join(u'\n'));
    db->runStatement(QStringLiteral("PRAGMA journal_mode=WAL"), {});
    return summary;
}

}  // namespace

ImportSummary importOldLogBook(const QString &oldPath, const QString &newPath)
{
    const QString target = QDir::current().absoluteFilePath(newPath);
    const auto alreadyThere = [&] { return ImportError(QStringLiteral("The file '%1' already exists.").arg(target)); };
    if (QFileInfo::exists(target))
        throw alreadyThere();
    if (const QFileInfo folder(QFileInfo(target).absolutePath()); !folder.isDir() || !folder.isWritable())
        throw ImportError(QStringLiteral("Could not create file '%1': the folder cannot be written to.").arg(target));
    const auto old = JetFile::open(oldPath);
    QStringList ignored;
    const QStringList problems = compareWithSchema(*old, ignored);
    if (!problems.isEmpty())
        throw ImportError(QStringLiteral("The file '%1' is not a log book of the old version:\n%2")
                              .arg(QFileInfo(oldPath).absoluteFilePath(), problems.join(u'\n')));
    const QString building = target + QStringLiteral(".%1.partial").arg(QCoreApplication::applicationPid());
    try {
        const ImportSummary summary = copyInto(*old, building, std::move(ignored));
        if (QFileInfo::exists(target))
            throw alreadyThere();
        if (!QFile::rename(building, target))
            throw ImportError(QStringLiteral("Could not create file '%1'.").arg(target));
        return summary;
    } catch (...) {
        SqlCipherConnection::removeFiles(building);
        throw;
    }
}

}  // namespace vornak
