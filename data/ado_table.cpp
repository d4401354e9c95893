#include "data/ado_table.h"

#include "platform/database.h"

namespace vornak {

std::unique_ptr<ResultSet> TADOTable::OpenCursor()
{
    return Engine().openTable(TableName);
}

}  // namespace vornak
