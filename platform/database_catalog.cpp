#include "platform/database_catalog.h"

namespace vornak {

namespace {

struct TypeKind {
    QLatin1StringView typeName;
    ColumnKind kind;
};

const TypeKind typeKinds[] = {
    {QLatin1StringView("INTEGER"), ColumnKind::Integer}, {QLatin1StringView("LONG"), ColumnKind::Integer},
    {QLatin1StringView("INT"), ColumnKind::Integer},     {QLatin1StringView("SMALLINT"), ColumnKind::Integer},
    {QLatin1StringView("BYTE"), ColumnKind::Integer},    {QLatin1StringView("COUNTER"), ColumnKind::AutoIncrement},
    {QLatin1StringView("DOUBLE"), ColumnKind::Float},    {QLatin1StringView("FLOAT"), ColumnKind::Float},
    {QLatin1StringView("REAL"), ColumnKind::Float},      {QLatin1StringView("SINGLE"), ColumnKind::Float},
    {QLatin1StringView("CURRENCY"), ColumnKind::Float},  {QLatin1StringView("NUMERIC"), ColumnKind::Float},
    {QLatin1StringView("DECIMAL"), ColumnKind::Float},   {QLatin1StringView("DATETIME"), ColumnKind::DateTime},
    {QLatin1StringView("DATE"), ColumnKind::DateTime},   {QLatin1StringView("TIME"), ColumnKind::DateTime},
};

}  // namespace

const ColumnInfo *TableSchema::column(const QString &columnName) const
{
    for (const ColumnInfo &c : columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

ColumnInfo columnOfDeclaredType(const QString &name, const QString &declaredType, bool isRowKey)
{
    ColumnInfo column;
    column.name = name;
    const QString type = declaredType.trimmed().toUpper();
    const qsizetype paren = type.indexOf(u'(');
    const QString baseType = (paren < 0 ? type : type.left(paren)).trimmed();
    if (isRowKey && baseType == u"INTEGER") {
        column.kind = ColumnKind::AutoIncrement;
        return column;
    }
    for (const TypeKind &t : typeKinds)
        if (baseType == t.typeName) {
            column.kind = t.kind;
            return column;
        }
    column.kind = ColumnKind::Text;
    if (paren >= 0)
        column.size = type.mid(paren + 1).section(u')', 0, 0).section(u',', 0, 0).trimmed().toInt();
    else
        column.size = baseType == u"MEMO" || baseType == u"LONGTEXT" ? 0 : 255;
    return column;
}

const TableSchema *DatabaseCatalog::table(const QString &name) const
{
    const QString key = name.toLower();
    auto it = tables_.find(key);
    if (it == tables_.end())
        it = tables_.emplace(key, loader_(name)).first;
    return it->second.has_value() ? &*it->second : nullptr;
}

}  // namespace vornak
