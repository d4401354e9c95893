#include "data/reminders.h"

#include "platform/database.h"
#include "platform/date_time.h"

#include <QHash>

namespace vornak::reminders {

namespace {

// The vehicles with what their highest reading is made of.
const QString vehicleReadings =
    QStringLiteral("select SPR_AUTO.id, SPR_AUTO.nameauto, SPR_AUTO.beginkm, "
                   "(select Max(DOC_MILEAGE.tekprobeg) from DOC_MILEAGE where DOC_MILEAGE.idauto = SPR_AUTO.id) as top "
                   "from SPR_AUTO order by SPR_AUTO.id");
const QString plannedEvents =
    QStringLiteral("select idauto, idtype, ENDE, datedoc, mileage, opisanie from DOC_EVENTS order by datedoc, id");

std::optional<qint64> number(const Variant &value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toInt64());
}

std::optional<QDate> day(const Variant &value)
{
    if (value.isNull())
        return std::nullopt;
    return date_time::datePart(value.toDouble());
}

struct Vehicle {
    QString name;
    std::optional<qint64> highest;
};

}  // namespace

Due due(const PlannedEvent &event, const QDate &today, std::optional<qint64> highestReading, const Limits &limits)
{
    if (event.status != inProgress)
        return Due::None;
    if (event.kind == byDate && event.date) {
        const qint64 daysLeft = today.daysTo(*event.date);
        if (daysLeft < 0)
            return Due::Overdue;
        return daysLeft <= limits.days ? Due::Soon : Due::None;
    }
    if (event.kind == byMileage && event.mileage && highestReading) {
        const qint64 kmLeft = *event.mileage - *highestReading;
        if (kmLeft <= 0)
            return Due::Overdue;
        return kmLeft <= limits.km ? Due::Soon : Due::None;
    }
    return Due::None;
}

QString dueText(Due due)
{
    switch (due) {
    case Due::Overdue:
        return QStringLiteral("просрочено");
    case Due::Soon:
        return QStringLiteral("скоро");
    case Due::None:
        break;
    }
    return {};
}

std::optional<qint64> highestReading(const std::optional<qint64> &highestEntry, const std::optional<qint64> &beginKm)
{
    if (highestEntry && beginKm)
        return std::max(*highestEntry, *beginKm);
    return highestEntry ? highestEntry : beginKm;
}

QList<DueEvent> dueEvents(Connection &connection, const QDate &today, const Limits &limits)
{
    QHash<qint64, Vehicle> vehicles;
    QList<qint64> vehicleOrder;
    const auto readings = connection.query(vehicleReadings);
    for (qsizetype row = 0; row < readings->rowCount(); ++row) {
        const qint64 id = readings->value(row, 0).toInt64();
        vehicles.insert(id, {readings->value(row, 1).toString(),
                             highestReading(number(readings->value(row, 3)), number(readings->value(row, 2)))});
        vehicleOrder.append(id);
    }

    QHash<qint64, QList<DueEvent>> byVehicle;
    const auto events = connection.query(plannedEvents);
    for (qsizetype row = 0; row < events->rowCount(); ++row) {
        const qint64 vehicleId = events->value(row, 0).toInt64();
        const auto vehicle = vehicles.constFind(vehicleId);
        if (vehicle == vehicles.constEnd())
            continue;  // an event of no vehicle is shown nowhere
        const PlannedEvent event{events->value(row, 1).toInt(), events->value(row, 2).toInt(),
                                 day(events->value(row, 3)), number(events->value(row, 4))};
        const Due state = due(event, today, vehicle->highest, limits);
        if (state != Due::None)
            byVehicle[vehicleId].append({vehicleId, vehicle->name, event, events->value(row, 5).toString(), state});
    }
    QList<DueEvent> due;
    for (qint64 id : vehicleOrder)
        due += byVehicle.value(id);
    return due;
}

std::optional<qint64> vehicleHighestReading(Connection &connection, qint64 vehicleId)
{
    const auto result = connection.query(
        QStringLiteral("select (select Max(DOC_MILEAGE.tekprobeg) from DOC_MILEAGE where DOC_MILEAGE.idauto = %1) "
                       "as top, beginkm from SPR_AUTO where id = %1")
            .arg(vehicleId));
    if (result->rowCount() == 0)
        return std::nullopt;
    return highestReading(number(result->value(0, 0)), number(result->value(0, 1)));
}

}  // namespace vornak::reminders
