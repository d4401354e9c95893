#include "tools/log_book_schema.h"

#include "platform/connection_string.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"

#include <QDir>
#include <QFile>

namespace vornak::log_book {

namespace {

SchemaColumn key(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), ColumnKind::AutoIncrement};
}
SchemaColumn integer(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("INTEGER"), ColumnKind::Integer};
}
SchemaColumn floating(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("DOUBLE"), ColumnKind::Float};
}
SchemaColumn dateTime(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("DATETIME"), ColumnKind::DateTime};
}
SchemaColumn text(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("VARCHAR(255) COLLATE NOCASE"), ColumnKind::Text, 255};
}

QString kindName(ColumnKind kind, int size)
{
    switch (kind) {
    case ColumnKind::AutoIncrement: return QStringLiteral("autoincrement key");
    case ColumnKind::Integer: return QStringLiteral("integer");
    case ColumnKind::Float: return QStringLiteral("float");
    case ColumnKind::DateTime: return QStringLiteral("date-time");
    case ColumnKind::Text: return QStringLiteral("text(%1)").arg(size);
    }
    return {};
}

} // namespace

const QList<SchemaTable> &tables()
{
    static const QList<SchemaTable> all = {
        {QStringLiteral("SPR_AUTO"), {key("id"), text("nameauto"), integer("beginkm"), dateTime("begindate")}, {}},
        {QStringLiteral("SYS_TYPE_EXPENSE"), {key("ID"), text("OPISANIE")}, {}},
        {QStringLiteral("DOC_MILEAGE"),
         {key("id"), dateTime("datedoc"), integer("idauto"), integer("tekprobeg"), integer("raznica")},
         QStringLiteral("idauto, datedoc")},
        {QStringLiteral("DOC_EXPENSE"),
         {key("ID"), integer("IDTYPE"), integer("IDAUTO"), dateTime("DATEDOC"), floating("KOLVO"), floating("SUMMA"),
          text("OPISANIE")},
         QStringLiteral("IDAUTO, DATEDOC")},
        {QStringLiteral("DOC_EVENTS"),
         {key("id"), integer("idauto"), integer("idtype"), integer("ENDE"), dateTime("datedoc"), integer("mileage"),
          text("opisanie")},
         QStringLiteral("idauto, datedoc")},
    };
    return all;
}

QStringList ddl()
{
    QStringList statements;
    for (const SchemaTable &table : tables()) {
        QStringList columns;
        for (const SchemaColumn &c : table.columns)
            columns.append(c.name + u' ' + c.declaredType);
        statements.append(QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, columns.join(QStringLiteral(", "))));
        if (!table.index.isEmpty())
            statements.append(QStringLiteral("CREATE INDEX %1_BY_AUTO_DATE ON %1 (%2)").arg(table.name, table.index));
    }
    return statements;
}

QString connectionString(const QString &path)
{
    return ConnectionString::forFile(path, password);
}

void create(const QString &fileName)
{
    const QString path = QDir::current().absoluteFilePath(fileName);
    auto connection = SqlCipherConnection::create(path, password);
    try {
        connection->runStatement(QStringLiteral("BEGIN"), {});
        for (const QString &statement : ddl())
            connection->runStatement(statement, {});
        connection->runStatement(QStringLiteral("COMMIT"), {});
    } catch (const DatabaseError &) {
        connection.reset();
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(path + QLatin1StringView(suffix));
        throw;
    }
}

QStringList check(Connection &connection)
{
    QStringList problems;
    for (const SchemaTable &table : tables()) {
        std::unique_ptr<ResultSet> result;
        try {
            result = connection.query(QStringLiteral("SELECT * FROM [%1] WHERE 0 = 1").arg(table.name));
        } catch (const DatabaseError &) {
            problems.append(QStringLiteral("Table %1 is missing.").arg(table.name));
            continue;
        }
        for (const SchemaColumn &expected : table.columns) {
            const int index = result->columnIndex(expected.name);
            if (index < 0) {
                problems.append(QStringLiteral("Column %1.%2 is missing.").arg(table.name, expected.name));
                continue;
            }
            const ColumnInfo &actual = result->columns()[index];
            if (actual.kind != expected.kind || (expected.kind == ColumnKind::Text && actual.size != expected.size))
                problems.append(QStringLiteral("Column %1.%2 is %3, expected %4.")
                                    .arg(table.name, expected.name, kindName(actual.kind, actual.size),
                                         kindName(expected.kind, expected.size)));
        }
    }
    return problems;
}

} // namespace vornak::log_book
