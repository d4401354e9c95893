#pragma once

#include "report/model/data_set.h"

#include <memory>
#include <QString>
#include <vector>

namespace vornak {

class TfrxReport;

// One entry of the report's data source list.
class TfrxDataSetItem {
public:
    explicit TfrxDataSetItem(TfrxReport *report)
        : report_(report)
    {
    }

    TfrxDataSet *DataSet() const { return binding_.DataSet(); }
    // Also sets the name to the data source's user name.
    void SetDataSet(TfrxDataSet *value) { binding_.SetDataSet(value); }
    // The data source's current user name when one is set, otherwise the stored text.
    QString DataSetName() const { return binding_.Name(); }
    // Looks the data source up by user name; an empty name clears it.
    void SetDataSetName(const QString &value) { binding_.SetName(value, report_); }

private:
    TfrxReport *report_;
    TfrxDataSetBinding binding_;
};

// The data sources a report may use, in order (`Datasets` of the report).
class TfrxReportDataSets {
public:
    explicit TfrxReportDataSets(TfrxReport *report)
        : report_(report)
    {
    }

    int Count() const { return int(items_.size()); }
    TfrxDataSetItem &Items(int index) const { return *items_.at(index); }
    TfrxDataSetItem &Add();
    // Adds an item for `dataSet`.
    void Add(TfrxDataSet *dataSet);
    void Delete(int index);
    void Clear() { items_.clear(); }
    // The item holding `dataSet`, or nullptr.
    TfrxDataSetItem *Find(const TfrxDataSet *dataSet) const;

    // For each item with a data source: sets its report reference and calls its Initialize.
    void Initialize();
    // Calls Finalize of each item's data source.
    void Finalize();

private:
    TfrxReport *report_;
    std::vector<std::unique_ptr<TfrxDataSetItem>> items_;
};

}  // namespace vornak
