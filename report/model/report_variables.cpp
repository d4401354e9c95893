#include "report/model/report_variables.h"

namespace vornak {

int TfrxVariables::IndexOf(const QString &name) const
{
    for (int i = 0; i < items_.size(); ++i)
        if (items_.at(i).Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TfrxVariables::SetVariable(const QString &name, const Variant &value)
{
    const int index = IndexOf(name);
    if (index >= 0)
        items_[index].Value = value;
    else
        items_.append({name, value});
}

Variant TfrxVariables::Value(const QString &name) const
{
    const int index = IndexOf(name);
    return index >= 0 ? items_.at(index).Value : Variant();
}

}  // namespace vornak
