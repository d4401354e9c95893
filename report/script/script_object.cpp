#include "report/script/script_object.h"

#include "platform/errors.h"

namespace vornak {

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
    throw EngineError(QStringLiteral("Неопределенный идентификатор"));
}

void ScriptObject::setScriptProperty(int, const Variant &)
{
    throw EngineError(QStringLiteral("Левая часть выражения не может быть присвоена"));
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
    throw EngineError(QStringLiteral("Неопределенный идентификатор"));
}

} // namespace vornak
