#pragma once

#include "editors/record_dialog.h"

#include <QLineEdit>

class QDateEdit;
class QLabel;
class QPushButton;

namespace vornak {

// An edit box with an integer tag beside its text.
class TTagEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    int Tag = 0;
};

// Money spent on the current vehicle: date, expense type (picked from the catalogue), quantity,
// amount and description. Created hidden at start-up and only ever shown modally.
class TFuelEditForm : public TRecordDialog {
    Q_OBJECT
public:
    explicit TFuelEditForm(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label3;
    QLabel *Label2;
    QLabel *Label4;
    QDateEdit *DateTimePicker1;
    TTagEdit *Edit1;  // the chosen type: its name as text, its key as tag
    QPushButton *BitBtn1;
    QLineEdit *EditKolvo;
    QLineEdit *EditSumma;
    QLineEdit *EditOpisanie;

    // The dialog's operations, called by the main window's actions and double clicks.
    void NewRecord();
    void EditRecord();
    void DelRecord();

    // Picks the type from the catalogue.
    void BitBtn1Click();

protected:
    void beforeSave() override;

private:
    bool editing_ = false;
};

extern TFuelEditForm *FuelEditForm;

}  // namespace vornak
