#pragma once

#include "report/script/script_items.h"
#include "report/script/script_object.h"
#include "report/script/variant_ops.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace vornak {
class ScriptObject;
}

namespace vornak::script {

// Compiled code: expression and statement trees whose names were resolved while compiling, so
// running them looks nothing up by name (except members of objects known only at run time).

struct RunFlags {
    bool running = false;
    bool terminated = false;
    bool exitCalled = false;
};

class Expression {
public:
    virtual ~Expression() = default;
    virtual Variant evaluate() const = 0;
    // The object the expression designates, or nullptr.
    virtual ScriptObject *evaluateObject() const { return nullptr; }
    virtual bool designatesObject() const { return false; }

    ScriptType type;  // as far as known while compiling; Variant otherwise
    int depth = 1;    // levels of nested expressions, itself included
};

inline int depthOf(const std::unique_ptr<Expression> &expression)
{
    return expression ? expression->depth : 0;
}
using ExpressionPtr = std::unique_ptr<Expression>;

class ConstantExpression : public Expression {
public:
    explicit ConstantExpression(const Variant &value)
        : value_(value)
    {
    }
    Variant evaluate() const override { return value_; }
    const Variant &value() const { return value_; }

private:
    Variant value_;
};

class VariableExpression : public Expression {
public:
    explicit VariableExpression(ScriptVariable *variable)
        : variable_(variable)
    {
        type = variable->type();
    }
    Variant evaluate() const override { return variable_->value(); }
    ScriptObject *evaluateObject() const override { return variable_->object(); }
    bool designatesObject() const override { return variable_->type().kind == TfsVarType::fvtClass; }
    ScriptVariable *variable() const { return variable_; }

private:
    ScriptVariable *variable_;
};

class ObjectExpression : public Expression {
public:
    explicit ObjectExpression(ScriptObject *object);
    Variant evaluate() const override { return scriptObjectValue(object_); }
    ScriptObject *evaluateObject() const override { return object_; }
    bool designatesObject() const override { return true; }

private:
    ScriptObject *object_;
};

// A property or a method without arguments of an object found at run time.
class MemberExpression : public Expression {
public:
    MemberExpression(ExpressionPtr object, const QString &name)
        : object_(std::move(object)),
          name_(name)
    {
        depth = depthOf(object_) + 1;
    }
    Variant evaluate() const override;
    ScriptObject *evaluateObject() const override;
    bool designatesObject() const override { return true; }
    void assign(const Variant &value) const;

private:
    ScriptObject *resolve(int *property, int *method) const;

