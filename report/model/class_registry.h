#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vornak {

class TfrxComponent;

// The report classes by name: each class with its base class (the one place the inheritance of
// the report classes is written down) and, for a class that can be created, how to create it.
// The model registers its own classes; a folder below it registers its classes itself (the
// report data sources register from report/sources). Templates and the prepared pages store
// create objects through here.
using TfrxComponentFactory = std::function<TfrxComponent *(TfrxComponent *parent)>;

struct TfrxClassInfo {
    QString name;
    QString parentName;           // empty at the root
    TfrxComponentFactory create;  // empty for a class that is only a base
    bool engineOnly = false;      // created by the engine only, never read from a template
};

// Adds a class; a second registration of a name replaces the first. Returns true, so that a
// registration can initialise a constant at namespace scope.
bool frxRegisterClass(TfrxClassInfo info);
// The class of that name (exact case), or nullptr.
const TfrxClassInfo *frxFindClass(const QString &className);
// Creates a report object of the named class as the last child of `parent` (which owns it);
// nullptr for a class name that is unknown or cannot be created.
TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent);
// The classes that can be created, in registration order.
QStringList frxRegisteredClasses();
// The base class of a report class ("TfrxMemoView" -> "TfrxCustomMemoView"); empty at the root.
QString frxParentClassName(const QString &className);

}  // namespace vornak
