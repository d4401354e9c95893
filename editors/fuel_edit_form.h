#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TFuelEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TFuelEditForm(QWidget *parent = nullptr);

    // The dialog's operations, called by the main window's actions and double clicks.
    void NewRecord();
    void EditRecord();
    void DelRecord();
};

extern TFuelEditForm *FuelEditForm;
