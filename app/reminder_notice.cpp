#include "app/reminder_notice.h"

#include "data/data_module.h"
#include "grid/db_grid_eh.h"
#include "platform/errors.h"

#include <QStringList>

#include <cstdio>

namespace vornak::reminder_notice {

void markDueEvents(TDBGridEh &grid)
{
    grid.OnRowText = [](TDBGridEh *, QColor &text, QFont &font) {
        switch (DataModule1->QueryDocEventsDue()) {
        case reminders::Due::Overdue:
            text = QColor(Qt::darkRed);
            break;
        case reminders::Due::Soon:
            font.setBold(true);
            break;
        case reminders::Due::None:
            break;
        }
    };
}

QList<VehicleDue> vehiclesDue(const QList<reminders::DueEvent> &due)
{
    QList<VehicleDue> vehicles;
    for (qsizetype first = 0; first < due.size();) {
        int overdue = 0;
        int soon = 0;
        qsizetype next = first;
        for (; next < due.size() && due[next].vehicleId == due[first].vehicleId; ++next)
            (due[next].due == reminders::Due::Overdue ? overdue : soon) += 1;
        QStringList counts;
        if (overdue > 0)
            counts.append(QStringLiteral("%1 %2").arg(reminders::dueText(reminders::Due::Overdue)).arg(overdue));
        if (soon > 0)
            counts.append(QStringLiteral("%1 %2").arg(reminders::dueText(reminders::Due::Soon)).arg(soon));
        const QString name = due[first].vehicle.isEmpty() ? QStringLiteral("(без названия)") : due[first].vehicle;
        vehicles.append({due[first].vehicleId, name + QStringLiteral(": ") + counts.join(QStringLiteral(", "))});
        first = next;
    }
    return vehicles;
}

QList<VehicleDue> readVehiclesDue(Connection &connection, const QDate &today)
{
    try {
        return vehiclesDue(reminders::dueEvents(connection, today));
    } catch (const Error &error) {
        std::fprintf(stderr, "Reminders could not be read: %s\n", error.message().toLocal8Bit().constData());
        return {};
    }
}

}  // namespace vornak::reminder_notice
