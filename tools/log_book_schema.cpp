#include "tools/log_book_schema.h"

#include "platform/connection_string.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"

#include <limits>
#include <QDir>
#include <QFile>

namespace vornak::log_book {

namespace {

// The words for each kind of column: its name in the reports of `check`, and what its guard says
// it holds.
struct KindWords {
    ColumnKind kind;
    const char *name;   // a text's is followed by its size
    const char *holds;  // empty for the key, which no guard names
};

constexpr KindWords kindWords[] = {
    {ColumnKind::AutoIncrement, "autoincrement key", ""},
    {ColumnKind::Integer, "integer", "whole numbers"},
    {ColumnKind::Float, "float", "numbers"},
    {ColumnKind::DateTime, "date-time", "dates"},
    {ColumnKind::Text, "text", "texts of at most 255 characters"},
};

const KindWords &wordsFor(ColumnKind kind)
{
    for (const KindWords &words : kindWords)
        if (words.kind == kind)
            return words;
    return kindWords[0];
}

QString holds(ColumnKind kind)
{
    return QString::fromLatin1(wordsFor(kind).holds);
}

// Each column guards its values with a named constraint, so that whatever reaches it (an
// expression, INSERT ... SELECT, another program) has its kind and size; the engine's message
// names the column and what it holds. `brokenGuard` below keeps the same conditions.
QString guarded(const char *name, const char *type, ColumnKind kind, const QString &condition)
{
    return QStringLiteral("%1 CONSTRAINT `%2 holds %3` CHECK (%4)")
        .arg(QLatin1StringView(type), QLatin1StringView(name), holds(kind), condition.arg(QLatin1StringView(name)));
}

SchemaColumn key(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), ColumnKind::AutoIncrement};
}
SchemaColumn integer(const char *name)
{
    return {QString::fromLatin1(name),
            guarded(name, "INTEGER", ColumnKind::Integer,
                    QStringLiteral("typeof(%1) IN ('integer', 'null') AND %1 BETWEEN -2147483648 AND 2147483647")),
            ColumnKind::Integer};
}
SchemaColumn floating(const char *name)
{
    return {QString::fromLatin1(name),
            guarded(name, "DOUBLE", ColumnKind::Float, QStringLiteral("typeof(%1) IN ('real', 'integer', 'null')")),
            ColumnKind::Float};
}
SchemaColumn dateTime(const char *name)
{
    return {
        QString::fromLatin1(name),
        guarded(name, "DATETIME", ColumnKind::DateTime, QStringLiteral("typeof(%1) IN ('real', 'integer', 'null')")),
        ColumnKind::DateTime};
}
SchemaColumn text(const char *name)
{
    return {QString::fromLatin1(name),
            guarded(name, "VARCHAR(255) COLLATE NOCASE", ColumnKind::Text,
                    QStringLiteral("typeof(%1) IN ('text', 'null') AND length(%1) <= 255")),
            ColumnKind::Text, 255};
}

// The characters the engine's length() counts in a text: those before its first NUL, a
// surrogate pair as one.
qsizetype engineLength(const QString &text)
{
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size() && text[i] != u'\0'; ++i)
        if (!text[i].isHighSurrogate() || i + 1 == text.size() || !text[i + 1].isLowSurrogate())
            ++characters;
    return characters;
}

QString kindName(ColumnKind kind, int size)
{
    const QString name = QString::fromLatin1(wordsFor(kind).name);
    return kind == ColumnKind::Text ? QStringLiteral("%1(%2)").arg(name).arg(size) : name;
}

// Every stored date-time of `table` that names no date (a hostile or damaged file can hold a
// huge number or an infinity there), with its column and key. The engine picks the values
// beyond the first and the last day; the exact range, time of day included, is decided here.
void checkDates(SqlCipherConnection &connection, const SchemaTable &table, QStringList &problems)
{
    const QString &key = table.columns.first().name;
    for (const SchemaColumn &column : table.columns) {
        if (column.kind != ColumnKind::DateTime)
            continue;
        const ResultData found =
            connection.read(QStringLiteral("SELECT [%1], [%2] FROM [%3] WHERE typeof([%2]) IN ('real', 'integer') "
                                           "AND ([%2] < ? OR [%2] > ?) ORDER BY [%1]")
                                .arg(key, column.name, table.name),
                            {Variant(date_time::firstDay), Variant(date_time::lastDay)});
        for (qsizetype row = 0; row < found.rowCount; ++row)
            if (QString problem = notADate(table, column, found.values[row * 2], found.values[row * 2 + 1].toDouble());
                !problem.isEmpty())
                problems.append(problem);
    }
}

}  // namespace

