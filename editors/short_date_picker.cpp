#include "editors/short_date_picker.h"

#include "platform/regional_settings.h"

#include <QDateEdit>

namespace vornak {

namespace short_date_picker {

QDateEdit *create(QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(RegionalSettings::current().shortDateFormat);
    picker->setMinimumDate(QDate(1753, 1, 1));  // the zero date 30.12.1899 stays reachable
    return picker;
}

}  // namespace short_date_picker

}  // namespace vornak