    ExpressionPtr object_;
    QString name_;
    mutable const ScriptObject *cachedObject_ = nullptr;
    mutable int cachedProperty_ = -1;
    mutable int cachedMethod_ = -1;
};

class MethodCallExpression : public Expression {
public:
    MethodCallExpression(ExpressionPtr object, const QString &name, std::vector<ExpressionPtr> arguments)
        : object_(std::move(object)),
          name_(name),
          arguments_(std::move(arguments))
    {
        depth = depthOf(object_);
        for (const ExpressionPtr &argument : arguments_)
            depth = std::max(depth, argument->depth);
        ++depth;
    }
    Variant evaluate() const override;

private:
    ExpressionPtr object_;
    QString name_;
    std::vector<ExpressionPtr> arguments_;
};

class BinaryExpression : public Expression {
public:
    BinaryExpression(VariantOperator op, ExpressionPtr left, ExpressionPtr right)
        : op_(op),
          left_(std::move(left)),
          right_(std::move(right))
    {
        depth = std::max(left_->depth, right_->depth) + 1;
    }
    Variant evaluate() const override { return applyOperator(op_, left_->evaluate(), right_->evaluate()); }

private:
    VariantOperator op_;
    ExpressionPtr left_;
    ExpressionPtr right_;
};

class UnaryExpression : public Expression {
public:
    UnaryExpression(bool negate, ExpressionPtr operand)
        : negate_(negate),
          operand_(std::move(operand))
    {
        depth = operand_->depth + 1;
    }
    Variant evaluate() const override;

private:
    bool negate_;
    ExpressionPtr operand_;
};

// A set constructor "[1, 3..5]": only the right side of IN and a case label use it.
class SetExpression : public Expression {
public:
    struct Item {
        ExpressionPtr low;
        ExpressionPtr high;  // null for a single value
    };
    explicit SetExpression(std::vector<Item> items)
        : items_(std::move(items))
    {
        for (const Item &item : items_)
            depth = std::max({depth, depthOf(item.low) + 1, depthOf(item.high) + 1});
    }
    Variant evaluate() const override;
    bool contains(const Variant &value) const;

private:
    std::vector<Item> items_;
};

class InExpression : public Expression {
public:
    InExpression(ExpressionPtr value, std::unique_ptr<SetExpression> set)
        : value_(std::move(value)),
          set_(std::move(set))
    {
        depth = std::max(value_->depth, set_->depth) + 1;
    }
    Variant evaluate() const override { return Variant(set_->contains(value_->evaluate())); }

private:
    ExpressionPtr value_;
    std::unique_ptr<SetExpression> set_;
};

class IsExpression : public Expression {
public:
    IsExpression(ExpressionPtr object, const QString &className)
        : object_(std::move(object)),
          className_(className)
    {
        depth = object_->depth + 1;
    }
    Variant evaluate() const override;

private:
    ExpressionPtr object_;
    QString className_;
};

class IndexExpression : public Expression {
public:
    IndexExpression(ExpressionPtr text, ExpressionPtr index)
        : text_(std::move(text)),
          index_(std::move(index))
    {
        depth = std::max(text_->depth, index_->depth) + 1;
    }
    Variant evaluate() const override;

private:
    ExpressionPtr text_;
    ExpressionPtr index_;
};

// Something an assignment writes to.
class Target {
public:
    virtual ~Target() = default;
    virtual void assign(const Variant &value) const = 0;
    virtual Variant read() const = 0;
};
using TargetPtr = std::unique_ptr<Target>;

// Reads a target owned elsewhere (the argument of a "var" parameter).
class TargetReadExpression : public Expression {
public:
    explicit TargetReadExpression(const Target *target)
        : target_(target)
    {
    }
    Variant evaluate() const override { return target_->read(); }

private:
    const Target *target_;
};

class VariableTarget : public Target {
public:
    explicit VariableTarget(ScriptVariable *variable)
        : variable_(variable)
    {
    }
    void assign(const Variant &value) const override { variable_->setValue(value); }
    Variant read() const override { return variable_->value(); }

private:
    ScriptVariable *variable_;
};

class MemberTarget : public Target {
public:
    explicit MemberTarget(std::unique_ptr<MemberExpression> member)
        : member_(std::move(member))
    {
    }
    void assign(const Variant &value) const override { member_->assign(value); }
    Variant read() const override { return member_->evaluate(); }

private:
    std::unique_ptr<MemberExpression> member_;
};

// A call of a procedure or function. Arguments omitted in the source were filled in with the
// defaults while compiling; a macro function gets constant texts.
class CallExpression : public Expression {
public:
    CallExpression(ScriptProcedure *procedure, std::vector<ExpressionPtr> arguments,
                   std::vector<TargetPtr> referenceTargets);
    Variant evaluate() const override;

private:
    ScriptProcedure *procedure_;
    std::vector<ExpressionPtr> arguments_;
    std::vector<TargetPtr> referenceTargets_;  // per argument; null unless a "var" parameter
    mutable QList<Variant> callbackArguments_;
    mutable bool busy_ = false;
};

enum class Flow { Normal, Break, Continue, Exit };

class Statement {
public:
    virtual ~Statement() = default;
    virtual Flow execute() const = 0;
};
using StatementPtr = std::unique_ptr<Statement>;

class BlockStatement : public Statement {
public:
    BlockStatement(std::vector<StatementPtr> statements, const RunFlags *flags)
        : statements_(std::move(statements)),
          flags_(flags)
    {
    }
    Flow execute() const override;
    bool isEmpty() const { return statements_.empty(); }

private:
    std::vector<StatementPtr> statements_;
    const RunFlags *flags_;
};

class AssignStatement : public Statement {
public:
    AssignStatement(TargetPtr target, ExpressionPtr value)
        : target_(std::move(target)),
          value_(std::move(value))
    {
    }
    Flow execute() const override;

private:
    TargetPtr target_;
    ExpressionPtr value_;
};

// An assignment to a variable of a class type: it designates the assigned object.
class ObjectAssignStatement : public Statement {
public:
    ObjectAssignStatement(ScriptVariable *variable, ExpressionPtr value)
        : variable_(variable),
          value_(std::move(value))
    {
    }
    Flow execute() const override;

private:
    ScriptVariable *variable_;
    ExpressionPtr value_;
};

class CallStatement : public Statement {
public:
    explicit CallStatement(ExpressionPtr call)
        : call_(std::move(call))
    {
    }
    Flow execute() const override;

private:
    ExpressionPtr call_;
};

class FlowStatement : public Statement {
public:
    explicit FlowStatement(Flow flow)
        : flow_(flow)
    {
    }
    Flow execute() const override { return flow_; }

private:
    Flow flow_;
};

class IfStatement : public Statement {
public:
    IfStatement(ExpressionPtr condition, StatementPtr then, StatementPtr otherwise)
        : condition_(std::move(condition)),
          then_(std::move(then)),
          otherwise_(std::move(otherwise))
    {
    }
    Flow execute() const override;

private:
    ExpressionPtr condition_;
    StatementPtr then_;
    StatementPtr otherwise_;
};

class CaseStatement : public Statement {
public:
    struct Branch {
        std::unique_ptr<SetExpression> labels;
        StatementPtr statement;
    };
    CaseStatement(ExpressionPtr selector, std::vector<Branch> branches, StatementPtr otherwise)
        : selector_(std::move(selector)),
          branches_(std::move(branches)),
          otherwise_(std::move(otherwise))
    {
    }
    Flow execute() const override;

private:
    ExpressionPtr selector_;
    std::vector<Branch> branches_;
    StatementPtr otherwise_;
};

class ForStatement : public Statement {
public:
    ForStatement(ScriptVariable *variable, ExpressionPtr from, ExpressionPtr to, bool down, StatementPtr body,
                 const RunFlags *flags)
        : variable_(variable),
          from_(std::move(from)),
          to_(std::move(to)),
          down_(down),
          body_(std::move(body)),
          flags_(flags)
    {
    }
    Flow execute() const override;

private:
    ScriptVariable *variable_;
    ExpressionPtr from_;
    ExpressionPtr to_;
    bool down_;
    StatementPtr body_;
    const RunFlags *flags_;
};

// "while ... do" (condition first) and "repeat ... until" (condition last, ends when true).
class LoopStatement : public Statement {
public:
    LoopStatement(ExpressionPtr condition, StatementPtr body, bool conditionFirst, const RunFlags *flags)
        : condition_(std::move(condition)),
          body_(std::move(body)),
          conditionFirst_(conditionFirst),
          flags_(flags)
    {
    }
    Flow execute() const override;

private:
    ExpressionPtr condition_;
    StatementPtr body_;
    bool conditionFirst_;
    const RunFlags *flags_;
};

class TryStatement : public Statement {
public:
    TryStatement(StatementPtr body, StatementPtr handler, bool finally)
        : body_(std::move(body)),
          handler_(std::move(handler)),
          finally_(finally)
    {
    }
    Flow execute() const override;

private:
    StatementPtr body_;
    StatementPtr handler_;
    bool finally_;
};

// What a procedure declared in a script owns: its parameters, result and locals as items,
// and its statements.
struct ProcedureBody {
    std::vector<std::unique_ptr<ScriptItem>> locals;
    std::vector<ScriptVariable *> parameters;
    ScriptVariable *result = nullptr;
    std::vector<ScriptVariable *> variables;  // every local variable, parameters and result included
    std::vector<Variant> initialValues;       // of `variables`
    StatementPtr statements;
};

// Raised when script calls nest deeper than the stack allows.
QString recursionTooDeepMessage();

// While compiling, initial values and constants are computed at once. Procedures declared in
// a script are not run then (they might never end); calling one raises EngineError.
class CompileTimeEvaluation {
public:
    CompileTimeEvaluation();
    ~CompileTimeEvaluation();
    static bool active();
};
QString constantExpectedMessage();

}  // namespace vornak::script
