#include "report/expr/data_reference.h"

#include "report/model/report.h"

namespace vornak {

DatasetAndField GetDatasetAndField(const TfrxReport &report, const QString &name)
{
    const qsizetype dot = name.indexOf(QStringLiteral(".\""));
    if (dot < 0)
        return {};
    return {report.GetDataset(name.left(dot)), name.mid(dot + 2, name.size() - dot - 3)};
}

bool isDataReference(const TfrxReport &report, const QString &text)
{
    return GetDatasetAndField(report, text).dataSet != nullptr;
}

}  // namespace vornak
