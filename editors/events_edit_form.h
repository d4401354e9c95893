#pragma once

#include "editors/record_dialog.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace vornak {

// Maintenance events of the current vehicle: due date or mileage, status, reminder kind and a
// description. A new event's statement is also written to "ADOQuery1.txt". Created hidden at
// start-up and only ever shown modally.
class TEventsEditForm : public TRecordDialog {
    Q_OBJECT
public:
    explicit TEventsEditForm(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label5;
    QLabel *Label3;
    QLabel *Label4;
    QDateEdit *DateTimePicker1;
    QComboBox *ComboBoxShowType;  // idtype: the item index
    QComboBox *ComboBoxStatus;    // ENDE: the item index
    QLineEdit *EditMileAge;
    QLineEdit *EditOpisanie;

    // The dialog's operations, called by the main window's actions and double clicks.
    void NewRecord();
    void EditRecord();
    void DelRecord();

protected:
    void beforeSave() override;
    bool prepareSave() override;

private:
    bool editing_ = false;
};

extern TEventsEditForm *EventsEditForm;

}  // namespace vornak
