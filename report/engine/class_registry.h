#pragma once

#include <QString>
#include <QStringList>

namespace vornak {

class TfrxComponent;

// Creates a report object of the named class as the last child of `parent` (which owns it);
// nullptr for a class name that is not registered.
TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent);
QStringList frxRegisteredClasses();

} // namespace vornak
