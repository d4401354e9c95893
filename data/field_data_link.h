#pragma once

#include "data/data_link.h"

#include <functional>
#include <QString>

namespace vornak {

class TField;

// The data link of a control bound to one field: it resolves the field by name whenever the
// data source becomes active, remembers whether the control holds text not yet written to the
// field (Modified), and calls the control back on the protocol's notifications.
class TFieldDataLink : public TDataLink {
public:
    using TNotify = std::function<void()>;

    TFieldDataLink()
        : TDataLink(true)
    {
    }

    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString &name);
    // The bound field, or nothing while the link is inactive or has no field name.
    TField *Field() const { return field_; }

    // The control's text differs from the field and has not been written yet.
    bool Modified() const { return modified_; }
    void SetModified() { modified_ = true; }
    // Not read-only, a field bound, the field modifiable and the dataset updatable.
    bool CanModify() const;
    // Puts the dataset into edit state through the data source when the field can be
    // modified; true when the link is editing afterwards.
    bool Edit();
    // Reloads the control from the field and forgets pending text.
    void Reset() { RecordChanged(nullptr); }

    // Callbacks to the owning control.
    TNotify OnDataChange;     // reload the control's text from the field
    TNotify OnEditingChange;  // the link started or stopped editing
    TNotify OnUpdateData;     // write the control's text into the field
    TNotify OnActiveChange;   // the data source became active or inactive

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;
    void UpdateData() override;

private:
    void UpdateField();

    QString fieldName_;
    TField *field_ = nullptr;
    bool modified_ = false;
};

}  // namespace vornak
