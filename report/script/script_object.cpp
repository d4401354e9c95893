#include "report/script/script_object.h"

#include "platform/errors.h"
#include "report/script/report_text.h"

#include <QHash>

namespace vornak {

namespace {

constexpr qint64 firstHandle = Q_INT64_C(0x5C00000000000000);

struct ObjectHandles {
    qint64 next = firstHandle;
    QHash<qint64, ScriptObject *> live;
};

ObjectHandles &handles()
{
    static ObjectHandles table;
    return table;
}

}  // namespace

ScriptObject::~ScriptObject()
{
    if (handle_ != 0)
        handles().live.remove(handle_);
}

Variant scriptObjectValue(ScriptObject *object)
{
    if (!object)
        return Variant();
    if (object->handle_ == 0) {
        ObjectHandles &table = handles();
        object->handle_ = table.next++;
        table.live.insert(object->handle_, object);
    }
    return Variant(object->handle_);
}

ScriptObject *scriptObjectOf(const Variant &value)
{
    if (value.type() != Variant::Type::Int64 || value.toInt64() < firstHandle)
        return nullptr;
    return handles().live.value(value.toInt64());
}

bool ScriptObject::inheritsScriptClass(const QString &className) const
{
    return className.compare(scriptClassName(), Qt::CaseInsensitive) == 0;
}

int ScriptObject::findScriptProperty(const QString &) const
{
    return -1;
}

Variant ScriptObject::scriptProperty(int) const
{
    throw EngineError(reportText("undeclaredIdentifier").arg(QString()));
}

void ScriptObject::setScriptProperty(int, const Variant &)
{
    throw EngineError(reportText("notAssignable"));
}

ScriptObject *ScriptObject::scriptObjectProperty(int) const
{
    return nullptr;
}

int ScriptObject::findScriptMethod(const QString &) const
{
    return -1;
}

Variant ScriptObject::callScriptMethod(int, const QList<Variant> &)
{
    throw EngineError(reportText("undeclaredIdentifier").arg(QString()));
}

}  // namespace vornak
