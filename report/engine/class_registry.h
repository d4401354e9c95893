#pragma once

#include <QString>
#include <QStringList>

namespace vornak {

class TfrxComponent;

// Creates a report object of the named class as the last child of `parent` (which owns it);
// nullptr for a class name that is not registered.
TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent);
QStringList frxRegisteredClasses();
// The base class of a report class ("TfrxMemoView" -> "TfrxCustomMemoView"); empty at the root.
QString frxParentClassName(const QString &className);

} // namespace vornak
