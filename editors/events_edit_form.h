#pragma once

#include <QDialog>

// The dialog is created hidden at start-up and only ever shown modally.
class TEventsEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TEventsEditForm(QWidget *parent = nullptr);
};

extern TEventsEditForm *EventsEditForm;
