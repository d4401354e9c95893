#include "report/model/user_data_set.h"

#include "report/model/property_builder.h"

namespace vornak {

Variant TfrxUserDataSet::Value(const QString &field)
{
    Variant value;
    if (OnGetValue)
        OnGetValue(field, value);
    return value;
}

QString TfrxUserDataSet::DisplayText(const QString &field)
{
    return Value(field).toString();
}

const TfrxPropertyList &TfrxUserDataSet::ClassProperties()
{
    using C = TfrxUserDataSet;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxDataSet::ClassProperties();
        l << PropertyBuilder<C>::Lines(
            QStringLiteral("Fields.Text"), [](const C &o) { return o.Fields(); },
            [](C &o, QStringList v) { o.SetFields(v); });
        return l;
    }();
    return list;
}

}  // namespace vornak
