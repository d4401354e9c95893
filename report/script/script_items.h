#pragma once

#include "platform/variant.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vornak {

class ScriptObject;
namespace script {
struct ProcedureBody;
}

// The kinds of value a script variable, constant, parameter or function result has.
enum class TfsVarType {
    fvtInt,
    fvtBool,
    fvtFloat,
    fvtChar,
    fvtString,
    fvtClass,
    fvtArray,
    fvtVariant,
    fvtEnum,
    fvtConstructor
};

// A type as written in a declaration: its kind and its name.
struct ScriptType {
    TfsVarType kind = TfsVarType::fvtVariant;
    QString name = QStringLiteral("Variant");
};

// The value a declared variable of that kind starts with.
Variant initialValue(TfsVarType kind);

// A named entry of a script: a variable, constant, type, procedure or function, or object.
class ScriptItem {
public:
    enum class Kind { Variable, Constant, Type, Procedure, Object };

    ScriptItem(Kind kind, const QString &name)
        : kind_(kind),
          name_(name)
    {
    }
    virtual ~ScriptItem() = default;
    ScriptItem(const ScriptItem &) = delete;
    ScriptItem &operator=(const ScriptItem &) = delete;

    Kind kind() const { return kind_; }
    const QString &name() const { return name_; }
    // The object that added the item (see TfsScript::SetAdder).
    const void *adder() const { return adder_; }
    void setAdder(const void *adder) { adder_ = adder; }
    // A permanent item survives TfsScript::Clear (see TfsScript::KeepRegisteredItems).
    bool isPermanent() const { return permanent_; }
    void setPermanent(bool permanent) { permanent_ = permanent; }

private:
    Kind kind_;
    QString name_;
    const void *adder_ = nullptr;
    bool permanent_ = false;
};

class ScriptVariable : public ScriptItem {
public:
    ScriptVariable(const QString &name, const ScriptType &type, const Variant &value);

    const ScriptType &type() const { return type_; }
    const Variant &value() const { return value_; }
    // Text variables store the value converted to text; read-only variables ignore it.
    void setValue(const Variant &value);
    // The object the variable holds (a variable of a class type such as "Self", or a Variant
    // holding an object value); nullptr when it holds none.
    ScriptObject *object() const;
    void setObject(ScriptObject *object);
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    ScriptType type_;
    Variant value_;
    bool readOnly_ = false;
};

class ScriptConstant : public ScriptItem {
public:
    ScriptConstant(const QString &name, const ScriptType &type, const Variant &value)
        : ScriptItem(Kind::Constant, name),
          type_(type),
          value_(value)
    {
    }
    const ScriptType &type() const { return type_; }
    const Variant &value() const { return value_; }

private:
    ScriptType type_;
    Variant value_;
};

// A type name: a built-in type, a registered class or a language's alias.
class ScriptTypeItem : public ScriptItem {
public:
    ScriptTypeItem(const QString &name, TfsVarType kind)
        : ScriptItem(Kind::Type, name),
          type_{kind, name}
    {
    }
    const ScriptType &type() const { return type_; }

private:
    ScriptType type_;
};

class ScriptObjectItem : public ScriptItem {
public:
    ScriptObjectItem(const QString &name, ScriptObject *object)
        : ScriptItem(Kind::Object, name),
          object_(object)
    {
    }
    ScriptObject *object() const { return object_; }

private:
    ScriptObject *object_;
};

struct ScriptParameter {
    QString name;
    ScriptType type;
    bool byReference = false;  // a "var" parameter
    bool hasDefault = false;
    Variant defaultValue;
};

// A registered function receives its name and the argument values (the argument texts for a
// macro function) and returns its result (ignored for a procedure).
using ScriptCallback = std::function<Variant(const QString &name, const QList<Variant> &arguments)>;

// A procedure or function: either registered with a callback, or declared in a script.
class ScriptProcedure : public ScriptItem {
public:
    ScriptProcedure(const QString &name, std::vector<ScriptParameter> parameters, bool isFunction,
                    const ScriptType &resultType);
    ~ScriptProcedure() override;

    bool isFunction() const { return isFunction_; }
    const ScriptType &resultType() const { return resultType_; }
    const std::vector<ScriptParameter> &parameters() const { return parameters_; }
    int requiredCount() const;
    bool isMacro() const { return macro_; }
    void setMacro(bool macro) { macro_ = macro; }

    const ScriptCallback &callback() const { return callback_; }
    void setCallback(ScriptCallback callback) { callback_ = std::move(callback); }
    script::ProcedureBody *body() const { return body_.get(); }
    void setBody(std::unique_ptr<script::ProcedureBody> body);

    // Calls it from C++: missing trailing arguments take their defaults. Errors raised while it
    // runs come out as EngineError.
    Variant Call(const QList<Variant> &arguments = {});

    // Runs it with `count` argument values; "var" parameters are written back into `arguments`.
    Variant invoke(Variant *arguments, int count);

private:
    std::vector<ScriptParameter> parameters_;
    bool isFunction_;
    ScriptType resultType_;
    bool macro_ = false;
    ScriptCallback callback_;
    std::unique_ptr<script::ProcedureBody> body_;
    int activeCalls_ = 0;
};

// The value a name gives in an expression: a variable's or constant's value, an object's object
// value (see scriptObjectValue); Null for types and procedures.
Variant scriptItemValue(const ScriptItem &item);

}  // namespace vornak
