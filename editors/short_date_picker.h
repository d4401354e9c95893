#pragma once

class QDateEdit;
class QWidget;

namespace vornak {

// A date picker showing the date in the regional short date format, with a drop-down calendar.
namespace short_date_picker {

QDateEdit *create(QWidget *parent);

}  // namespace short_date_picker

}  // namespace vornak
