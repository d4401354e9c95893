#pragma once

// A reference to a field of a report data source as expressions write it: the data source's
// user name, a full stop and the field name in double quotes (Source1."s2").

#include <QString>

namespace vornak {

class TfrxDataSet;
class TfrxReport;

// The data source and field name of `name`, split at its first full stop followed by a double
// quote: the data source GetDataset finds for the text before it, and the field name from after
// the quote up to, not including, the last character. No data source when the report has none
// of that user name or the text holds no such full stop.
struct DatasetAndField {
    TfrxDataSet *dataSet = nullptr;
    QString field;
};
DatasetAndField GetDatasetAndField(const TfrxReport &report, const QString &name);

// True when `text` is a field reference of an existing data source.
bool isDataReference(const TfrxReport &report, const QString &text);

}  // namespace vornak
