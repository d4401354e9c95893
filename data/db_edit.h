#pragma once

#include "data/field_data_link.h"

#include <QLineEdit>

namespace vornak {

class TDataSource;
class TField;

// A single-line edit box bound to one field of a data source. Typing puts the dataset into edit
// state (through the data source's AutoEdit) and changes only the box; the text is written into
// the field when the box is left or the record is posted. Characters the field refuses are
// dropped with a beep; Esc restores the field's text.
class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

    TDataSource *DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource *source) { link_.SetDataSource(source); }
    QString DataField() const { return link_.FieldName(); }
    void SetDataField(const QString &name) { link_.SetFieldName(name); }
    TField *Field() const { return link_.Field(); }
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool readOnly) { link_.SetReadOnly(readOnly); }
    // 0 means not set: a text field then limits the box to its Size.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    TFieldDataLink &DataLink() { return link_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    void DataChange();
    void UpdateData();
    void UpdateMaxLength();
    void TextEdited();
    // Keys that change the text: true when the box may change it (the link is editing).
    bool AskToEdit();
    bool CanShowEditText() const;

    TFieldDataLink link_;
    int maxLength_ = 0;
};

}  // namespace vornak
