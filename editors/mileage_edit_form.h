#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TMileageEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TMileageEditForm(QWidget *parent = nullptr);
};

extern TMileageEditForm *MileageEditForm;
