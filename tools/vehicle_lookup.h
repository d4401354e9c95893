#pragma once

#include <QString>

namespace vornak {
class TDataModule1;
}

namespace vornak::log_book {

// Makes the vehicle named `nameOrKey` current in the data module: the one whose key is that
// number, else the one of that name; the lists follow it. The command line names vehicles so;
// the reminder notice opens a vehicle by its key. Raises Error when
// there is none, or when several share the name.
void selectVehicle(TDataModule1 &dataModule, const QString &nameOrKey);

}  // namespace vornak::log_book
