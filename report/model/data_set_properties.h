#pragma once

// The stored data binding (DataSet, DataSetName) of the classes that have one.

#include "report/model/data_set.h"
#include "report/model/property_builder.h"

namespace vornak {

template <class C>
TfrxPropertyList frxDataSetProperties()
{
    TfrxPropertyInfo dataSet = PropertyBuilder<C>::Reference(
        QStringLiteral("DataSet"), [](const C &o) { return o.DataSet() ? o.DataSet()->Name() : QString(); },
        [](C &o, const QString &name, const TfrxReferenceResolver &resolver) {
            if (name.isEmpty())
                o.SetDataSet(nullptr);
            else if (TfrxDataSet *found = resolver.FindDataSet(name))
                o.SetDataSet(found);
        });
    TfrxPropertyInfo dataSetName = PropertyBuilder<C>::Text(
        QStringLiteral("DataSetName"), [](const C &o) { return o.DataSetName(); },
        [](C &o, QString v) { o.SetDataSetName(v); });
    return {dataSet, dataSetName};
}

}  // namespace vornak
