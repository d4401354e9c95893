#pragma once

#include "platform/variant.h"

#include <QList>
#include <QString>

namespace vornak {

// What a script sees of an object of the report (a band, a text object, the report itself):
// its class name, its published properties and its methods. Properties and methods are found
// by name (ignoring case) once and then used by index, so a compiled script does not look
// names up again while it runs.
class ScriptObject {
public:
    ScriptObject() = default;
    ScriptObject(const ScriptObject &) {}  // a copy is another object: it has no handle yet
    ScriptObject &operator=(const ScriptObject &) { return *this; }
    virtual ~ScriptObject();

    virtual QString scriptClassName() const = 0;
    // True when the object is of that class or derives from it (names ignore case).
    virtual bool inheritsScriptClass(const QString &className) const;

    // The index of the property of that name, or -1.
    virtual int findScriptProperty(const QString &name) const;
    virtual Variant scriptProperty(int index) const;
    // Raises EngineError for a read-only property.
    virtual void setScriptProperty(int index, const Variant &value);
    // A property that holds an object (a font, a child object); nullptr for a plain value.
    virtual ScriptObject *scriptObjectProperty(int index) const;

    // The index of the method of that name, or -1.
    virtual int findScriptMethod(const QString &name) const;
    virtual Variant callScriptMethod(int index, const QList<Variant> &arguments);

private:
    friend Variant scriptObjectValue(ScriptObject *object);
    qint64 handle_ = 0;  // 0 until the object is first carried as a value
};

// An object carried as a value (the value of an object's name, of "Self", an argument such as
// SUM's band). The value type has no kind for objects, so an object travels as a 64-bit
// integer handle from a table of live objects: the handle is given when the object is first
// carried and dropped when it is freed, so a handle never outlives its object. Handles start at
// a high base no count or amount reaches.
Variant scriptObjectValue(ScriptObject *object);     // Null for nullptr
ScriptObject *scriptObjectOf(const Variant &value);  // nullptr when the value is no live object

}  // namespace vornak
