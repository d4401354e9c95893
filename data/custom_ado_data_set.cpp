#include "data/custom_ado_data_set.h"

#include "data/ado_connection.h"

namespace vornak {

vornak::Connection &TCustomADODataSet::Engine() const
{
    if (!Connection)
        Fail(QStringLiteral("Missing Connection or ConnectionString"));
    return Connection->Engine();
}

} // namespace vornak
