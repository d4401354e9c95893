#pragma once

#include "report/sources/db_dataset.h"

#include <QStringList>

namespace vornak {

class TADOQuery;

// "Source1" of the period report: the per-type sums in ADOQuery1, which the record dialogs take
// for their own statements between report runs. The data set keeps the select it last opened
// (before the first run, the query's statement when it was bound). Whenever a preparation opens
// the data set while the query holds anything else (a dialog's INSERT, UPDATE or DELETE already
// executed, or a dialog's count), the query gets that select back first: preparing or refreshing
// the report never runs a dialog's statement again, and reads the sums as they are now.
class TPeriodSumsDataSet : public TfrxDBDataset {
public:
    using TfrxDBDataset::TfrxDBDataset;

    // Reads `source`, whose dataset is the sums query, and keeps the query's statement.
    void Bind(TDataSource *source);
    // Writes `lines` into the query and opens it; on success they are the select kept. The
    // engine's error passes and leaves the kept select as it was.
    void OpenSums(const QStringList &lines);

    void Open() override;

private:
    TADOQuery *query() const;

    QStringList sums_;
};

}  // namespace vornak
