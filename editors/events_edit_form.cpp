#include "editors/events_edit_form.h"

TEventsEditForm *EventsEditForm = nullptr;

TEventsEditForm::TEventsEditForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("EventsEditForm"));
}

// Filled in with the record dialogs.
void TEventsEditForm::NewRecord() {}
void TEventsEditForm::EditRecord() {}
void TEventsEditForm::DelRecord() {}
