#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace vornak {

// The settings dialog: one option, starting the program at log-on. It stores nothing; the
// check box keeps its state only while the process runs.
class TSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TSettingsForm(QWidget *parent = nullptr);

    QPushButton *Button1;
    QPushButton *Button2;
    QCheckBox *CheckStart;
};

extern TSettingsForm *SettingsForm;

}  // namespace vornak
