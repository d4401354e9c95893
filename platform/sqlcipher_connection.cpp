#define SQLITE_HAS_CODEC 1
#include "platform/sqlcipher_connection.h"

#include "platform/errors.h"
#include "platform/gathering_file_layer.h"
#include "platform/sql_literal.h"
#include "platform/sqlcipher_key.h"
#include "platform/sqlcipher_messages.h"
#include "platform/static_result_set.h"
#include "platform/text_collation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QUrl>
#include <sqlcipher/sqlite3.h>

#include <optional>
#include <span>

namespace vornak {

namespace {

constexpr int busyTimeoutMs = 3000;

// Opens a database file with the engine set up for this program, once per process before its
// first use: without the engine's count of the memory it holds, which no one here reads and which
// takes a lock shared by every thread for each allocation.
int openEngineFile(const char *path, sqlite3 **db, int flags, const char *layer = nullptr)
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    Q_UNUSED(configured);
    return sqlite3_open_v2(path, db, flags, layer);
}

QString lastMessage(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// The extended code of the failure SQLite reported as `code`, when it still knows it.
int extendedCode(sqlite3 *db, int code)
{
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    return (extended & 0xff) == (code & 0xff) ? extended : code;
}

// The first bytes of the file SQLite has opened (at most 32) and its size. They are read through
// SQLite's own handle: opening and closing a second descriptor of the file would drop the locks
// every other connection of this process holds on it (POSIX locks belong to the process), and
// another process could then take the file from under them.
struct FileHead {
    QByteArray bytes;
    sqlite3_int64 size = 0;
};

std::optional<FileHead> readFileHead(sqlite3 *db)
{
    sqlite3_file *file = nullptr;
    FileHead head;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods ||
        file->pMethods->xFileSize(file, &head.size) != SQLITE_OK)
        return std::nullopt;
    head.bytes = QByteArray(int(std::min<sqlite3_int64>(head.size, 32)), '\0');
    if (!head.bytes.isEmpty() && file->pMethods->xRead(file, head.bytes.data(), int(head.bytes.size()), 0) != SQLITE_OK)
        return std::nullopt;
    return head;
}

// What the first bytes of a file say about it, or an empty text when they look like ours.
QString foreignFileMessage(const std::optional<FileHead> &head, const QString &path)
{
    if (!head)
        return QStringLiteral("The file '%1' cannot be read.").arg(path);
    const QByteArray format = head->bytes.mid(4, 15);
    if (format == "Standard Jet DB" || format == "Standard ACE DB")
        return QStringLiteral("The file '%1' is an Access database. It must be converted to this program's "
                              "format before it can be used.")
            .arg(path);
    if (head->bytes.startsWith(QByteArrayLiteral("SQLite format 3")))
        return QStringLiteral("The file '%1' is not an encrypted log book of this program.").arg(path);
    if (head->size == 0 || head->size % 512 != 0)
        return QStringLiteral("The file '%1' is not a database of this program.").arg(path);
    return {};
}

void closeQuietly(sqlite3 *db)
{
    sqlite3_close_v2(db);
}

// Runs SQL text (no result wanted) while a file is being opened or created; returns SQLite's
// result code.
int runWhileOpening(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Journal mode WAL, so other processes keep reading and writing; every commit durable; and a page
// cache of 16 MiB, so that reading a long list decrypts each page once (the default 2 MiB cache
// made opening 100,000 readings decrypt the same pages over and over). A connection that only
// reads leaves the journal mode as the file has it and refuses every statement that writes.
int configureConnection(sqlite3 *db, Access access = Access::ReadWrite)
{
    static const char *const writing[] = {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL",
                                          "PRAGMA cache_size=-16384"};
    static const char *const reading[] = {"PRAGMA query_only=1", "PRAGMA cache_size=-16384"};
    const std::span<const char *const> used =
        access == Access::ReadOnly ? std::span<const char *const>(reading) : std::span<const char *const>(writing);
    for (const char *pragma : used) {
        if (const int code = runWhileOpening(db, pragma); code != SQLITE_OK)
            return code;
    }
    return SQLITE_OK;
}

// Whether the file at `path` and its folder can both be written.
bool canBeWritten(const QFileInfo &info)
{
    return info.isWritable() && QFileInfo(info.absolutePath()).isWritable();
}

// The name handed to the engine: a URI, so that a file nothing here can write to (a read-only file
// or folder, read-only storage) is read as it stands (immutable: no locks, no journal files, which
// either could not be made or would be left behind). A file with a journal beside it that holds
// something (a write-ahead log, or the journal of a stopped writer) is read with it.
QByteArray engineFileName(const QString &path, bool readOnlyHandle)
{
    const bool unchangeable = readOnlyHandle && QFileInfo(path + QStringLiteral("-wal")).size() == 0 &&
                              QFileInfo(path + QStringLiteral("-journal")).size() == 0;
    return "file:" + QUrl::toPercentEncoding(path, "/") + (unchangeable ? "?immutable=1" : "");
}

// The databases open in this process, for the guard of output files (platform/output_path.h).
struct OpenFileRegistry {
    QMutex mutex;
    QHash<const SqlCipherConnection *, SqlCipherConnection::OpenFile> files;
};

OpenFileRegistry &openFileRegistry()
{
    static OpenFileRegistry registry;
    return registry;
}

[[noreturn]] void failOpening(sqlite3 *db, const QString &path, int code)
{
    const QString message = db ? lastMessage(db) : QString();
    const int extended = extendedCode(db, code);
    closeQuietly(db);
    throw DatabaseError(QStringLiteral("Could not open file '%1': %2").arg(path, engineMessage(extended, message)));
}

void keyDatabase(sqlite3 *db, const QString &password)
{
    const QByteArray key = password.toUtf8();
    if (!key.isEmpty())
        sqlite3_key(db, key.constData(), int(key.size()));
}

// Keys a new file with `salt` and the key for it (see sqlcipher_key.h), as `keyExistingDatabase`
// does for a file that has its salt; without a salt (no source of random bytes) the engine does
// it all.
void keyNewDatabase(sqlite3 *db, const QString &password, const QByteArray &salt)
{
    if (password.isEmpty() || salt.isEmpty())
        return keyDatabase(db, password);
    QByteArray key = newLogBookKey(password.toUtf8(), salt);
    sqlite3_key(db, key.constData(), int(key.size()));
    key.fill('\0');
}

// Keys an existing file: the key is derived here from the salt in the file's first bytes (see
// sqlcipher_key.h); a file too short to hold one gets the password and fails as it would.
void keyExistingDatabase(sqlite3 *db, const FileHead &head, const QString &password)
{
    const QByteArray salt = head.bytes.left(logBookSaltBytes);
    if (password.isEmpty() || salt.size() < logBookSaltBytes)
        return keyDatabase(db, password);
    QByteArray key = rawLogBookKey(password.toUtf8(), salt);
    sqlite3_key(db, key.constData(), int(key.size()));
    key.fill('\0');
}

Variant readValue(sqlite3_stmt *statement, int column, ColumnKind kind, bool hinted)
{
    const int type = sqlite3_column_type(statement, column);
    switch (type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 n = sqlite3_column_int64(statement, column);
        if (hinted && kind == ColumnKind::Float)
            return Variant(double(n));
        if (hinted && kind == ColumnKind::DateTime)
            return Variant::fromDateTime(double(n));
        if (hinted && kind == ColumnKind::Text)
            return Variant(QString::number(n));
        if (n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max())
            return Variant(int(n));
        return Variant(n);
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(statement, column);
        if (hinted && kind == ColumnKind::DateTime)
            return Variant::fromDateTime(d);
        if (hinted && kind == ColumnKind::Text)
            return Variant(QString::number(d, 'g', 15));
        return Variant(d);
    }
    default: {
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return Variant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    }
}

// The kind of an expression column told by its values: text wins over float over integer;
// a column of nothing but nulls is a float.
ColumnKind kindOfValues(const ResultData &data, int column)
{
    ColumnKind kind = ColumnKind::Integer;
    bool any = false;
    const qsizetype width = data.columns.size();
    for (qsizetype row = 0; row < data.rowCount; ++row) {
        const Variant &v = data.values[row * width + column];
        if (v.isNull())
            continue;
        any = true;
        if (v.isString())
            return ColumnKind::Text;
        if (v.type() == Variant::Type::Float)
            kind = ColumnKind::Float;
    }
    return any ? kind : ColumnKind::Float;
}

}  // namespace

SqlCipherConnection::SqlCipherConnection(sqlite3 *db, const QString &password, const QByteArray &salt)
    : db_(db),
      salt_(salt),
      catalog_([this](const QString &name) { return loadTable(name); })
{
    installTextCollation(db_);
    OpenFileRegistry &registry = openFileRegistry();
    const QMutexLocker lock(&registry.mutex);
    registry.files.insert(this, {QString::fromUtf8(sqlite3_db_filename(db_, "main")), password});
}

SqlCipherConnection::~SqlCipherConnection()
{
    {
        OpenFileRegistry &registry = openFileRegistry();
        const QMutexLocker lock(&registry.mutex);
        registry.files.remove(this);
    }
    forgetStatements();
    sqlite3_close_v2(db_);
}

QList<SqlCipherConnection::OpenFile> SqlCipherConnection::openFiles()
{
    OpenFileRegistry &registry = openFileRegistry();
    const QMutexLocker lock(&registry.mutex);
    return registry.files.values();
}

std::unique_ptr<SqlCipherConnection> SqlCipherConnection::open(const QString &fileName, const QString &password,
                                                               Access access)
{
    if (fileName.isEmpty())
        throw DatabaseError(QStringLiteral("The file name is missing."));
    const QString path = QDir::current().absoluteFilePath(fileName);
    const QFileInfo info(path);
    if (!info.exists() && info.isSymLink())
        throw DatabaseError(
            QStringLiteral("'%1' is a symbolic link to '%2', which does not exist.").arg(path, info.symLinkTarget()));
    if (!info.exists())
        throw DatabaseError(QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        throw DatabaseError(QStringLiteral("'%1' is not a file.").arg(path));

    // Opening reads and writes nothing yet: the file is looked at before anything else happens.
    // A connection that only reads still has the file open for writing wherever it may be
    // written: like every other connection, it then rolls back what a stopped writer left and
    // removes, when it closes, the journal files it made for reading (a read-only handle would
    // leave them behind); `query_only` keeps it from writing anything else.
    const bool readOnly = access == Access::ReadOnly;
    const bool readOnlyHandle = readOnly && !canBeWritten(info);
    sqlite3 *db = nullptr;
    const int opened = openEngineFile(engineFileName(path, readOnlyHandle).constData(), &db,
                                      (readOnlyHandle ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                                          SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI);
    if (opened != SQLITE_OK)
        failOpening(db, path, opened);
    const auto refuse = [db](const QString &message) {
        closeQuietly(db);
        throw DatabaseError(message);
    };
    const std::optional<FileHead> head = readFileHead(db);
    if (const QString foreign = foreignFileMessage(head, path); !foreign.isEmpty())
        refuse(foreign);
    if (!readOnly && !info.isWritable())
        refuse(QStringLiteral("The file '%1' is read-only; the log book must be writable.").arg(path));
    if (!readOnly && !QFileInfo(info.absolutePath()).isWritable())
        refuse(QStringLiteral("Cannot open '%1': the folder '%2' is not writable (the engine keeps "
                              "its journal files beside the database).")
                   .arg(path, info.absolutePath()));
    keyExistingDatabase(db, *head, password);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Reading the schema proves the key; nothing is written before this succeeds.
    const int checked = runWhileOpening(db, "SELECT count(*) FROM sqlite_master");
    if ((checked & 0xff) == SQLITE_NOTADB) {
        // The key opens no page: a foreign or damaged file (the program's password is its own).
        closeQuietly(db);
        throw DatabaseError(QStringLiteral("The file '%1' is damaged or is not a log book of this program: it cannot "
                                           "be read with the log book's password.")
                                .arg(path));
    }
    if (checked != SQLITE_OK)
        failOpening(db, path, checked);
    if (const int code = configureConnection(db, access); code != SQLITE_OK)
        failOpening(db, path, code);
    return std::unique_ptr<SqlCipherConnection>(
        new SqlCipherConnection(db, password, head->bytes.left(logBookSaltBytes)));
}

std::unique_ptr<SqlCipherConnection> SqlCipherConnection::create(const QString &fileName, const QString &password,
                                                                 NewFileUse use)
{
    return create(fileName, password, newLogBookSalt(), use);
}

std::unique_ptr<SqlCipherConnection> SqlCipherConnection::create(const QString &fileName, const QString &password,
                                                                 const QByteArray &salt, NewFileUse use)
{
    const QString path = QDir::current().absoluteFilePath(fileName);
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("The file '%1' already exists.").arg(path));
    sqlite3 *db = nullptr;
    const int opened =
        openEngineFile(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                       use == NewFileUse::Alone ? gatheringFileLayer() : nullptr);
    int code = opened;
    QString message = db ? lastMessage(db) : QString();
    if (opened == SQLITE_OK) {
        keyNewDatabase(db, password, salt);
        code = configureConnection(db);
        message = lastMessage(db);
    }
    if (code != SQLITE_OK) {
        closeQuietly(db);
        removeFiles(path);
        throw DatabaseError(QStringLiteral("Could not create file '%1': %2").arg(path, engineMessage(code, message)));
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    return std::unique_ptr<SqlCipherConnection>(new SqlCipherConnection(db, password, salt));
}

const QStringList &SqlCipherConnection::journalSuffixes()
{
    static const QStringList suffixes = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};
    return suffixes;
}

void SqlCipherConnection::removeFiles(const QString &path)
{
    QFile::remove(path);
    for (const QString &suffix : journalSuffixes())
        QFile::remove(path + suffix);
}

std::optional<TableSchema> SqlCipherConnection::loadTable(const QString &name)
{
    if (name.startsWith(QLatin1StringView("sqlite_"), Qt::CaseInsensitive))
        return std::nullopt;  // the engine's own tables are none of the log book's

    sqlite3_stmt *statement = prepareNative(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    bind(statement, {Variant(name)});
    QString storedName;
    if (sqlite3_step(statement) == SQLITE_ROW)
        storedName = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_reset(statement);
    if (storedName.isEmpty())
        return std::nullopt;

    TableSchema table;
    table.name = storedName;
    statement = prepareNative(QStringLiteral("PRAGMA table_info(%1)").arg(sql_literal::sqliteName(storedName)));
    QList<ColumnInfo> columns;
    int keyParts = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const QString column = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 1)));
        const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 2)));
        const bool inKey = sqlite3_column_int(statement, 5) > 0;
        keyParts += inKey;
        columns.append(columnOfDeclaredType(column, type, inKey));
        columns.last().baseTable = storedName;
        columns.last().baseColumn = column;
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail(rc);
    for (ColumnInfo &column : columns) {
        // Only a single INTEGER key column is the row key the engine assigns.
        if (keyParts > 1 && column.kind == ColumnKind::AutoIncrement)
            column.kind = ColumnKind::Integer;
        if (column.name.compare(u"id", Qt::CaseInsensitive) == 0)
            table.keyColumn = int(table.columns.size());
        table.columns.append(column);
    }
    return table;
}

