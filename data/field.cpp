#include "data/field.h"

#include "data/data_set.h"
#include "data/data_set_text.h"
#include "platform/errors.h"

namespace vornak {

namespace {

bool acceptsValues(TDataSetState state)
{
    switch (state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
        return true;
    default:
        return false;
    }
}

// States in which an assignment is not announced.
bool announcesChange(TDataSetState state)
{
    return state != dsCalcFields && state != dsFilter && state != dsNewValue && state != dsInternalCalc;
}

}  // namespace

TField::~TField() = default;

void TField::CheckDataSet() const
{
    if (!dataSet_)
        throw DatabaseError(dataSetText("fieldWithoutDataSet").arg(DisplayName()));
}

bool TField::CanModify() const
{
    return !ReadOnly && FieldKind == fkData && dataSet_ && dataSet_->CanModify();
}

Variant TField::Value() const
{
    CheckDataSet();
    const QList<Variant> *values = dataSet_->CurrentValues();
    if (!values || index_ < 0 || index_ >= values->size())
        return {};
    return values->at(index_);
}

QString TField::AsString() const
{
    return Value().toString();
}

int TField::AsInteger() const
{
    return Value().toInt();
}

double TField::AsFloat() const
{
    return Value().toDouble();
}

double TField::AsDateTime() const
{
    return Value().toDateTime();
}

void TField::Assign(const std::function<Variant()> &convert)
{
    CheckDataSet();
    TDataSet *dataSet = dataSet_;
    const TDataSetState state = dataSet->State();
    if (!acceptsValues(state))
        dataSet->Fail(dataSetText("notEditing"));
    if (FieldKind == fkData && ReadOnly && state != dsSetKey && state != dsFilter)
        throw DatabaseError(dataSetText("fieldReadOnly").arg(DisplayName()));
    Variant value = convert();
    QList<Variant> *values = dataSet->CurrentValues();
    if (!values || index_ >= values->size())
        dataSet->Fail(dataSetText("notEditing"));
    (*values)[index_] = std::move(value);
    if (FieldKind == fkData)
        dataSet->NoteModified(this);
    if (announcesChange(state))
        dataSet->DataEvent(deFieldChange, this);
}

void TField::SetAsString(const QString &text)
{
    Assign([&] { return FromText(text); });
}

void TField::SetAsInteger(int value)
{
    Assign([&] { return FromInteger(value); });
}

void TField::SetAsFloat(double value)
{
    Assign([&] { return FromFloat(value); });
}

void TField::SetAsDateTime(double value)
{
    Assign([&] { return FromDateTime(value); });
}

void TField::Clear()
{
    Assign([] { return Variant(); });
}

void TField::FailConversion(const QString &pattern, const QString &text) const
{
    throw ConversionError(pattern.arg(text, DisplayName()));
}

}  // namespace vornak
