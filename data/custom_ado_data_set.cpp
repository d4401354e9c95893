#include "data/custom_ado_data_set.h"

#include "data/ado_connection.h"
#include "data/data_set_text.h"

namespace vornak {

TCustomADODataSet::~TCustomADODataSet()
{
    if (attachedTo_)
        attachedTo_->dataSets_.removeOne(this);
}

vornak::Connection &TCustomADODataSet::Engine() const
{
    if (!Connection)
        Fail(dataSetText("noConnection"));
    if (attachedTo_ != Connection) {
        if (attachedTo_)
            attachedTo_->dataSets_.removeOne(const_cast<TCustomADODataSet *>(this));
        Connection->dataSets_.append(const_cast<TCustomADODataSet *>(this));
        attachedTo_ = Connection;
    }
    return Connection->Engine();
}

}  // namespace vornak
