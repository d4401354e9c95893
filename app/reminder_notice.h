#pragma once

#include "data/reminders.h"

#include <QDate>
#include <QList>
#include <QString>

namespace vornak {

class Connection;
class TDBGridEh;

// Reminders in the main window. The events list draws the text of an overdue event in dark red
// and that of an event due soon in bold (the rule is the data module's). After start-up the
// notice strip names every vehicle with due events and how many; each name leads to the
// vehicle's events.
namespace reminder_notice {

// Has `grid` (the events list, on the data module's event list) mark the due events.
void markDueEvents(TDBGridEh &grid);

// The heading of the notice.
inline const QString heading = QStringLiteral("Пора заняться обслуживанием:");

// A vehicle with due events as the notice names it: "Лада: просрочено 1, скоро 2".
struct VehicleDue {
    qint64 vehicleId = 0;
    QString text;
};

// Each vehicle of the due events once, in their order.
QList<VehicleDue> vehiclesDue(const QList<reminders::DueEvent> &due);

// The vehicles with events due on `today`, read from the log book. When they cannot be read the
// notice names none: one line on standard error says why, and the program goes on.
QList<VehicleDue> readVehiclesDue(Connection &connection, const QDate &today);

}  // namespace reminder_notice
}  // namespace vornak
