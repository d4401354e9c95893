#include "editors/auto_edit_form.h"

TAutoEditForm *AutoEditForm = nullptr;

TAutoEditForm::TAutoEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AutoEditForm"));
}

// Filled in with the record dialogs.
void TAutoEditForm::NewRecord() {}
void TAutoEditForm::EditRecord() {}
void TAutoEditForm::DelRecord() {}
