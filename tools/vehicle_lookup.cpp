// The command line's choice of a vehicle by its key or its name.
#include "tools/vehicle_lookup.h"

#include "data/data_module.h"
#include "platform/errors.h"

#include <QScopeGuard>

namespace vornak::log_book {

void selectVehicle(TDataModule1 &dataModule, const QString &nameOrKey)
{
    TADOTable &vehicles = *dataModule.TableSprAuto;
    // One walk with the lists held still notes the record of the key and those of the name; the
    // cursor then moves once onto the one chosen, and the lists follow it.
    int byKey = -1;
    QList<int> byName;
    vehicles.DisableControls();
    {
        const auto enable = qScopeGuard([&vehicles] { vehicles.EnableControls(); });
        for (vehicles.First(); !vehicles.Eof(); vehicles.Next()) {
            if (dataModule.TableSprAutoid->AsString() == nameOrKey)
                byKey = vehicles.RecNo();
            if (dataModule.TableSprAutonameauto->AsString() == nameOrKey)
                byName.append(vehicles.RecNo());
        }
    }
    if (byKey < 0 && byName.size() > 1)
        throw Error(QStringLiteral("%1 vehicles are named '%2': give the vehicle's number instead.")
                        .arg(byName.size())
                        .arg(nameOrKey));
    const int chosen = byKey >= 0 ? byKey : byName.value(0, -1);
    if (chosen < 0)
        throw Error(QStringLiteral("No vehicle is named or numbered '%1'.").arg(nameOrKey));
    vehicles.First();
    vehicles.MoveBy(chosen - 1);
}

}  // namespace vornak::log_book
