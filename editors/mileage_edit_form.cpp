#include "editors/mileage_edit_form.h"

TMileageEditForm *MileageEditForm = nullptr;

TMileageEditForm::TMileageEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MileageEditForm"));
}
