#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TAutoEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TAutoEditForm(QWidget *parent = nullptr);
};

extern TAutoEditForm *AutoEditForm;
