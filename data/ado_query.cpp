#include "data/ado_query.h"

#include "data/data_set_text.h"
#include "data/sql_parameters.h"
#include "platform/database.h"

namespace vornak {

TADOQuery::TADOQuery(TComponent *owner)
    : TCustomADODataSet(owner)
{
    SQL.OnChange = [this] { SQLChanged(); };
}

void TADOQuery::SQLChanged()
{
    if (!IsLoading())
        Close();
    const QString text = SQL.Text();
    if (text == text_)
        return;
    text_ = text;
    if (ParamCheck && !text.isEmpty()) {
        SqlParameterScan scan = scanSqlParameters(text);
        commandText_ = std::move(scan.text);
        parameters_ = std::move(scan.names);
    } else {
        commandText_ = text;
        parameters_.clear();
    }
}

std::unique_ptr<ResultSet> TADOQuery::OpenCursor()
{
    std::unique_ptr<ResultSet> result = Engine().query(commandText_);
    if (!result)
        Fail(dataSetText("noResultSet"));
    return result;
}

int TADOQuery::ExecSQL()
{
    Close();
    return Engine().execute(commandText_);
}

}  // namespace vornak