sqlite3_stmt *SqlCipherConnection::prepareNative(const QString &sqliteSql)
{
    if (sqlite3_stmt *cached = statements_.value(sqliteSql)) {
        sqlite3_reset(cached);
        sqlite3_clear_bindings(cached);
        return cached;
    }
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sqliteSql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail(rc);
    }
    if (!statement)
        throw DatabaseError(QStringLiteral("The SQL statement is empty."));
    if (statements_.size() >= statementCacheSize_)
        forgetIdleStatements();
    statements_.insert(sqliteSql, statement);
    return statement;
}

sqlite3_stmt *SqlCipherConnection::prepare(const SqlTranslation &translation, const QString &dialectSql)
{
    try {
        return prepareNative(translation.sql);
    } catch (const DatabaseError &) {
        // Phrase the failure on the statement as written, not on its markers and added names.
        const SqlTranslation literal = translateSql(dialectSql, catalog_, SqlTextMode::AsWritten);
        sqlite3_stmt *statement = nullptr;
        const QByteArray utf8 = literal.sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &statement, nullptr);
        sqlite3_finalize(statement);
        if (rc == SQLITE_OK)
            throw;
        // SQLite quotes the token it stopped at as it read it: show it as the statement has it.
        static const QRegularExpression near(QStringLiteral(R"x(^near "(.*)": syntax error$)x"),
                                             QRegularExpression::DotMatchesEverythingOption);
        QString message = lastMessage(db_);
        if (const auto match = near.match(message); match.hasMatch() && literal.writtenAs.contains(match.captured(1)))
            message = QStringLiteral("near \"%1\": syntax error").arg(literal.writtenAs.value(match.captured(1)));
        throw DatabaseError(engineMessage(rc, message));
    }
}

