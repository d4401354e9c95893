#include "report/period/period_sums_data_set.h"

#include "data/ado_query.h"
#include "data/data_source.h"
#include "report/period/period_report_queries.h"

namespace vornak {

TADOQuery *TPeriodSumsDataSet::query() const
{
    return dynamic_cast<TADOQuery *>(GetDataSet());
}

void TPeriodSumsDataSet::Bind(TDataSource *source)
{
    SetDataSource(source);
    if (TADOQuery *sums = query())
        sums_ = sums->SQL.Lines();
}

void TPeriodSumsDataSet::OpenSums(const QStringList &lines)
{
    if (TADOQuery *sums = query()) {
        RewriteAndOpen(*sums, lines);
        sums_ = lines;
    }
}

void TPeriodSumsDataSet::Open()
{
    // The first open of a run (or the first after the query was closed under it).
    if (TADOQuery *sums = query(); !initialized_ && sums && sums->SQL.Lines() != sums_)
        Rewrite(*sums, sums_);
    TfrxDBDataset::Open();
}

}  // namespace vornak
