#include "report/script/script_code.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script_object.h"

#include <QVarLengthArray>

namespace vornak {

namespace script {

namespace {

[[noreturn]] void undefinedMember(const QString &name)
{
    throw EngineError(reportText("undeclaredIdentifier").arg(name));
}

ScriptObject *requireObject(const Expression &expression)
{
    ScriptObject *object = expression.evaluateObject();
    // A value that carries an object (a Variant variable assigned an object, a function result).
    if (!object && !expression.designatesObject())
        object = scriptObjectOf(expression.evaluate());
    if (!object)
        throw EngineError(reportText("classExpected"));
    return object;
}

}  // namespace

QString recursionTooDeepMessage()
{
    return reportText("recursionTooDeep");
}

namespace {
thread_local int compileTimeEvaluations = 0;
}

CompileTimeEvaluation::CompileTimeEvaluation()
{
    ++compileTimeEvaluations;
}

CompileTimeEvaluation::~CompileTimeEvaluation()
{
    --compileTimeEvaluations;
}

bool CompileTimeEvaluation::active()
{
    return compileTimeEvaluations > 0;
}

QString constantExpectedMessage()
{
    return reportText("constantExpected");
}

ObjectExpression::ObjectExpression(ScriptObject *object)
    : object_(object)
{
    type = {TfsVarType::fvtClass, object ? object->scriptClassName() : QString()};
}

ScriptObject *MemberExpression::resolve(int *property, int *method) const
{
    ScriptObject *object = requireObject(*object_);
    if (object != cachedObject_) {
        cachedProperty_ = object->findScriptProperty(name_);
        cachedMethod_ = cachedProperty_ < 0 ? object->findScriptMethod(name_) : -1;
        cachedObject_ = object;
    }
    *property = cachedProperty_;
    *method = cachedMethod_;
    if (*property < 0 && *method < 0)
        undefinedMember(name_);
    return object;
}

Variant MemberExpression::evaluate() const
{
    int property = -1;
    int method = -1;
    ScriptObject *object = resolve(&property, &method);
    return property >= 0 ? object->scriptProperty(property) : object->callScriptMethod(method, {});
}

ScriptObject *MemberExpression::evaluateObject() const
{
    int property = -1;
    int method = -1;
    ScriptObject *object = resolve(&property, &method);
    return property >= 0 ? object->scriptObjectProperty(property) : nullptr;
}

void MemberExpression::assign(const Variant &value) const
{
    int property = -1;
    int method = -1;
    ScriptObject *object = resolve(&property, &method);
    if (property < 0)
        throw EngineError(reportText("notAssignable"));
    object->setScriptProperty(property, value);
}

Variant MethodCallExpression::evaluate() const
{
    ScriptObject *object = requireObject(*object_);
    const int method = object->findScriptMethod(name_);
    if (method < 0)
        undefinedMember(name_);
    QList<Variant> values;
    values.reserve(qsizetype(arguments_.size()));
    for (const ExpressionPtr &argument : arguments_)
        values.append(argument->evaluate());
    return object->callScriptMethod(method, values);
}

Variant UnaryExpression::evaluate() const
{
    const Variant value = operand_->evaluate();
    return negate_ ? negateValue(value) : notValue(value);
}

Variant SetExpression::evaluate() const
{
    throw EngineError(reportText("incompatibleTypes"));
}

bool SetExpression::contains(const Variant &value) const
{
    for (const Item &item : items_) {
        if (!item.high) {
            if (compareValues(value, item.low->evaluate()) == 0)
                return true;
        } else if (compareValues(value, item.low->evaluate()) >= 0 &&
                   compareValues(value, item.high->evaluate()) <= 0) {
            return true;
        }
    }
    return false;
}

Variant IsExpression::evaluate() const
{
    const ScriptObject *object = object_->evaluateObject();
    return Variant(object != nullptr && object->inheritsScriptClass(className_));
}

Variant IndexExpression::evaluate() const
{
    const QString text = text_->evaluate().toString();
    const qint64 index = index_->evaluate().toInt64();
    if (index < 1 || index > text.size())
        throw EngineError(reportText("indexOutOfRange").arg(index));
    return Variant(QString(text[qsizetype(index - 1)]));
}

CallExpression::CallExpression(ScriptProcedure *procedure, std::vector<ExpressionPtr> arguments,
                               std::vector<TargetPtr> referenceTargets)
    : procedure_(procedure),
      arguments_(std::move(arguments)),
      referenceTargets_(std::move(referenceTargets))
{
    type = procedure->resultType();
    for (const ExpressionPtr &argument : arguments_)
        depth = std::max(depth, argument->depth + 1);
    callbackArguments_.reserve(qsizetype(arguments_.size()));
}

Variant CallExpression::evaluate() const
{
    const int count = int(arguments_.size());
    if (const ScriptCallback &callback = procedure_->callback()) {
        // The argument list is kept between calls; a call re-entered from its own callback
        // builds a list of its own.
        QList<Variant> local;
        QList<Variant> &values = busy_ ? local : callbackArguments_;
        values.clear();
        for (const ExpressionPtr &argument : arguments_)
            values.append(argument->evaluate());
        if (&values == &local)
            return callback(procedure_->name(), values);
        busy_ = true;
        struct Release {
            bool &busy;
            ~Release() { busy = false; }
        } release{busy_};
        return callback(procedure_->name(), values);
    }
    QVarLengthArray<Variant, 8> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = arguments_[size_t(i)]->evaluate();
    Variant result = procedure_->invoke(values.data(), count);
    for (int i = 0; i < count; ++i) {
        if (referenceTargets_[size_t(i)])
            referenceTargets_[size_t(i)]->assign(values[i]);
    }
    return result;
}

Flow BlockStatement::execute() const
{
    for (const StatementPtr &statement : statements_) {
        if (flags_->terminated)
            return Flow::Exit;
        const Flow flow = statement->execute();
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

Flow AssignStatement::execute() const
{
    target_->assign(value_->evaluate());
    return Flow::Normal;
}

Flow ObjectAssignStatement::execute() const
{
    if (value_->designatesObject())
        variable_->setObject(value_->evaluateObject());
    else
        variable_->setValue(value_->evaluate());
    return Flow::Normal;
}

Flow CallStatement::execute() const
{
    call_->evaluate();
    return Flow::Normal;
}

Flow IfStatement::execute() const
{
    if (condition_->evaluate().toBool())
        return then_ ? then_->execute() : Flow::Normal;
    return otherwise_ ? otherwise_->execute() : Flow::Normal;
}

Flow CaseStatement::execute() const
{
    const Variant selector = selector_->evaluate();
    for (const Branch &branch : branches_) {
        if (branch.labels->contains(selector))
            return branch.statement ? branch.statement->execute() : Flow::Normal;
    }
    return otherwise_ ? otherwise_->execute() : Flow::Normal;
}

Flow ForStatement::execute() const
{
    const qint64 from = from_->evaluate().toInt64();
    const qint64 to = to_->evaluate().toInt64();
    const qint64 step = down_ ? -1 : 1;
    for (qint64 i = from; down_ ? i >= to : i <= to; i += step) {
        if (flags_->terminated)
            return Flow::Exit;
        variable_->setValue(i >= INT_MIN && i <= INT_MAX ? Variant(int(i)) : Variant(i));
        const Flow flow = body_ ? body_->execute() : Flow::Normal;
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Exit)
            return flow;
    }
    return Flow::Normal;
}

Flow LoopStatement::execute() const
{
    for (;;) {
        if (flags_->terminated)
            return Flow::Exit;
        if (conditionFirst_ && !condition_->evaluate().toBool())
            break;
        const Flow flow = body_ ? body_->execute() : Flow::Normal;
        if (flow == Flow::Break)
            break;
        if (flow == Flow::Exit)
            return flow;
        if (!conditionFirst_ && condition_->evaluate().toBool())
            break;
    }
    return Flow::Normal;
}

Flow TryStatement::execute() const
{
    if (finally_) {
        Flow flow = Flow::Normal;
        try {
            flow = body_->execute();
        } catch (...) {
            handler_->execute();
            throw;
        }
        const Flow handlerFlow = handler_->execute();
        return handlerFlow != Flow::Normal ? handlerFlow : flow;
    }
    try {
        return body_->execute();
    } catch (const Error &) {
        return handler_->execute();
    }
}

}  // namespace script
}  // namespace vornak
