#include "editors/fuel_edit_form.h"

TFuelEditForm *FuelEditForm = nullptr;

TFuelEditForm::TFuelEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FuelEditForm"));
}

// Filled in with the record dialogs.
void TFuelEditForm::NewRecord() {}
void TFuelEditForm::EditRecord() {}
void TFuelEditForm::DelRecord() {}
