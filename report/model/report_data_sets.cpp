#include "report/model/report_data_sets.h"

#include "report/model/data_set.h"
#include "report/model/report.h"

namespace vornak {

TfrxDataSetItem &TfrxReportDataSets::Add()
{
    items_.push_back(std::make_unique<TfrxDataSetItem>(report_));
    return *items_.back();
}

void TfrxReportDataSets::Add(TfrxDataSet *dataSet)
{
    Add().SetDataSet(dataSet);
}

void TfrxReportDataSets::Delete(int index)
{
    items_.erase(items_.begin() + index);
}

TfrxDataSetItem *TfrxReportDataSets::Find(const TfrxDataSet *dataSet) const
{
    for (const auto &item : items_)
        if (item->DataSet() == dataSet)
            return item.get();
    return nullptr;
}

void TfrxReportDataSets::Initialize()
{
    for (const auto &item : items_)
        if (TfrxDataSet *dataSet = item->DataSet()) {
            dataSet->ReportRef = report_;
            dataSet->Initialize();
        }
}

void TfrxReportDataSets::Finalize()
{
    for (const auto &item : items_)
        if (TfrxDataSet *dataSet = item->DataSet())
            dataSet->Finalize();
}

}  // namespace vornak
