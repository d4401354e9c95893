#pragma once

#include "platform/database.h"
#include "platform/database_catalog.h"
#include "platform/sql_translator.h"

#include <memory>
#include <QHash>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace vornak {

// A result read whole: its columns and its values row after row.
struct ResultData {
    QList<ColumnInfo> columns;
    QList<Variant> values;  // rowCount * columns.size()
    qsizetype rowCount = 0;
};

// The engine on one SQLCipher file: keyed with the database password; journal mode WAL and a
// busy wait of 3 seconds, so other processes can keep the file open and write; every commit
// durable (synchronous FULL); no transaction left open. Each statement of the dialect is
// translated when it runs; its literals outside the select list travel as bound values, so
// statements that differ only in their values share one prepared statement. Results it
// returns must not outlive it.
class SqlCipherConnection : public Connection {
public:
    // Opens an existing file keyed with `password`; never creates or writes a file that does
    // not open correctly. Read-only, the file and its folder may be read-only too: no statement
    // writes and the journal mode is left as the file has it; where both can be written the
    // connection still rolls back what a stopped writer left and leaves no journal file behind;
    // a file nothing here can write to (no journal beside it) is read as it stands. Raises
    // DatabaseError with the engine's message.
    static std::unique_ptr<SqlCipherConnection> open(const QString &path, const QString &password,
                                                     Access access = Access::ReadWrite);
    // Who uses a new file while it is built: anyone, or this connection alone until it is closed
    // (a file under a passing name), whose page writes are then gathered into large pieces (see
    // gathering_file_layer.h).
    enum class NewFileUse { Shared, Alone };
    // Creates a new, empty file keyed with `password` (journal mode WAL); refuses an existing
    // file. Leaves nothing behind when creating fails.
    static std::unique_ptr<SqlCipherConnection> create(const QString &path, const QString &password,
                                                       NewFileUse use = NewFileUse::Shared);
    ~SqlCipherConnection() override;
    // Removes the file at `path` and the journal files the engine keeps beside it.
    static void removeFiles(const QString &path);
    // The suffixes of the journal files the engine keeps beside a database file.
    static const QStringList &journalSuffixes();

    // A database this process has open: its file and the password it was opened with.
    struct OpenFile {
        QString path;
        QString password;
    };
    static QList<OpenFile> openFiles();

    // Copies the whole database, one consistent state of it while other processes go on writing,
    // into the new file `path` keyed with `password` (the engine's online backup). The copy takes
    // this file's salt, so that with the same password its key is the one derived already: every
    // log book has the same fixed password, so a salt of the copy's own would keep nothing more
    // from a reader and would cost a second derivation. Refuses an
    // existing file; leaves nothing behind when copying fails. Raises DatabaseError.
    void backupTo(const QString &path, const QString &password);
    // Replaces the whole content of this database by that of `source` in one transaction.
    // Raises DatabaseError.
    void replaceWith(SqlCipherConnection &source);
    // Keeps the file for this connection alone until it closes: refuses (DatabaseError) while
    // another connection, in this process or another, has it open; then moves everything in the
    // write-ahead log into the file itself and stops keeping a log beside it.
    void takeSoleUse();

    std::unique_ptr<ResultSet> query(const QString &sql) override;
    std::unique_ptr<ResultSet> openTable(const QString &table) override;
    int execute(const QString &sql) override;

    // For results writing back: SQLite statements with bound values.
    int runStatement(const QString &sqliteSql, const QList<Variant> &bindings);
    qint64 lastInsertKey() const;
    ResultData read(const QString &sqliteSql, const QList<Variant> &bindings);
    const DatabaseCatalog &catalog() const { return catalog_; }
    // How many prepared statements are kept for reuse (64 unless changed).
    void setStatementCacheSize(qsizetype size) { statementCacheSize_ = size; }

private:
    SqlCipherConnection(sqlite3 *db, const QString &password, const QByteArray &salt);
    // A new file keyed with `password` over `salt`.
    static std::unique_ptr<SqlCipherConnection> create(const QString &path, const QString &password,
                                                       const QByteArray &salt, NewFileUse use);
    std::optional<TableSchema> loadTable(const QString &name);
    sqlite3_stmt *prepare(const SqlTranslation &translation, const QString &dialectSql);
    sqlite3_stmt *prepareNative(const QString &sqliteSql);
    ResultData read(sqlite3_stmt *statement, const QList<Variant> &bindings,
                    const QHash<QString, ColumnInfo> &expressionColumns);
    void bind(sqlite3_stmt *statement, const QList<Variant> &bindings);
    int stepToEnd(sqlite3_stmt *statement);
    void forgetStatements();
    void forgetIdleStatements();
    [[noreturn]] void fail(int code) const;

    sqlite3 *db_;
    QByteArray salt_;  // the file's salt, which its key is derived over
    DatabaseCatalog catalog_;
    QHash<QString, sqlite3_stmt *> statements_;  // prepared statements by their SQLite text
    qsizetype statementCacheSize_ = 64;          // statements_ kept beyond those in use
    QList<sqlite3_stmt *> inUse_;                // prepared and not yet read to the end: never finalized
};

}  // namespace vornak
