#pragma once

#include "data/custom_ado_data_set.h"

namespace vornak {

// A dataset over all rows of one table.
class TADOTable : public TCustomADODataSet {
public:
    using TCustomADODataSet::TCustomADODataSet;

    QString TableName;

protected:
    std::unique_ptr<ResultSet> OpenCursor() override;
};

}  // namespace vornak
