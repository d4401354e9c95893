#include "editors/auto_edit_form.h"

TAutoEditForm *AutoEditForm = nullptr;

TAutoEditForm::TAutoEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AutoEditForm"));
}
