#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace vornak {

class Connection;

// When a planned maintenance event is due. An event in progress is planned by date or by mileage
// (its reminder kind); it is overdue once its date has passed or the vehicle's highest odometer
// reading has reached its mileage, and due soon within the next days or kilometres of the
// limits. A finished event, or one whose date or mileage is empty, is never due. The events
// list's drawing, the notice after start-up and `vornak-db reminders` all ask here.
namespace reminders {

enum class Due { None, Soon, Overdue };

struct Limits {
    int days = 14;  // a date this many days ahead (or fewer) is due soon
    int km = 1000;  // a mileage this many kilometres above the highest reading (or fewer) is due soon
};

// An event as its row holds it: the codes of DOC_EVENTS (an empty code reads as 0).
struct PlannedEvent {
    int kind = 0;    // idtype: 0 by date, 1 by mileage
    int status = 0;  // ENDE: 0 in progress, 1 finished
    std::optional<QDate> date;
    std::optional<qint64> mileage;
};

inline constexpr int byDate = 0;
inline constexpr int byMileage = 1;
inline constexpr int inProgress = 0;

// `highestReading` is the vehicle's highest odometer reading, empty when nothing is known of it
// (an event by mileage is then not due).
Due due(const PlannedEvent &event, const QDate &today, std::optional<qint64> highestReading, const Limits &limits = {});

// "просрочено" or "скоро"; empty for an event that is not due.
QString dueText(Due due);

// The highest odometer reading of a vehicle: its highest mileage entry, or the reading at which
// its records began when that is higher; empty when neither is known.
std::optional<qint64> highestReading(const std::optional<qint64> &highestEntry, const std::optional<qint64> &beginKm);

// A due event of some vehicle, for the notice and the command line.
struct DueEvent {
    qint64 vehicleId = 0;
    QString vehicle;  // its name
    PlannedEvent event;
    QString description;
    Due due = Due::None;
};

// Every due event of every vehicle in the log book, by vehicle (in key order), then in the
// events' date order. Raises DatabaseError.
QList<DueEvent> dueEvents(Connection &connection, const QDate &today, const Limits &limits = {});

// The highest odometer reading of the vehicle `vehicleId`. Raises DatabaseError.
std::optional<qint64> vehicleHighestReading(Connection &connection, qint64 vehicleId);

}  // namespace reminders
}  // namespace vornak
