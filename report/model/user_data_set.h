#pragma once

#include "report/model/data_set.h"

#include <QStringList>

namespace vornak {

// A report data source without data of its own: its records are counted by RangeEnd and
// RangeEndCount or told by the host callbacks, its field names are listed in Fields. The engine
// creates one to repeat a data band RowCount times.
class TfrxUserDataSet : public TfrxDataSet {
public:
    using TfrxDataSet::TfrxDataSet;
    QString ClassName() const override { return QStringLiteral("TfrxUserDataSet"); }

    const QStringList &Fields() const { return fields_; }
    void SetFields(const QStringList &value) { fields_ = value; }

    // The value of a listed field, asked from the host; Null without OnGetValue.
    std::function<void(const QString &field, Variant &value)> OnGetValue;

    Variant Value(const QString &field) override;
    QString DisplayText(const QString &field) override;
    void GetFieldList(QStringList &list) override { list = fields_; }

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    QStringList fields_;
};

}  // namespace vornak
