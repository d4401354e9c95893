#include "editors/type_expense_form.h"

TTYPE_EXPENSEForm *TYPE_EXPENSEForm = nullptr;

TTYPE_EXPENSEForm::TTYPE_EXPENSEForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TYPE_EXPENSEForm"));
}
