#pragma once

#include "report/model/data_set.h"

#include <QStringList>

namespace vornak {

class TDataSet;
class TField;

// A report data source over a dataset of the data layer: the field list, aliases, values and
// display texts. The dataset is given by the descendant (GetDataSet).
class TfrxCustomDBDataSet : public TfrxDataSet {
public:
    using TfrxDataSet::TfrxDataSet;
    QString ClassName() const override { return QStringLiteral("TfrxCustomDBDataSet"); }

    bool CloseDataSource() const { return closeDataSource_; }
    void SetCloseDataSource(bool value) { closeDataSource_ = value; }
    bool OpenDataSource() const { return openDataSource_; }
    void SetOpenDataSource(bool value) { openDataSource_ = value; }
    // Lines "field=alias"; when not empty the report sees only the aliases (a field name that
    // starts with "-" is hidden).
    const QStringList &FieldAliases() const { return fieldAliases_; }
    void SetFieldAliases(const QStringList &value) { fieldAliases_ = value; }

    std::function<void(TfrxDataSet &)> OnOpen;
    std::function<void(TfrxDataSet &)> OnClose;

    // The dataset read, or nullptr.
    virtual TDataSet *GetDataSet() const = 0;

    QString DisplayText(const QString &field) override;
    int DisplayWidth(const QString &field) override;
    TfrxFieldType FieldType(const QString &field) override;
    Variant Value(const QString &field) override;
    bool IsBlobField(const QString &field) override;
    void AssignBlobTo(const QString &field, QStringList &target) override;
    void AssignBlobTo(const QString &field, QIODevice &target) override;
    void GetFieldList(QStringList &list) override;
    int RecordCount() override;

    // The field of the dataset a visible field name (or alias) stands for; nullptr when none.
    // Before the field list is built, an alias is translated to its field name.
    TField *FieldOf(const QString &name);
    // The field name an alias stands for (the name itself when it is no alias).
    QString FieldNameOf(const QString &name) const;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

protected:
    // Whether exact-decimal field values are handed out as currency (otherwise as floats).
    virtual bool BcdAsCurrency() const { return false; }
    // Fills the field list from GetFieldList and pairs each name with the dataset's field.
    void BuildFieldList();
    // The index of `name` in the field list (ignoring case), or -1.
    int IndexOfField(const QString &name) const;
    // Adds "<current object>: <text>" to the error list of the running report.
    void ReportError(const QString &text) const;
    QString NotFoundText(const QString &field) const;

    struct FieldEntry {
        QString name;
        TField *field = nullptr;
    };
    QList<FieldEntry> fields_;  // sorted by name, ignoring case

private:
    bool closeDataSource_ = false;
    bool openDataSource_ = true;
    QStringList fieldAliases_;
};

}  // namespace vornak
