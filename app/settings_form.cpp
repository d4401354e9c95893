#include "app/settings_form.h"

#include "editors/form_controls.h"
#include "platform/message_box.h"

#include <QCheckBox>
#include <QPushButton>

namespace vornak {

TSettingsForm *SettingsForm = nullptr;

TSettingsForm::TSettingsForm(QWidget *parent)
    : QDialog(parent)
{
    form_controls::setUpDialog(this, "SettingsForm", 253, 91);
    setWindowTitle(QStringLiteral("Настройки программы"));

    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(5, 50, 113, 33);
    Button2 = new QPushButton(QStringLiteral("Отменить"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(124, 50, 113, 33);
    CheckStart = new QCheckBox(QStringLiteral("Загрузка при входе в систему"), this);
    CheckStart->setObjectName(QStringLiteral("CheckStart"));
    CheckStart->setGeometry(5, 8, 236, 33);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, CheckStart);
    connect(Button1, &QPushButton::clicked, this, [this] { done(int(ModalResult::Ok)); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(int(ModalResult::Cancel)); });
}

}  // namespace vornak
