#include "report/script/script_builder.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script.h"
#include "report/script/script_object.h"
#include "report/script/script_tokenizer.h"

#include <map>

namespace vornak::script {

namespace {

const std::map<QString, VariantOperator> &operators()
{
    static const std::map<QString, VariantOperator> table = {
        {QStringLiteral("+"), VariantOperator::Add},
        {QStringLiteral("-"), VariantOperator::Subtract},
        {QStringLiteral("or"), VariantOperator::Or},
        {QStringLiteral("xor"), VariantOperator::Xor},
        {QStringLiteral("*"), VariantOperator::Multiply},
        {QStringLiteral("/"), VariantOperator::Divide},
        {QStringLiteral("div"), VariantOperator::IntDivide},
        {QStringLiteral("mod"), VariantOperator::Modulo},
        {QStringLiteral("and"), VariantOperator::And},
        {QStringLiteral("shl"), VariantOperator::Shl},
        {QStringLiteral("shr"), VariantOperator::Shr},
        {QStringLiteral("="), VariantOperator::Equal},
        {QStringLiteral("<>"), VariantOperator::NotEqual},
        {QStringLiteral("<"), VariantOperator::Less},
        {QStringLiteral("<="), VariantOperator::LessOrEqual},
        {QStringLiteral(">"), VariantOperator::Greater},
        {QStringLiteral(">="), VariantOperator::GreaterOrEqual},
    };
    return table;
}

bool isNumber(TfsVarType kind)
{
    return kind == TfsVarType::fvtInt || kind == TfsVarType::fvtFloat;
}
bool isText(TfsVarType kind)
{
    return kind == TfsVarType::fvtString || kind == TfsVarType::fvtChar;
}

const ScriptType integerType{TfsVarType::fvtInt, QStringLiteral("Integer")};
const ScriptType floatType{TfsVarType::fvtFloat, QStringLiteral("Extended")};
const ScriptType booleanType{TfsVarType::fvtBool, QStringLiteral("Boolean")};
const ScriptType stringType{TfsVarType::fvtString, QStringLiteral("String")};
const ScriptType arrayType{TfsVarType::fvtArray, QStringLiteral("Array")};

// The type a binary operation gives, as far as it is known while compiling.
ScriptType resultType(VariantOperator op, const ScriptType &left, const ScriptType &right)
{
    if (isComparison(op))
        return booleanType;
    switch (op) {
    case VariantOperator::Add:
        if (isText(left.kind) && isText(right.kind))
            return stringType;
        [[fallthrough]];
    case VariantOperator::Subtract:
    case VariantOperator::Multiply:
        if (isNumber(left.kind) && isNumber(right.kind))
            return left.kind == TfsVarType::fvtInt && right.kind == TfsVarType::fvtInt ? integerType : floatType;
        return {};
    case VariantOperator::Divide:
        return isNumber(left.kind) && isNumber(right.kind) ? floatType : ScriptType{};
    case VariantOperator::And:
    case VariantOperator::Or:
    case VariantOperator::Xor:
        if (left.kind == TfsVarType::fvtBool && right.kind == TfsVarType::fvtBool)
            return booleanType;
        [[fallthrough]];
    default:
        return left.kind == TfsVarType::fvtInt && right.kind == TfsVarType::fvtInt ? integerType : ScriptType{};
    }
}

// Unwraps an expression that is a lone operand: expr -> sexpr -> term -> one factor.
const SyntaxNode *loneFactor(const SyntaxNode &node)
{
    const SyntaxNode *current = &node;
    while ((current->name == u"expr" || current->name == u"sexpr" || current->name == u"term") &&
           current->children.size() == 1)
        current = &current->children.front();
    return current;
}

}  // namespace

ScriptBuilder::ScriptBuilder(TfsScript &script, const QString &text, const Grammar &grammar)
    : script_(script),
      text_(text),
      grammar_(grammar)
{
}

void ScriptBuilder::fail(const QString &message, const SyntaxNode &node) const
{
    throw BuildError{message, node.position};
}

ExpressionPtr ScriptBuilder::bounded(ExpressionPtr expression, const SyntaxNode &node) const
{
    if (expression->depth > maxExpressionDepth)
        fail(nestingTooDeepMessage(), node);
    return expression;
}

ScriptItem *ScriptBuilder::lookup(const QString &name) const
{
    const QString key = name.toCaseFolded();
    for (const Scope *scope = scope_; scope; scope = scope->outer) {
        if (ScriptItem *item = scope->names.value(key))
            return item;
    }
    return script_.Find(name);
}

void ScriptBuilder::declare(std::unique_ptr<ScriptItem> item, const SyntaxNode &node)
{
    const QString key = item->name().toCaseFolded();
    const bool duplicate = scope_->body ? scope_->names.contains(key) : script_.FindLocal(item->name()) != nullptr;
    if (duplicate)
        fail(reportText("redeclaredIdentifier").arg(item->name()), node);
    if (scope_->body) {
        scope_->names.insert(key, item.get());
        if (item->kind() == ScriptItem::Kind::Variable) {
            auto *variable = static_cast<ScriptVariable *>(item.get());
            scope_->body->variables.push_back(variable);
            scope_->body->initialValues.push_back(variable->value());
        }
        scope_->body->locals.push_back(std::move(item));
    } else {
        script_.addItem(std::move(item));
    }
}

ScriptType ScriptBuilder::resolveType(const QString &name, const SyntaxNode &node) const
{
    const QString alias = grammar_.typeAliases().value(name.toLower());
    if (const ScriptTypeItem *type = script_.FindType(alias.isEmpty() ? name : alias))
        return {type->type().kind, name};
    fail(reportText("unknownType").arg(name), node);
}

void ScriptBuilder::checkAssignable(const ScriptType &target, const ScriptType &source, const SyntaxNode &node) const
{
    bool fits = true;
    if (target.kind == TfsVarType::fvtVariant || source.kind == TfsVarType::fvtVariant)
        fits = true;
    else if (target.kind == TfsVarType::fvtClass || source.kind == TfsVarType::fvtClass ||
             target.kind == TfsVarType::fvtArray || source.kind == TfsVarType::fvtArray)
        fits = target.kind == source.kind;
    else if (!isText(target.kind))
        fits = !isText(source.kind);
    if (!fits)
        fail(reportText("incompatibleTypesNamed").arg(target.name, source.name), node);
}

Variant ScriptBuilder::evaluateNow(const Expression &expression, const SyntaxNode &node) const
{
    try {
        CompileTimeEvaluation compileTime;
        return expression.evaluate();
    } catch (const Error &error) {
        fail(error.message(), node);
    }
}

// ---- declarations ----

std::unique_ptr<BlockStatement> ScriptBuilder::buildProgram(const SyntaxNode &program, int *statementCount)
{
    for (const SyntaxNode &child : program.children) {
        if (child.name == u"uses")
            fail(reportText("undeclaredIdentifier").arg(child.leafText(u"file")), child);
    }
    // Outside the main program the initial values of the script's variables are computed each
    // time the main block runs, before its statements, instead of once while compiling.
    std::vector<StatementPtr> initialValues;
    programInitialValues_ = script_.MainProg() ? nullptr : &initialValues;
    buildDeclarations(program);
    programInitialValues_ = nullptr;
    const SyntaxNode *main = program.child(u"compoundstmt");
    if (!main)
        fail(grammar_.errorText(QStringLiteral("err10")), program);
    auto block = buildStatements(*main);
    *statementCount = int(main->children.size());
    if (initialValues.empty())
        return block;
    initialValues.push_back(std::move(block));
    return std::make_unique<BlockStatement>(std::move(initialValues), script_.flags_.get());
}

void ScriptBuilder::buildDeclarations(const SyntaxNode &parent)
{
    for (const SyntaxNode &child : parent.children) {
        if (child.name == u"var")
            buildVariables(child);
        else if (child.name == u"const")
            buildConstant(child);
        else if (child.name == u"procedure" || child.name == u"function")
            buildProcedure(child);
    }
}

void ScriptBuilder::buildVariables(const SyntaxNode &node)
{
    const SyntaxNode *typeNode = node.child(u"type");
    ScriptType type = resolveType(typeNode->text, *typeNode);
    // "array of T": the element type must exist; the variable itself is an array, empty at first.
    if (node.child(u"array"))
        type = arrayType;
    Variant value = initialValue(type.kind);
    const SyntaxNode *init = node.child(u"init");
    const bool initialiseWhenRun = init && programInitialValues_;
    if (init && !initialiseWhenRun) {
        const SyntaxNode &expressionNode = init->children.front();
        const ExpressionPtr expression = buildExpression(expressionNode);
        checkAssignable(type, expression->type, expressionNode);
        value = evaluateNow(*expression, expressionNode);
    }
    for (const SyntaxNode &child : node.children) {
        if (!child.leaf || child.name != u"ident")
            continue;
        auto variable = std::make_unique<ScriptVariable>(child.text, type, value);
        ScriptVariable *declared = variable.get();
        declare(std::move(variable), child);
        if (initialiseWhenRun) {
            const SyntaxNode &expressionNode = init->children.front();
            ExpressionPtr expression = buildExpression(expressionNode);
            checkAssignable(type, expression->type, expressionNode);
            programInitialValues_->push_back(
                std::make_unique<AssignStatement>(std::make_unique<VariableTarget>(declared), std::move(expression)));
        }
    }
}

void ScriptBuilder::buildConstant(const SyntaxNode &node)
{
    const SyntaxNode *name = node.child(u"ident");
    const SyntaxNode *expressionNode = node.child(u"expr");
    const ExpressionPtr expression = buildExpression(*expressionNode);
    const Variant value = evaluateNow(*expression, *expressionNode);
    declare(std::make_unique<ScriptConstant>(name->text, expression->type, value), *name);
}

std::vector<ScriptParameter> ScriptBuilder::buildParameters(const SyntaxNode *parameters)
{
    std::vector<ScriptParameter> result;
    if (!parameters)
        return result;
    for (const SyntaxNode &group : parameters->children) {
        const SyntaxNode *typeNode = group.child(u"type");
        const ScriptType type = resolveType(typeNode->text, *typeNode);
        const bool byReference = group.child(u"varparam") != nullptr;
        bool hasDefault = false;
        Variant defaultValue;
        if (const SyntaxNode *defaultNode = group.child(u"default")) {
            const ExpressionPtr expression = buildExpression(defaultNode->children.front());
            defaultValue = evaluateNow(*expression, *defaultNode);
            hasDefault = true;
        }
        for (const SyntaxNode &name : group.children) {
            if (name.leaf && name.name == u"ident")
                result.push_back({name.text, type, byReference, hasDefault, defaultValue});
        }
    }
    return result;
}

void ScriptBuilder::buildProcedure(const SyntaxNode &node)
{
    const bool isFunction = node.name == u"function";
    const SyntaxNode *name = node.child(u"name");
    std::vector<ScriptParameter> parameters = buildParameters(node.child(u"parameters"));
    ScriptType result;
    if (isFunction) {
        const SyntaxNode *typeNode = node.child(u"type");
        result = resolveType(typeNode->text, *typeNode);
    }
    auto procedure = std::make_unique<ScriptProcedure>(name->text, parameters, isFunction, result);
    ScriptProcedure *declared = procedure.get();
    declare(std::move(procedure), *name);

    auto body = std::make_unique<ProcedureBody>();
    Scope scope;
    scope.outer = scope_;
    scope.body = body.get();
    scope.procedure = declared;
    scope_ = &scope;
    struct Leave {
        Scope *&current;
        Scope *outer;
        ~Leave() { current = outer; }
    } leave{scope_, scope.outer};

    for (const ScriptParameter &parameter : parameters) {
        declare(std::make_unique<ScriptVariable>(parameter.name, parameter.type, initialValue(parameter.type.kind)),
                *name);
        body->parameters.push_back(static_cast<ScriptVariable *>(body->locals.back().get()));
    }
    if (isFunction) {
        declare(std::make_unique<ScriptVariable>(QStringLiteral("Result"), result, initialValue(result.kind)), *name);
        body->result = static_cast<ScriptVariable *>(body->locals.back().get());
    }
    buildDeclarations(node);
    const SyntaxNode *statements = node.child(u"compoundstmt");
    if (!statements)
        fail(grammar_.errorText(QStringLiteral("err10")), node);
    body->statements = buildStatements(*statements);
    declared->setBody(std::move(body));
}

// ---- statements ----

StatementPtr ScriptBuilder::buildStatement(const SyntaxNode &node)
{
    using Build = StatementPtr (ScriptBuilder::*)(const SyntaxNode &);
    static const std::map<QString, Build> builders = {
        {QStringLiteral("assignstmt"), &ScriptBuilder::buildAssign},
        {QStringLiteral("callstmt"), &ScriptBuilder::buildCall},
        {QStringLiteral("ifstmt"), &ScriptBuilder::buildIf},
        {QStringLiteral("casestmt"), &ScriptBuilder::buildCase},
        {QStringLiteral("whilestmt"), &ScriptBuilder::buildWhile},
        {QStringLiteral("repeatstmt"), &ScriptBuilder::buildRepeat},
        {QStringLiteral("forstmt"), &ScriptBuilder::buildFor},
        {QStringLiteral("trystmt"), &ScriptBuilder::buildTry},
    };
    static const std::map<QString, Flow> flows = {
        {QStringLiteral("break"), Flow::Break},
        {QStringLiteral("continue"), Flow::Continue},
        {QStringLiteral("exit"), Flow::Exit},
    };
    if (node.name == u"compoundstmt")
        return buildStatements(node);
    if (const auto flow = flows.find(node.name); flow != flows.end())
        return std::make_unique<FlowStatement>(flow->second);
    if (const auto builder = builders.find(node.name); builder != builders.end())
        return (this->*builder->second)(node);
    return nullptr;  // not a statement
}

std::unique_ptr<BlockStatement> ScriptBuilder::buildStatements(const SyntaxNode &parent)
{
    std::vector<StatementPtr> statements;
    for (const SyntaxNode &child : parent.children) {
        if (child.leaf)
            continue;
        if (StatementPtr statement = buildStatement(child))
            statements.push_back(std::move(statement));
    }
    return std::make_unique<BlockStatement>(std::move(statements), script_.flags_.get());
}

StatementPtr ScriptBuilder::buildOptionalStatement(const SyntaxNode *wrapper)
{
    if (!wrapper)
        return nullptr;
    for (const SyntaxNode &child : wrapper->children) {
        if (StatementPtr statement = buildStatement(child))
            return statement;
    }
    return nullptr;
}

StatementPtr ScriptBuilder::buildAssign(const SyntaxNode &node)
{
    const SyntaxNode &designatorNode = node.children.at(0);
    const SyntaxNode &valueNode = node.children.at(1);
    Designator designator = buildDesignator(designatorNode, true);
    if (!designator.target)
        fail(reportText("notAssignable"), designatorNode);
    ExpressionPtr value = buildExpression(valueNode);
    checkAssignable(designator.expression->type, value->type, valueNode);
    const auto *variable = dynamic_cast<const VariableExpression *>(designator.expression.get());
    if (variable && variable->variable()->type().kind == TfsVarType::fvtClass)
        return std::make_unique<ObjectAssignStatement>(variable->variable(), std::move(value));
    return std::make_unique<AssignStatement>(std::move(designator.target), std::move(value));
}

StatementPtr ScriptBuilder::buildCall(const SyntaxNode &node)
{
    return std::make_unique<CallStatement>(buildDesignator(node.children.at(0), false).expression);
}

StatementPtr ScriptBuilder::buildIf(const SyntaxNode &node)
{
    return std::make_unique<IfStatement>(buildExpression(*node.child(u"expr")),
                                         buildOptionalStatement(node.child(u"thenstmt")),
                                         buildOptionalStatement(node.child(u"elsestmt")));
}

StatementPtr ScriptBuilder::buildCase(const SyntaxNode &node)
{
    ExpressionPtr selector = buildExpression(*node.child(u"expr"));
    std::vector<CaseStatement::Branch> branches;
    StatementPtr otherwise;
    for (const SyntaxNode &child : node.children) {
        if (child.name == u"caseselector") {
            std::vector<SetExpression::Item> labels;
            for (const SyntaxNode &range : child.children) {
                if (range.name != u"range")
                    continue;
                SetExpression::Item item;
                item.low = buildExpression(range.children.at(0));
                if (range.children.size() > 1)
                    item.high = buildExpression(range.children.at(1));
                labels.push_back(std::move(item));
            }
            branches.push_back(
                {std::make_unique<SetExpression>(std::move(labels)), buildOptionalStatement(child.child(u"thenstmt"))});
        } else if (child.name == u"elsestmt") {
            otherwise = buildStatements(child);
        }
    }
    return std::make_unique<CaseStatement>(std::move(selector), std::move(branches), std::move(otherwise));
}

StatementPtr ScriptBuilder::buildWhile(const SyntaxNode &node)
{
    ExpressionPtr condition = buildExpression(*node.child(u"expr"));
    StatementPtr body;
    for (const SyntaxNode &child : node.children) {
        if (child.name != u"expr" && (body = buildStatement(child)))
            break;
    }
    return std::make_unique<LoopStatement>(std::move(condition), std::move(body), true, script_.flags_.get());
}

StatementPtr ScriptBuilder::buildRepeat(const SyntaxNode &node)
{
    StatementPtr body = buildStatements(node);
    ExpressionPtr condition = buildExpression(*node.child(u"expr"));
    return std::make_unique<LoopStatement>(std::move(condition), std::move(body), false, script_.flags_.get());
}

StatementPtr ScriptBuilder::buildFor(const SyntaxNode &node)
{
    const SyntaxNode *name = node.child(u"ident");
    ScriptItem *item = lookup(name->text);
    if (!item)
        fail(reportText("undeclaredIdentifier").arg(name->text), *name);
    auto *variable = item->kind() == ScriptItem::Kind::Variable ? static_cast<ScriptVariable *>(item) : nullptr;
    if (!variable)
        fail(reportText("variableExpected"), *name);
    const TfsVarType kind = variable->type().kind;
    if (kind != TfsVarType::fvtInt && kind != TfsVarType::fvtFloat && kind != TfsVarType::fvtVariant)
        fail(reportText("forVariableNotNumeric"), *name);
    std::vector<const SyntaxNode *> bounds;
    StatementPtr body;
    for (const SyntaxNode &child : node.children) {
        if (child.name == u"expr")
            bounds.push_back(&child);
        else if (!child.leaf && !body)
            body = buildStatement(child);
    }
    return std::make_unique<ForStatement>(variable, buildExpression(*bounds.at(0)), buildExpression(*bounds.at(1)),
                                          node.child(u"downto") != nullptr, std::move(body), script_.flags_.get());
}

StatementPtr ScriptBuilder::buildTry(const SyntaxNode &node)
{
    StatementPtr body = buildStatements(node);
    const SyntaxNode *finally = node.child(u"finallystmt");
    const SyntaxNode *handler = finally ? finally : node.child(u"exceptstmt");
    return std::make_unique<TryStatement>(std::move(body), buildStatements(*handler), finally != nullptr);
}

// ---- expressions ----

ExpressionPtr ScriptBuilder::buildBinary(const SyntaxNode &op, ExpressionPtr left, ExpressionPtr right,
                                         const SyntaxNode &rightNode)
{
    const auto found = operators().find(op.text);
    if (found == operators().end())
        fail(grammar_.errorText(QStringLiteral("err2")), op);
    const ScriptType type = resultType(found->second, left->type, right->type);
    ExpressionPtr expression = std::make_unique<BinaryExpression>(found->second, std::move(left), std::move(right));
    expression->type = type;
    return bounded(std::move(expression), rightNode);
}

ExpressionPtr ScriptBuilder::buildExpression(const SyntaxNode &node)
{
    return buildFactor(node);
}

// An expression, simple expression or term: an optional unary minus, then operands joined by
// operators of one precedence level, from left to right.
ExpressionPtr ScriptBuilder::buildOperatorChain(const SyntaxNode &node)
{
    const auto &children = node.children;
    size_t i = 0;
    const bool negate = !children.empty() && children[0].leaf && children[0].name == u"unminus";
    if (negate)
        ++i;
    if (i >= children.size())
        fail(grammar_.errorText(QStringLiteral("err2")), node);
    ExpressionPtr result = buildFactor(children[i]);
    if (negate) {
        const ScriptType type = result->type;
        result = std::make_unique<UnaryExpression>(true, std::move(result));
        result->type = isNumber(type.kind) ? type : ScriptType{};
    }
    for (++i; i < children.size(); i += 2) {
        const SyntaxNode &op = children[i];
        if (i + 1 >= children.size())
            fail(grammar_.errorText(QStringLiteral("err2")), op);
        const SyntaxNode &right = children[i + 1];
        if (op.text == u"in") {
            const SyntaxNode *set = loneFactor(right);
            if (set->name != u"set")
                fail(reportText("incompatibleTypes"), right);
            result = bounded(std::make_unique<InExpression>(std::move(result), buildSet(*set)), right);
            result->type = booleanType;
        } else if (op.text == u"is") {
            const SyntaxNode *className = loneFactor(right);
            const ScriptTypeItem *type =
                className->name == u"dsgn" ? script_.FindType(className->leafText(u"ident")) : nullptr;
            if (!type || type->type().kind != TfsVarType::fvtClass)
                fail(reportText("classExpected"), right);
            result = bounded(std::make_unique<IsExpression>(std::move(result), type->name()), right);
            result->type = booleanType;
        } else {
            result = buildBinary(op, std::move(result), buildFactor(right), right);
        }
    }
    return result;
}

ExpressionPtr ScriptBuilder::buildNumber(const SyntaxNode &node) const
{
    const QString &text = node.text;
    const QString &hex = grammar_.parser().hexSequence;
    bool ok = false;
    if (!hex.isEmpty() && text.startsWith(hex)) {
        const qint64 value = text.mid(hex.size()).toLongLong(&ok, 16);
        if (!ok)
            fail(grammar_.errorText(QStringLiteral("err2")), node);
        auto expression = std::make_unique<ConstantExpression>(
            value >= INT_MIN && value <= INT_MAX ? Variant(int(value)) : Variant(value));
        expression->type = integerType;
        return expression;
    }
    if (!text.contains(u'.') && !text.contains(u'e', Qt::CaseInsensitive)) {
        const qint64 value = text.toLongLong(&ok);
        if (ok) {
            auto expression =
                std::make_unique<ConstantExpression>(value <= INT_MAX ? Variant(int(value)) : Variant(value));
            expression->type = integerType;
            return expression;
        }
    }
    auto expression = std::make_unique<ConstantExpression>(Variant(text.toDouble()));
    expression->type = floatType;
    return expression;
}

std::unique_ptr<SetExpression> ScriptBuilder::buildSet(const SyntaxNode &node)
{
    std::vector<SetExpression::Item> items;
    for (const SyntaxNode &range : node.children) {
        SetExpression::Item item;
        item.low = buildExpression(range.children.at(0));
        if (range.children.size() > 1)
            item.high = buildExpression(range.children.at(1));
        items.push_back(std::move(item));
    }
    return std::make_unique<SetExpression>(std::move(items));
}

ExpressionPtr ScriptBuilder::buildFactor(const SyntaxNode &node)
{
    if (node.name == u"expr" || node.name == u"sexpr" || node.name == u"term")
        return buildOperatorChain(node);
    if (node.name == u"dsgn")
        return buildDesignator(node, false).expression;
    if (node.name == u"number")
        return buildNumber(node);
    if (node.name == u"string") {
        auto expression = std::make_unique<ConstantExpression>(Variant(node.text));
        expression->type = stringType;
        return expression;
    }
    if (node.name == u"not") {
        ExpressionPtr operand = buildFactor(node.children.at(0));
        const ScriptType type = operand->type;
        auto expression = std::make_unique<UnaryExpression>(false, std::move(operand));
        expression->type = type.kind == TfsVarType::fvtBool || type.kind == TfsVarType::fvtInt ? type : ScriptType{};
        return expression;
    }
    if (node.name == u"frstring") {
        // A report data reference is a call of Get with the raw text.
        ScriptItem *get = lookup(QStringLiteral("Get"));
        if (!get || get->kind() != ScriptItem::Kind::Procedure)
            fail(reportText("undeclaredIdentifier").arg(QStringLiteral("Get")), node);
        std::vector<ExpressionPtr> arguments;
        arguments.push_back(std::make_unique<ConstantExpression>(Variant(node.text)));
        std::vector<TargetPtr> targets(1);
        return std::make_unique<CallExpression>(static_cast<ScriptProcedure *>(get), std::move(arguments),
                                                std::move(targets));
    }
    if (node.name == u"set")
        return buildSet(node);
    fail(grammar_.errorText(QStringLiteral("err2")), node);
}

ExpressionPtr ScriptBuilder::buildCallOf(ScriptProcedure *procedure, const SyntaxNode *arguments, const SyntaxNode &at)
{
    const auto &parameters = procedure->parameters();
    std::vector<const SyntaxNode *> given;
    if (arguments) {
        for (const SyntaxNode &argument : arguments->children)
            given.push_back(&argument);
    }
    if (given.size() > parameters.size())
        fail(reportText("tooManyParameters"), arguments ? *given[parameters.size()] : at);
    std::vector<ExpressionPtr> values;
    std::vector<TargetPtr> targets(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) {
        const ScriptParameter &parameter = parameters[i];
        if (i >= given.size()) {
            if (!parameter.hasDefault)
                fail(reportText("notEnoughParameters"), arguments ? *arguments : at);
            values.push_back(std::make_unique<ConstantExpression>(procedure->isMacro() ? Variant(QString())
                                                                                       : parameter.defaultValue));
            continue;
        }
        const SyntaxNode &argument = *given[i];
        if (procedure->isMacro()) {
            values.push_back(std::make_unique<ConstantExpression>(
                Variant(text_.mid(argument.position, argument.end - argument.position))));
        } else if (parameter.byReference) {
            const SyntaxNode *designatorNode = loneFactor(argument);
            if (designatorNode->name != u"dsgn")
                fail(reportText("variableExpected"), argument);
            Designator designator = buildDesignator(*designatorNode, true);
            if (!designator.target)
                fail(reportText("variableExpected"), argument);
            values.push_back(std::make_unique<TargetReadExpression>(designator.target.get()));
            targets[i] = std::move(designator.target);
        } else {
            values.push_back(buildExpression(argument));
        }
    }
    return bounded(std::make_unique<CallExpression>(procedure, std::move(values), std::move(targets)), at);
}

ScriptBuilder::Designator ScriptBuilder::buildDesignator(const SyntaxNode &node, bool asTarget)
{
    const auto &parts = node.children;
    size_t i = 0;
    while (i < parts.size() && parts[i].name == u"addr")
        ++i;
    const SyntaxNode &nameNode = parts.at(i++);
    ScriptItem *item = lookup(nameNode.text);
    if (!item && asTarget && i == parts.size() && !grammar_.parser().declareVars) {
        // A language without declarations makes a variable on its first assignment.
        declare(std::make_unique<ScriptVariable>(nameNode.text, ScriptType{}, Variant()), nameNode);
        item = lookup(nameNode.text);
    }
    if (!item)
        fail(reportText("undeclaredIdentifier").arg(nameNode.text), nameNode);

    Designator result;
    const bool callFollows = i < parts.size() && parts[i].name == u"args";
    switch (item->kind()) {
    case ScriptItem::Kind::Variable: {
        auto *variable = static_cast<ScriptVariable *>(item);
        result.expression = std::make_unique<VariableExpression>(variable);
        result.target = std::make_unique<VariableTarget>(variable);
        break;
    }
    case ScriptItem::Kind::Constant: {
        auto *constant = static_cast<ScriptConstant *>(item);
        result.expression = std::make_unique<ConstantExpression>(constant->value());
        result.expression->type = constant->type();
        break;
    }
    case ScriptItem::Kind::Object:
        result.expression = std::make_unique<ObjectExpression>(static_cast<ScriptObjectItem *>(item)->object());
        break;
    case ScriptItem::Kind::Procedure: {
        auto *procedure = static_cast<ScriptProcedure *>(item);
        // Inside a function, assigning to its name sets its result.
        for (const Scope *scope = scope_; scope && asTarget && !callFollows && i == parts.size();
             scope = scope->outer) {
            if (scope->procedure == procedure && scope->body->result) {
                result.expression = std::make_unique<VariableExpression>(scope->body->result);
                result.target = std::make_unique<VariableTarget>(scope->body->result);
                return result;
            }
        }
        result.expression = buildCallOf(procedure, callFollows ? &parts[i] : nullptr, nameNode);
        if (callFollows)
            ++i;
        break;
    }
    case ScriptItem::Kind::Type:
        fail(reportText("variableExpected"), nameNode);
    }

    for (; i < parts.size(); ++i) {
        const SyntaxNode &part = parts[i];
        result.target.reset();
        if (part.name == u"member") {
            if (isText(result.expression->type.kind))
                fail(reportText("stringHasNoMembers"), part);
            // A Variant may hold an object value: its members are found when it runs.
            if (!result.expression->designatesObject() && result.expression->type.kind != TfsVarType::fvtVariant)
                fail(reportText("classExpected"), part);
            if (ScriptObject *object = result.expression->evaluateObject();
                object && dynamic_cast<ObjectExpression *>(result.expression.get())) {
                if (object->findScriptProperty(part.text) < 0 && object->findScriptMethod(part.text) < 0)
                    fail(reportText("undeclaredIdentifier").arg(part.text), part);
            }
            if (i + 1 < parts.size() && parts[i + 1].name == u"args") {
                std::vector<ExpressionPtr> arguments;
                for (const SyntaxNode &argument : parts[i + 1].children)
                    arguments.push_back(buildExpression(argument));
                result.expression = bounded(std::make_unique<MethodCallExpression>(std::move(result.expression),
                                                                                   part.text, std::move(arguments)),
                                            part);
                ++i;
                continue;
            }
            if (result.expression->depth >= maxExpressionDepth)
                fail(nestingTooDeepMessage(), part);
            auto member = std::make_unique<MemberExpression>(std::move(result.expression), part.text);
            if (asTarget && i + 1 == parts.size()) {
                result.target = std::make_unique<MemberTarget>(std::move(member));
                result.expression = std::make_unique<TargetReadExpression>(result.target.get());
                return result;
            }
            result.expression = std::move(member);
        } else if (part.name == u"index") {
            const ScriptType indexed = result.expression->type;
            // The objects scripts see have no default (indexed) property.
            if (indexed.kind == TfsVarType::fvtClass)
                fail(reportText("noDefaultProperty").arg(indexed.name), part);
            if (!isText(indexed.kind) && indexed.kind != TfsVarType::fvtVariant && indexed.kind != TfsVarType::fvtArray)
                fail(reportText("arrayExpected"), part);
            if (part.children.size() != 1)
                fail(reportText("indexExpected"), part);
            result.expression = bounded(
                std::make_unique<IndexExpression>(std::move(result.expression), buildExpression(part.children.front())),
                part);
            result.expression->type = {TfsVarType::fvtChar, QStringLiteral("Char")};
        } else if (part.name == u"args") {
            fail(reportText("tooManyParameters"), part);
        }
    }
    return result;
}

// ---- declarations given to AddMethod ----

std::unique_ptr<ScriptProcedure> ScriptBuilder::readDeclaration(TfsScript &script, const QString &declaration)
{
    const Grammar *grammar = findLanguage(QStringLiteral("PascalScript"));
    if (!grammar)
        throw EngineError(reportText("badLanguageDefinition"));
    Tokenizer tokens(declaration, grammar->parser(), *grammar);
    const auto malformed = [&]() -> EngineError {
        return EngineError(reportText("badFunctionDeclaration").arg(declaration));
    };
    const auto word = [&] {
        tokens.skipBlanks();
        return tokens.readWord();
    };
    const auto punctuation = [&](char16_t expected) {
        tokens.skipBlanks();
        const int start = tokens.position();
        if (tokens.readChar() == QChar(expected))
            return true;
        tokens.setPosition(start);
        return false;
    };
    const auto type = [&]() {
        const QString name = word();
        if (name.isEmpty())
            throw malformed();
        return script.requireType(name);
    };
    const auto literal = [&]() -> Variant {
        const bool negative = punctuation(u'-');
        tokens.skipBlanks();
        const QString number = tokens.readNumber();
        if (!number.isEmpty()) {
            bool isInteger = false;
            const int value = number.toInt(&isInteger);
            const Variant result =
                isInteger ? Variant(negative ? -value : value) : Variant(number.toDouble() * (negative ? -1 : 1));
            return result;
        }
        bool isString = false;
        const QString text = tokens.readString(&isString);
        if (isString)
            return Variant(text);
        const QString name = word();
        if (const ScriptItem *constant = script.Find(name); constant && constant->kind() == ScriptItem::Kind::Constant)
            return static_cast<const ScriptConstant *>(constant)->value();
        throw malformed();
    };

    const QString kind = word().toLower();
    const bool macro = kind == u"macrofunction";
    const bool isFunction = macro || kind == u"function";
    if (!isFunction && kind != u"procedure")
        throw malformed();
    const QString name = word();
    if (name.isEmpty())
        throw malformed();
    std::vector<ScriptParameter> parameters;
    if (punctuation(u'(') && !punctuation(u')')) {
        do {
            QString modifier = word();
            QStringList names;
            const bool byReference = modifier.compare(u"var", Qt::CaseInsensitive) == 0;
            if (byReference || modifier.compare(u"const", Qt::CaseInsensitive) == 0)
                modifier = word();
            names.append(modifier);
            while (punctuation(u','))
                names.append(word());
            if (names.contains(QString()) || !punctuation(u':'))
                throw malformed();
            const ScriptType parameterType = type();
            const bool hasDefault = punctuation(u'=');
            const Variant defaultValue = hasDefault ? literal() : Variant();
            for (const QString &parameterName : names)
                parameters.push_back({parameterName, parameterType, byReference, hasDefault, defaultValue});
        } while (punctuation(u';'));
        if (!punctuation(u')'))
            throw malformed();
    }
    ScriptType result;
    if (isFunction) {
        if (!punctuation(u':'))
            throw malformed();
        result = type();
    }
    punctuation(u';');
    tokens.skipBlanks();
    if (!tokens.atEnd())
        throw malformed();
    auto procedure = std::make_unique<ScriptProcedure>(name, std::move(parameters), isFunction, result);
    procedure->setMacro(macro);
    return procedure;
}

}  // namespace vornak::script
