#include "data/field_data_link.h"

#include "data/data_set.h"
#include "data/field.h"

namespace vornak {

void TFieldDataLink::SetFieldName(const QString &name)
{
    if (name == fieldName_)
        return;
    fieldName_ = name;
    UpdateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return Editing();
}

void TFieldDataLink::UpdateField()
{
    field_ = nullptr;
    if (Active() && !fieldName_.isEmpty())
        field_ = DataSet()->FieldByName(fieldName_);
    Reset();
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField *field)
{
    if (field && field != field_)
        return;
    if (OnDataChange)
        OnDataChange();
    modified_ = false;
}

// A refused text raises here and leaves Modified set, so the next attempt writes it again.
void TFieldDataLink::UpdateData()
{
    if (!modified_)
        return;
    if (field_ && OnUpdateData)
        OnUpdateData();
    modified_ = false;
}

}  // namespace vornak
