#include "report/script/script_items.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script_code.h"
#include "report/script/script_object.h"

#include <QVarLengthArray>

#include <cstdlib>

namespace vornak {

namespace {

// Calls of script procedures nest on the machine stack: deeper recursion, or recursion that
// has used up the stack budget measured from the outermost call, fails cleanly.
constexpr int maxCallDepth = 1000;
constexpr std::ptrdiff_t stackBudget = 2 * 1024 * 1024;
thread_local int callDepth = 0;
thread_local const char *outermostFrame = nullptr;

struct CallDepthGuard {
    CallDepthGuard()
    {
        const char here = 0;
        if (callDepth == 0)
            outermostFrame = &here;
        if (callDepth >= maxCallDepth || std::abs(outermostFrame - &here) > stackBudget)
            throw EngineError(script::recursionTooDeepMessage());
        ++callDepth;
    }
    ~CallDepthGuard() { --callDepth; }
};

}  // namespace

Variant initialValue(TfsVarType kind)
{
    switch (kind) {
    case TfsVarType::fvtInt:
    case TfsVarType::fvtClass:
    case TfsVarType::fvtEnum:
        return Variant(0);
    case TfsVarType::fvtBool:
        return Variant(false);
    case TfsVarType::fvtFloat:
        return Variant(0.0);
    case TfsVarType::fvtChar:
    case TfsVarType::fvtString:
        return Variant(QString());
    default:
        return Variant();
    }
}

ScriptVariable::ScriptVariable(const QString &name, const ScriptType &type, const Variant &value)
    : ScriptItem(Kind::Variable, name),
      type_(type)
{
    setValue(value);
}

ScriptObject *ScriptVariable::object() const
{
    return scriptObjectOf(value_);
}

void ScriptVariable::setObject(ScriptObject *object)
{
    if (!readOnly_)
        value_ = scriptObjectValue(object);
}

Variant scriptItemValue(const ScriptItem &item)
{
    switch (item.kind()) {
    case ScriptItem::Kind::Variable:
        return static_cast<const ScriptVariable &>(item).value();
    case ScriptItem::Kind::Constant:
        return static_cast<const ScriptConstant &>(item).value();
    case ScriptItem::Kind::Object:
        return scriptObjectValue(static_cast<const ScriptObjectItem &>(item).object());
    default:
        return Variant();
    }
}

void ScriptVariable::setValue(const Variant &value)
{
    if (readOnly_)
        return;
    if ((type_.kind == TfsVarType::fvtString || type_.kind == TfsVarType::fvtChar) && !value.isString()) {
        try {
            value_ = Variant(value.toString());
        } catch (const ConversionError &error) {
            throw EngineError(error.message());
        }
        return;
    }
    value_ = value;
}

ScriptProcedure::ScriptProcedure(const QString &name, std::vector<ScriptParameter> parameters, bool isFunction,
                                 const ScriptType &resultType)
    : ScriptItem(Kind::Procedure, name),
      parameters_(std::move(parameters)),
      isFunction_(isFunction),
      resultType_(resultType)
{
}

ScriptProcedure::~ScriptProcedure() = default;

void ScriptProcedure::setBody(std::unique_ptr<script::ProcedureBody> body)
{
    body_ = std::move(body);
}

int ScriptProcedure::requiredCount() const
{
    int count = 0;
    for (const ScriptParameter &parameter : parameters_) {
        if (!parameter.hasDefault)
            ++count;
    }
    return count;
}

Variant ScriptProcedure::Call(const QList<Variant> &arguments)
{
    const int count = int(parameters_.size());
    if (arguments.size() > count)
        throw EngineError(reportText("tooManyParameters"));
    QVarLengthArray<Variant, 8> values(count);
    for (int i = 0; i < count; ++i) {
        if (i < arguments.size())
            values[i] = arguments[i];
        else if (parameters_[size_t(i)].hasDefault)
            values[i] = macro_ ? Variant(QString()) : parameters_[size_t(i)].defaultValue;
        else
            throw EngineError(reportText("notEnoughParameters"));
    }
    try {
        return invoke(values.data(), count);
    } catch (const ConversionError &error) {
        throw EngineError(error.message());
    }
}

Variant ScriptProcedure::invoke(Variant *arguments, int count)
{
    if (callback_) {
        QList<Variant> list;
        list.reserve(count);
        for (int i = 0; i < count; ++i)
            list.append(arguments[i]);
        return callback_(name(), list);
    }
    if (!body_)
        return Variant();
    if (script::CompileTimeEvaluation::active())
        throw EngineError(script::constantExpectedMessage());
    script::ProcedureBody &body = *body_;
    CallDepthGuard depth;

    // A recursive call keeps the values of the running call and gives them back at the end.
    std::vector<Variant> saved;
    if (activeCalls_ > 0) {
        saved.reserve(body.variables.size());
        for (ScriptVariable *variable : body.variables)
            saved.push_back(variable->value());
    }
    struct Restore {
        ScriptProcedure &procedure;
        script::ProcedureBody &body;
        std::vector<Variant> &saved;
        ~Restore()
        {
            --procedure.activeCalls_;
            for (size_t i = 0; i < saved.size(); ++i)
                body.variables[i]->setValue(saved[i]);
        }
    };
    ++activeCalls_;
    Restore restore{*this, body, saved};

    for (size_t i = 0; i < body.variables.size(); ++i)
        body.variables[i]->setValue(body.initialValues[i]);
    for (int i = 0; i < count && i < int(body.parameters.size()); ++i)
        body.parameters[size_t(i)]->setValue(arguments[i]);
    body.statements->execute();
    for (int i = 0; i < count && i < int(body.parameters.size()); ++i) {
        if (parameters_[size_t(i)].byReference)
            arguments[i] = body.parameters[size_t(i)]->value();
    }
    return body.result ? body.result->value() : Variant();
}

}  // namespace vornak