const QList<SchemaTable> &tables()
{
    const QString byVehicleDate = QStringLiteral("BY_AUTO_DATE");  // the lists of one vehicle by date
    static const QList<SchemaTable> all = {
        {QStringLiteral("SPR_AUTO"), {key("id"), text("nameauto"), integer("beginkm"), dateTime("begindate")}, {}},
        {QStringLiteral("SYS_TYPE_EXPENSE"), {key("ID"), text("OPISANIE")}, {}},
        {QStringLiteral("DOC_MILEAGE"),
         {key("id"), dateTime("datedoc"), integer("idauto"), integer("tekprobeg"), integer("raznica")},
         {{byVehicleDate, QStringLiteral("idauto, datedoc")}}},
        {QStringLiteral("DOC_EXPENSE"),
         {key("ID"), integer("IDTYPE"), integer("IDAUTO"), dateTime("DATEDOC"), floating("KOLVO"), floating("SUMMA"),
          text("OPISANIE")},
         {{byVehicleDate, QStringLiteral("IDAUTO, DATEDOC")},
          // The report's per-type sums look up one type of one vehicle in a period.
          {QStringLiteral("BY_TYPE_AUTO_DATE"), QStringLiteral("IDTYPE, IDAUTO, DATEDOC")}}},
        {QStringLiteral("DOC_EVENTS"),
         {key("id"), integer("idauto"), integer("idtype"), integer("ENDE"), dateTime("datedoc"), integer("mileage"),
          text("opisanie")},
         {{byVehicleDate, QStringLiteral("idauto, datedoc")}}},
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
        for (const SchemaIndex &index : table.indexes)
            statements.append(
                QStringLiteral("CREATE INDEX %1_%2 ON %1 (%3)").arg(table.name, index.suffix, index.columns));
    }
    return statements;
}

QString connectionString(const QString &path, Access access)
{
    return ConnectionString::forFile(path, password, access);
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
        SqlCipherConnection::removeFiles(path);
        throw;
    }
}

namespace {

// How far a check goes: the whole file with its values, or what a copy needs to be usable.
enum class Depth { Values, Built, Copy };

QStringList problemsOf(SqlCipherConnection &connection, Depth depth)
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
        const ResultData definition = connection.read(
            QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
            {Variant(table.name)});
        const QString createdAs = definition.rowCount > 0 ? definition.values[0].toString() : QString();
        QStringList unguarded;
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
            else if (expected.kind != ColumnKind::AutoIncrement &&
                     !createdAs.contains(expected.name + u' ' + expected.declaredType, Qt::CaseInsensitive))
                unguarded.append(expected.name);
        }
        if (!unguarded.isEmpty())
            problems.append(
                QStringLiteral("Table %1 does not guard the kind and size of %2 (made by an older vornak-db).")
                    .arg(table.name, unguarded.join(QStringLiteral(", "))));
        try {
            if (depth == Depth::Values)
                checkDates(connection, table, problems);
        } catch (const DatabaseError &) {
            // a missing column, reported above, or damage, reported below
        }
    }
    // The pages themselves: a damaged page shows here, or makes reading fail.
    try {
        const ResultData integrity = connection.read(
            depth != Depth::Copy ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check"), {});
        for (const Variant &line : integrity.values)
            if (line.toString() != u"ok")
                problems.append(QStringLiteral("Damage found: %1").arg(line.toString()));
    } catch (const DatabaseError &e) {
        problems.append(QStringLiteral("Damage found: a part of the file cannot be read (%1)").arg(e.message()));
    }
    return problems;
}

}  // namespace

QString notADate(const SchemaTable &table, const SchemaColumn &column, const Variant &key, double value)
{
    if (date_time::isInRange(value))
        return {};
    return QStringLiteral("%1.%2 of %3 %4 holds %5, which is no date from %6 to %7.")
        .arg(table.name, column.name, table.columns.first().name, key.toString(), QString::number(value, 'g', 15),
             date_time::datePart(date_time::firstDay).toString(Qt::ISODate),
             date_time::datePart(date_time::lastDay).toString(Qt::ISODate));
}

QString brokenGuard(const SchemaColumn &column, const Variant &value)
{
    if (value.isNull() || column.kind == ColumnKind::AutoIncrement)
        return {};
    const Variant::Type type = value.type();
    bool kept = false;
    switch (column.kind) {
    case ColumnKind::Integer:
        kept = (type == Variant::Type::Boolean || type == Variant::Type::Integer || type == Variant::Type::Int64) &&
               value.toInt64() >= std::numeric_limits<qint32>::min() &&
               value.toInt64() <= std::numeric_limits<qint32>::max();
        break;
    case ColumnKind::Float:
    case ColumnKind::DateTime:
        kept = type != Variant::Type::String;  // a number that is not a number is bound as a null
        break;
    case ColumnKind::Text:
        kept = type == Variant::Type::String && engineLength(value.toString()) <= column.size;
        break;
    case ColumnKind::AutoIncrement:
        break;
    }
    return kept ? QString() : holds(column.kind);
}

QStringList check(SqlCipherConnection &connection)
{
    return problemsOf(connection, Depth::Values);
}

QStringList checkBuilt(SqlCipherConnection &connection)
{
    return problemsOf(connection, Depth::Built);
}

QStringList checkCopy(SqlCipherConnection &connection)
{
    return problemsOf(connection, Depth::Copy);
}

}  // namespace vornak::log_book
