#include "editors/fuel_edit_form.h"

TFuelEditForm *FuelEditForm = nullptr;

TFuelEditForm::TFuelEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FuelEditForm"));
}
