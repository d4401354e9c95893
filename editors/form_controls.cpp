#include "editors/form_controls.h"

#include "editors/short_date_picker.h"
#include "platform/fonts.h"

#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace vornak {

namespace form_controls {

void setUpDialog(QDialog *dialog, const char *name, int width, int height)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(width, height);
    dialog->setFont(windowFont());
}

QLabel *label(const QString &text, QPoint position, QWidget *parent, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(position);
    label->adjustSize();
    return label;
}

QPushButton *button(const QString &text, const QRect &geometry, QWidget *parent, const char *name)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QDateEdit *datePicker(const QRect &geometry, QWidget *parent, const char *name)
{
    QDateEdit *picker = short_date_picker::create(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setGeometry(geometry);
    return picker;
}

} // namespace form_controls

} // namespace vornak
