#include "editors/mileage_edit_form.h"

TMileageEditForm *MileageEditForm = nullptr;

TMileageEditForm::TMileageEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MileageEditForm"));
}

// Filled in with the record dialogs.
void TMileageEditForm::NewRecord() {}
void TMileageEditForm::EditRecord() {}
void TMileageEditForm::DelRecord() {}
