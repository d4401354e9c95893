#include "app/settings_form.h"

TSettingsForm *SettingsForm = nullptr;

TSettingsForm::TSettingsForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsForm"));
}
