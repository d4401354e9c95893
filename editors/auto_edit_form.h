#pragma once

#include <QDialog>
#include <QString>

class QDateEdit;
class QLabel;
class QPushButton;

namespace vornak {

class TDBEdit;

// The vehicle dialog. It edits the current record of the vehicles table in place: the name and
// the starting mileage through bound edit boxes, the starting date through the picker. Created
// hidden at start-up (after the data module) and only ever shown modally.
class TAutoEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TAutoEditForm(QWidget *parent = nullptr);

    // The dialog's operations, called by the main window's actions and double clicks.
    void NewRecord();
    void EditRecord();
    void DelRecord();

    // The picker's change handler: the picker's value goes into begindate.
    void DateTimePicker1Change();

    // The refusal shown when a vehicle with entries is to be deleted.
    static void showDeleteRefusal();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Button1;
    QPushButton *Button2;
    TDBEdit *DBEdit1;
    TDBEdit *DBEdit2;
    QDateEdit *DateTimePicker1;

private:
    enum class Operation { Insert, Edit };

    void setPicker(double dateTime);
    // Shows the dialog until the record is saved or the user cancels.
    void showAndSave();
    // Writes the pending texts and posts (for an edit only when something changed); a refusal
    // is shown and leaves the record as it is. True when the record is saved.
    bool trySave();
    void Button1Click();

    Operation operation_ = Operation::Insert;
    double pickerTime_ = 0;  // the time of day the picker holds besides its date
};

extern TAutoEditForm *AutoEditForm;

}  // namespace vornak
