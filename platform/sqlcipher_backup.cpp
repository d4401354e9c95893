// Copying whole log books with the engine's online backup, page by page under one read
// transaction of the source: in WAL mode the other processes keep writing while it runs, and
// the copy holds the source as it was when the copy began. Restoring copies the other way, into
// a file this process holds alone; the engine writes the restored pages through its own journal,
// so no log left beside the file can ever apply to them.
#define SQLITE_HAS_CODEC 1
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "platform/sqlcipher_key.h"
#include "platform/sqlcipher_messages.h"

#include <QDir>
#include <sqlcipher/sqlite3.h>

namespace vornak {

namespace {

constexpr int busyRetries = 100;  // a busy step is tried again this many times,
constexpr int busyPauseMs = 50;   // this long apart
constexpr int soleUseWaitMs = 500;

// Copies every page of `from` over `to`; SQLite's result code.
int copyPages(sqlite3 *from, sqlite3 *to)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return sqlite3_errcode(to);
    int code = SQLITE_OK;
    for (int attempt = 0; attempt < busyRetries; ++attempt) {
        code = sqlite3_backup_step(backup, -1);
        if (code != SQLITE_BUSY && code != SQLITE_LOCKED)
            break;
        sqlite3_sleep(busyPauseMs);
    }
    const int finished = sqlite3_backup_finish(backup);
    return code == SQLITE_DONE ? finished : code;
}

// A copy passes each page once: a small cache on both sides does, where the large cache of a
// connection would only take memory to fault in (some 30 MB for a log book of 100,000 readings).
constexpr int copyCacheSize = -1024;  // KiB

int cacheSize(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    int size = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA cache_size", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        size = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return size;
}

void setCacheSize(sqlite3 *db, int size)
{
    sqlite3_exec(db, QByteArray("PRAGMA cache_size=" + QByteArray::number(size)).constData(), nullptr, nullptr,
                 nullptr);
}

QString messageOf(sqlite3 *db, int code)
{
    return engineMessage(code, QString::fromUtf8(sqlite3_errmsg(db)));
}

}  // namespace

void SqlCipherConnection::backupTo(const QString &fileName, const QString &password)
{
    const QString path = QDir::current().absoluteFilePath(fileName);
    auto target = create(path, password, salt_.isEmpty() ? newLogBookSalt() : salt_, NewFileUse::Alone);
    // The copy is a new file that no one else knows of yet: its pages go straight into it, with
    // no log to write them twice and one sync at the end. A copy stopped half-way is removed.
    int code = sqlite3_exec(target->db_, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) {
        const int sourceCache = cacheSize(db_);
        setCacheSize(target->db_, copyCacheSize);
        setCacheSize(db_, copyCacheSize);
        code = copyPages(db_, target->db_);
        setCacheSize(db_, sourceCache);
    }
    if (code != SQLITE_OK) {
        const QString message = messageOf(target->db_, code);
        target.reset();
        removeFiles(path);
        throw DatabaseError(QStringLiteral("Could not copy the log book into '%1': %2").arg(path, message));
    }
}

void SqlCipherConnection::replaceWith(SqlCipherConnection &source)
{
    forgetStatements();
    catalog_.clear();
    if (const int code = copyPages(source.db_, db_); code != SQLITE_OK)
        throw DatabaseError(QStringLiteral("Could not restore the log book: %1").arg(messageOf(db_, code)));
}

void SqlCipherConnection::takeSoleUse()
{
    forgetStatements();
    // Leaving WAL mode needs every other connection gone; a short wait lets a writer finish.
    sqlite3_busy_timeout(db_, soleUseWaitMs);
    const int left = sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    const int held = left == SQLITE_OK ? sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT",
                                                      nullptr, nullptr, nullptr)
                                       : left;
    if ((held & 0xff) == SQLITE_BUSY || (held & 0xff) == SQLITE_LOCKED)
        throw DatabaseError(QStringLiteral("The log book '%1' is open in another program; close it there first.")
                                .arg(QString::fromUtf8(sqlite3_db_filename(db_, "main"))));
    if (held != SQLITE_OK)
        throw DatabaseError(messageOf(db_, held));
}

}  // namespace vornak
