#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vornak {

class TfrxComponent;

// Creates a report object of the named class as the last child of `parent` (which owns it);
// nullptr for a class name that is not registered.
TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent);
QStringList frxRegisteredClasses();
// Adds a creatable class (a folder below the model registers its own classes this way).
bool frxRegisterClass(const char *className, std::function<TfrxComponent *(TfrxComponent *)> create);
// The base class of a report class ("TfrxMemoView" -> "TfrxCustomMemoView"); empty at the root.
QString frxParentClassName(const QString &className);

} // namespace vornak
