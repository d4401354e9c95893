#include "editors/form_controls.h"

#include "platform/regional_settings.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace form_controls {

QFont windowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    return font;
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
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setGeometry(geometry);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(vornak::RegionalSettings::current().shortDateFormat);
    picker->setMinimumDate(QDate(1753, 1, 1)); // the zero date 30.12.1899 stays reachable
    return picker;
}

} // namespace form_controls
