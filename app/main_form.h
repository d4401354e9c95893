#pragma once

#include <QWidget>

// The main window: the vehicle selector and the six tabs.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
};

extern TMainForm *MainForm;
