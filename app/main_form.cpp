#include "app/main_form.h"

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Мой ворнак"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    setFont(font);
    resize(559, 368);
}
