#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TTYPE_EXPENSEForm : public QDialog {
    Q_OBJECT
public:
    explicit TTYPE_EXPENSEForm(QWidget *parent = nullptr);
};

extern TTYPE_EXPENSEForm *TYPE_EXPENSEForm;
