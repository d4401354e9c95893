#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TFuelEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TFuelEditForm(QWidget *parent = nullptr);
};

extern TFuelEditForm *FuelEditForm;
