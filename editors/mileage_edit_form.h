#pragma once

#include "editors/record_dialog.h"

class QDateEdit;
class QLabel;
class QLineEdit;

namespace vornak {

// Odometer readings of the current vehicle: the date and the total reading, with the distance
// driven since the previous reading proposed while the total is typed. Created hidden at
// start-up and only ever shown modally.
class TMileageEditForm : public TRecordDialog {
    Q_OBJECT
public:
    explicit TMileageEditForm(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QDateEdit *DateTimePicker1;
    QLineEdit *EditObsh;  // total reading
    QLineEdit *Edit2;     // daily distance

    // The dialog's operations, called by the main window's actions and double clicks.
    void NewRecord();
    void EditRecord();
    void DelRecord();

    // The daily distance proposal, after every key release in EditObsh.
    void EditObshKeyUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The scratch query on one aggregate over the current vehicle's other readings.
    void openAggregate(const QString &selectLine, const QString &vehicleId);

    // The `id` of the reading being edited; empty while a new reading is entered.
    QString editedId_;
};

extern TMileageEditForm *MileageEditForm;

}  // namespace vornak
