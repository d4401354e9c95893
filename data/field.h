#pragma once

#include "data/component.h"
#include "data/data_types.h"
#include "platform/database.h"
#include "platform/variant.h"

#include <functional>
#include <QString>

namespace vornak {

class TDataSet;

// One column of a dataset, or one value per record computed in OnCalcFields. A field reads and
// writes the dataset's current record buffer (inside OnCalcFields: the buffer being computed).
class TField : public TComponent {
public:
    using TFieldNotifyEvent = std::function<void(TField *)>;

    ~TField() override;

    QString FieldName;
    QString DisplayLabel;
    bool ReadOnly = false;
    TFieldKind FieldKind = fkData;
    int Size = 0;
    bool Visible = true;
    QString DisplayFormat;
    QString EditFormat;
    TFieldNotifyEvent OnChange;

    TDataSet *DataSet() const { return dataSet_; }
    // Position in the dataset's field list (and in each record buffer).
    int Index() const { return index_; }
    // The result column the field is bound to while the dataset is open; -1 otherwise.
    int ColumnIndex() const { return column_; }

    // The caption: DisplayLabel, or FieldName when the label is empty.
    QString DisplayName() const { return DisplayLabel.isEmpty() ? FieldName : DisplayLabel; }
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }

    // The name of the field's data type, as failure texts give it ("Integer", "WideString", ...).
    virtual QString DataTypeName() const = 0;
    // The engine column kind this field binds to.
    virtual bool AcceptsColumn(ColumnKind kind) const = 0;
    virtual bool CanBeCalculated() const { return true; }
    // Characters the field accepts from an edit box.
    virtual bool IsValidChar(QChar c) const { return true; }
    bool CanModify() const;

    Variant Value() const;
    bool IsNull() const { return Value().isNull(); }
    virtual QString AsString() const;
    virtual int AsInteger() const;
    virtual double AsFloat() const;
    virtual double AsDateTime() const;
    QString Text() const { return AsString(); }
    // Display and edit text are the same: no field of the system has a display or edit format.
    QString DisplayText() const { return AsString(); }

    void SetAsString(const QString &text);
    void SetAsInteger(int value);
    void SetAsFloat(double value);
    void SetAsDateTime(double value);
    void SetText(const QString &text) { SetAsString(text); }
    void Clear();

protected:
    explicit TField(TAlignment alignment)
        : alignment_(alignment)
    {
    }

    virtual int DefaultDisplayWidth() const { return 10; }
    // Conversions of assigned values into the value stored for this kind; may raise
    // ConversionError with the kind's text.
    virtual Variant FromText(const QString &text) const = 0;
    virtual Variant FromInteger(int value) const = 0;
    virtual Variant FromFloat(double value) const = 0;
    virtual Variant FromDateTime(double value) const = 0;

    [[noreturn]] void FailConversion(const QString &pattern, const QString &text) const;

private:
    friend class TDataSet;

    void CheckDataSet() const;
    void Assign(const std::function<Variant()> &convert);

    TDataSet *dataSet_ = nullptr;
    int index_ = -1;
    int column_ = -1;
    int displayWidth_ = 0;
    TAlignment alignment_ = taLeftJustify;
};

}  // namespace vornak
