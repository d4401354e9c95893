#include "platform/database.h"

#include "platform/connection_string.h"
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"

namespace vornak {

int ResultSet::columnIndex(const QString &name) const
{
    const QList<ColumnInfo> &all = columns();
    for (int i = 0; i < all.size(); ++i)
        if (all[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::unique_ptr<Connection> Connection::open(const QString &connectionString)
{
    const ConnectionString settings = ConnectionString::parse(connectionString);
    const QString file = settings.dataSource();
    if (!settings.contains(QStringLiteral("Data Source")))
        throw DatabaseError(QStringLiteral("The connection string names no data source."));
    const bool readOnly = settings.value(QStringLiteral("Mode")).compare(u"Read", Qt::CaseInsensitive) == 0;
    return SqlCipherConnection::open(file, settings.password(), readOnly ? Access::ReadOnly : Access::ReadWrite);
}

}  // namespace vornak