void SqlCipherConnection::bind(sqlite3_stmt *statement, const QList<Variant> &bindings)
{
    for (int i = 0; i < bindings.size(); ++i) {
        const Variant &v = bindings[i];
        int rc = SQLITE_OK;
        switch (v.type()) {
        case Variant::Type::Null:
            rc = sqlite3_bind_null(statement, i + 1);
            break;
        case Variant::Type::Boolean:
        case Variant::Type::Integer:
        case Variant::Type::Int64:
            rc = sqlite3_bind_int64(statement, i + 1, v.toInt64());
            break;
        case Variant::Type::String: {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = sqlite3_bind_double(statement, i + 1, v.toDouble());
            break;
        }
        if (rc != SQLITE_OK)
            fail(rc);
    }
}

int SqlCipherConnection::stepToEnd(sqlite3_stmt *statement)
{
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail(rc);
    return sqlite3_changes(db_);
}

void SqlCipherConnection::forgetStatements()
{
    for (sqlite3_stmt *statement : std::as_const(statements_))
        sqlite3_finalize(statement);
    statements_.clear();
}

void SqlCipherConnection::forgetIdleStatements()
{
    for (auto it = statements_.begin(); it != statements_.end();) {
        if (sqlite3_stmt_busy(*it) || inUse_.contains(*it)) {
            ++it;
        } else {
            sqlite3_finalize(*it);
            it = statements_.erase(it);
        }
    }
}

void SqlCipherConnection::fail(int code) const
{
    const QString message = engineMessage(extendedCode(db_, code), lastMessage(db_));
    const int primary = code & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw DatabaseLockedError(message);
    throw DatabaseError(message);
}

std::unique_ptr<ResultSet> SqlCipherConnection::query(const QString &sql)
{
    const SqlTranslation translation = translateSql(sql, catalog_);
    if (translation.kind != SqlTranslation::Kind::Select)
        return nullptr;
    ResultData data = read(prepare(translation, sql), translation.bindings, translation.expressionColumns);
    return std::make_unique<StaticResultSet>(*this, std::move(data), !translation.aggregatesRows);
}

std::unique_ptr<ResultSet> SqlCipherConnection::openTable(const QString &table)
{
    const TableSchema *schema = catalog_.table(table);
    if (!schema)
        throw DatabaseError(QStringLiteral("Could not find table '%1'.").arg(table));
    ResultData data = read(QStringLiteral("SELECT * FROM %1").arg(sql_literal::sqliteName(schema->name)), {});
    return std::make_unique<StaticResultSet>(*this, std::move(data), true);
}

int SqlCipherConnection::execute(const QString &sql)
{
    const SqlTranslation translation = translateSql(sql, catalog_);
    sqlite3_stmt *statement = prepare(translation, sql);
    bind(statement, translation.bindings);
    const int changes = stepToEnd(statement);
    if (translation.kind == SqlTranslation::Kind::Other) {
        // The schema may have changed: read the tables afresh.
        catalog_.clear();
        forgetStatements();
        return 0;
    }
    return translation.kind == SqlTranslation::Kind::Select ? 0 : changes;
}

int SqlCipherConnection::runStatement(const QString &sqliteSql, const QList<Variant> &bindings)
{
    sqlite3_stmt *statement = prepareNative(sqliteSql);
    bind(statement, bindings);
    return stepToEnd(statement);
}

qint64 SqlCipherConnection::lastInsertKey() const
{
    return sqlite3_last_insert_rowid(db_);
}

ResultData SqlCipherConnection::read(const QString &sqliteSql, const QList<Variant> &bindings)
{
    return read(prepareNative(sqliteSql), bindings, {});
}

ResultData SqlCipherConnection::read(sqlite3_stmt *statement, const QList<Variant> &bindings,
                                     const QHash<QString, ColumnInfo> &expressionColumns)
{
    // Reading the columns' tables may prepare statements of its own: keep this one meanwhile.
    inUse_.append(statement);
    const auto release = qScopeGuard([&] { inUse_.removeOne(statement); });
    bind(statement, bindings);
    ResultData data;
    const int width = sqlite3_column_count(statement);
    QList<bool> hinted(width, true);
    for (int i = 0; i < width; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, i));
        const char *table = sqlite3_column_table_name(statement, i);
        const char *origin = sqlite3_column_origin_name(statement, i);
        ColumnInfo column;
        const TableSchema *schema = table ? catalog_.table(QString::fromUtf8(table)) : nullptr;
        const ColumnInfo *base = schema && origin ? schema->column(QString::fromUtf8(origin)) : nullptr;
        if (base) {
            column = *base;
        } else if (auto it = expressionColumns.find(name.toLower()); it != expressionColumns.end()) {
            column = *it;
        } else {
            hinted[i] = false;
        }
        column.name = name;
        data.columns.append(column);
    }
    QList<ColumnKind> kinds;
    for (const ColumnInfo &c : std::as_const(data.columns))
        kinds.append(c.kind);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < width; ++i)
            data.values.append(readValue(statement, i, kinds[i], hinted[i]));
        ++data.rowCount;
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail(rc);
    for (int i = 0; i < width; ++i)
        if (!hinted[i])
            data.columns[i].kind = kindOfValues(data, i);
    return data;
}

}  // namespace vornak
