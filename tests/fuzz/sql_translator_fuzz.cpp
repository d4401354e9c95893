// Translates arbitrary text as a statement of the dialect against the log book's tables. What
// the translator accepts must be one statement and no more (nothing can be smuggled behind it),
// and when SQLite can prepare it, it has exactly one value bound for each parameter marker.
// The statements are only prepared on an in-memory database, never run.

#include "platform/database_catalog.h"
#include "platform/sql_translator.h"
#include "tests/fuzz/fuzz_input.h"
#include "tools/log_book_schema.h"

#include <sqlcipher/sqlite3.h>

#include <cstdlib>

using namespace vornak;

namespace {

std::optional<TableSchema> logBookTable(const QString &name)
{
    for (const SchemaTable &table : log_book::tables()) {
        if (table.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        TableSchema schema;
        schema.name = table.name;
        for (const SchemaColumn &column : table.columns) {
            if (column.name.compare(u"id", Qt::CaseInsensitive) == 0)
                schema.keyColumn = int(schema.columns.size());
            schema.columns.append({column.name, column.kind, column.size, table.name, column.name});
        }
        return schema;
    }
    return std::nullopt;
}

sqlite3 *logBookInMemory()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        std::abort();
    for (const QString &statement : log_book::ddl())
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
    return db;
}

// Prepares `sql`; when SQLite accepts it, nothing may follow the one statement and the markers
// must match the values to bind.
void checkPrepared(sqlite3 *db, const SqlTranslation &translation)
{
    const QByteArray sql = translation.sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, &tail) != SQLITE_OK)
        return;
    const bool oneStatement = QByteArray(tail).trimmed().isEmpty();
    const bool allBound = sqlite3_bind_parameter_count(statement) == translation.bindings.size();
    sqlite3_finalize(statement);
    if (!oneStatement || !allBound)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzz::pinRussianSettings();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static sqlite3 *const db = logBookInMemory();
    static const DatabaseCatalog catalog(logBookTable);
    const QString sql = fuzz::textOf(data, size);
    fuzz::refusalsAllowed([&] {
        checkPrepared(db, translateSql(sql, catalog));
        translateSql(sql, catalog, SqlTextMode::AsWritten);
    });
    return 0;
}
