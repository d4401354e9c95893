#pragma once

#include <QDialog>

// The settings dialog; it stores nothing.
class TSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TSettingsForm(QWidget *parent = nullptr);
};

extern TSettingsForm *SettingsForm;
