// The import of the old log book, in three steps:
//   1. compare the old file's tables and columns with the schema of `vornak-db init`: every
//      table and column must be there with the type the old program gave it; extras are noted;
//   2. create a new log book (the tables of `vornak-db init`) under a passing name and copy the
//      rows table by table in one transaction, keys and values as stored (dates are day counts in
//      both files, so they are copied unchanged), refusing values the new file would change;
//   3. set each table's key counter, check the new file, and rename it into place.
#include "migrate/old_log_book_import.h"

#include "migrate/jet_file.h"
#include "migrate/old_rows_reader.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tools/log_book_schema.h"

#include <fcntl.h>
#include <optional>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

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

// Rows go in by statements of many rows each: on a table whose key counts up by itself every
// statement also updates the key counter, which made one statement a row take twice as long.
// A statement takes as many rows as the engine's bound of 999 values a statement allows.
constexpr qsizetype valuesPerStatement = 999;

qsizetype rowsPerStatement(const SchemaTable &table)
{
    return valuesPerStatement / table.columns.size();
}

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

// Step 2 for one table: writes its batches as they come; returns the number of rows copied, the
// highest key and the old file's key counter.
RowBatch copyTable(OldRowsReader &reader, SqlCipherConnection &db, const SchemaTable &table)
{
    const qsizetype width = table.columns.size();
    const QString fullStatement = insertStatement(table, rowsPerStatement(table));
    for (;;) {
        RowBatch batch = reader.next();
        const qsizetype rows = batch.values.size() / width;
        if (rows > 0) {
            try {
                db.runStatement(rows == rowsPerStatement(table) ? fullStatement : insertStatement(table, rows),
                                batch.values);
            } catch (const DatabaseError &) {
                // The engine refused the statement (and left no row of it behind): the rows one
                // by one name the row it refuses.
                for (qsizetype r = 0; r < rows; ++r) {
                    const QList<Variant> row = batch.values.mid(r * width, width);
                    try {
                        db.runStatement(insertStatement(table, 1), row);
                    } catch (const DatabaseError &e) {
                        throw ImportError(rowName(table, row) + QStringLiteral(": ") + e.message());
                    }
                }
                throw;
            }
        }
        if (batch.last)
            return batch;
    }
}

// The next key of `table` continues after `last`, also when no row holds it.
void setKeyCounter(SqlCipherConnection &db, const QString &table, qint64 last)
{
    db.runStatement(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {Variant(table)});
    db.runStatement(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                    {Variant(table), Variant(last)});
}

// Starts the disk writing the pages of the file at `path`, without waiting for it: the check
// then runs while the disk works, and the engine's sync at the end finds little left to do. The
// descriptor must outlive every connection on the file (closing any descriptor of a file drops
// the locks this process holds on it).
class EarlyWriteBack {
public:
    explicit EarlyWriteBack(const QString &path)
        : descriptor_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (descriptor_ >= 0)
            ::sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    ~EarlyWriteBack()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    EarlyWriteBack(const EarlyWriteBack &) = delete;
    EarlyWriteBack &operator=(const EarlyWriteBack &) = delete;

private:
    int descriptor_;
};

// The new file is built on one connection (the key is derived once), with its journal in memory
// (a fresh file needs next to none: a failed statement still rolls back, and a file left half
// made is removed anyway) and no waiting for the disk, and its indexes made after the rows. It is
// checked while its pages are still in the cache; then it gets the log book's journal mode, whose
// change is the one write that waits until every page of the file is on the disk.
ImportSummary copyInto(const JetFile &old, const QString &building, QStringList ignored)
{
    ImportSummary summary;
    summary.ignored = std::move(ignored);
    // The rows are read ahead while the new file's key is derived and while it is written.
    auto reader = std::make_unique<OldRowsReader>(old, log_book::tables(), rowsPerStatement);
    std::optional<EarlyWriteBack> writeBack;  // declared before the connection: closed after it
    auto db = SqlCipherConnection::create(building, log_book::password, SqlCipherConnection::NewFileUse::Alone);
    db->runStatement(QStringLiteral("PRAGMA synchronous=OFF"), {});
    db->runStatement(QStringLiteral("PRAGMA journal_mode=MEMORY"), {});
    // The reader has held every value against its column's guard (the rows are refused there with
    // the same conditions), so the engine need not do it a second time for each row.
    db->runStatement(QStringLiteral("PRAGMA ignore_check_constraints=ON"), {});
    db->runStatement(QStringLiteral("BEGIN"), {});
    const QStringList ddl = log_book::ddl();
    const auto isIndex = [](const QString &statement) { return statement.startsWith(QLatin1String("CREATE INDEX")); };
    for (const QString &statement : ddl)
        if (!isIndex(statement))
            db->runStatement(statement, {});
    for (const SchemaTable &table : log_book::tables()) {
        const RowBatch copied = copyTable(*reader, *db, table);
        summary.tables.append({table.name, copied.rows});
        if (copied.rows > 0 || copied.counter > 0)
            setKeyCounter(*db, table.name, std::max(copied.highestKey, copied.counter));
    }
    reader.reset();
    for (const QString &statement : ddl)
        if (isIndex(statement))
            db->runStatement(statement, {});
    db->runStatement(QStringLiteral("COMMIT"), {});
    db->runStatement(QStringLiteral("PRAGMA ignore_check_constraints=OFF"), {});
    writeBack.emplace(building);
    const QStringList problems = log_book::checkBuilt(*db);  // the dates were looked at as they came
    if (!problems.isEmpty())
        throw ImportError(QStringLiteral("The new log book failed its check:\n") + problems.join(u'\n'));
    db->runStatement(QStringLiteral("PRAGMA synchronous=FULL"), {});
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
