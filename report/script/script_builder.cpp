// The script builder: one pass over the syntax tree the parser made, top down. Declarations
// become items of the script (or locals of the procedure being built, in a Scope); statements and
// expressions become the code objects of script_code.h. Names resolve when they are met, through
// the scopes, the script, its parents and the built-ins, so a name must be declared before use.
// Types are tracked as far as they are known while compiling (script_types.h) and checked at
// assignments; anything unknown is a Variant, checked when it runs. Constant expressions (constant
// declarations, initial values, parameter defaults) are evaluated here.
#include "report/script/script_builder.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script.h"
#include "report/script/script_object.h"
#include "report/script/script_types.h"
#include "report/script/syntax_names.h"

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

// The grammar document's error texts the builder raises itself.
const QString expressionExpected = QStringLiteral("err2");
const QString beginExpected = QStringLiteral("err10");

// Unwraps an expression that is a lone operand: expr -> sexpr -> term -> one factor.
const SyntaxNode *loneFactor(const SyntaxNode &node)
{
    const SyntaxNode *current = &node;
    while ((current->name == syntax::expression || current->name == syntax::simpleExpression ||
            current->name == syntax::term) &&
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
    if (!isAssignable(target, source))
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

// program -> [uses] { const | var | procedure | function } compoundstmt
std::unique_ptr<BlockStatement> ScriptBuilder::buildProgram(const SyntaxNode &program, int *statementCount)
{
    for (const SyntaxNode &child : program.children) {
        if (child.name == syntax::uses)
            fail(reportText("undeclaredIdentifier").arg(child.leafText(syntax::usedFile)), child);
    }
    // Outside the main program the initial values of the script's variables are computed each
    // time the main block runs, before its statements, instead of once while compiling.
    std::vector<StatementPtr> initialValues;
    programInitialValues_ = script_.MainProg() ? nullptr : &initialValues;
    buildDeclarations(program);
    programInitialValues_ = nullptr;
    const SyntaxNode *main = program.child(syntax::compoundStatement);
    if (!main)
        fail(grammar_.errorText(beginExpected), program);
    auto block = buildStatements(*main);
    *statementCount = int(main->children.size());
    if (initialValues.empty())
        return block;
    initialValues.push_back(std::move(block));
    return std::make_unique<BlockStatement>(std::move(initialValues), script_.flags_.get());
}

// Any node -> { const | var | procedure | function | other }: the declarations among its children.
void ScriptBuilder::buildDeclarations(const SyntaxNode &parent)
{
    for (const SyntaxNode &child : parent.children) {
        if (child.name == syntax::variables)
            buildVariables(child);
        else if (child.name == syntax::constant)
            buildConstant(child);
        else if (child.name == syntax::procedure || child.name == syntax::function)
            buildProcedure(child);
    }
}

// var -> ident { ident } [array] type [init -> expr]
void ScriptBuilder::buildVariables(const SyntaxNode &node)
{
    const SyntaxNode *typeNode = node.child(syntax::typeName);
    ScriptType type = resolveType(typeNode->text, *typeNode);
    // "array of T": the element type must exist; the variable itself is an array, empty at first.
    if (node.child(syntax::arrayOf))
        type = arrayType;
    Variant value = initialValue(type.kind);
    const SyntaxNode *init = node.child(syntax::initialValue);
    const bool initialiseWhenRun = init && programInitialValues_;
    if (init && !initialiseWhenRun) {
        const SyntaxNode &expressionNode = init->children.front();
        const ExpressionPtr expression = buildExpression(expressionNode);
        checkAssignable(type, expression->type, expressionNode);
        value = evaluateNow(*expression, expressionNode);
    }
    for (const SyntaxNode &child : node.children) {
        if (!child.leaf || child.name != syntax::identifier)
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

// const -> ident expr
void ScriptBuilder::buildConstant(const SyntaxNode &node)
{
    const SyntaxNode *name = node.child(syntax::identifier);
    const SyntaxNode *expressionNode = node.child(syntax::expression);
    const ExpressionPtr expression = buildExpression(*expressionNode);
    const Variant value = evaluateNow(*expression, *expressionNode);
    declare(std::make_unique<ScriptConstant>(name->text, expression->type, value), *name);
}

// parameters -> { param -> [varparam | constparam] ident { ident } type [default -> expr] }
std::vector<ScriptParameter> ScriptBuilder::buildParameters(const SyntaxNode *parameters)
{
    std::vector<ScriptParameter> result;
    if (!parameters)
        return result;
    for (const SyntaxNode &group : parameters->children) {
        const SyntaxNode *typeNode = group.child(syntax::typeName);
        const ScriptType type = resolveType(typeNode->text, *typeNode);
        const bool byReference = group.child(syntax::byReference) != nullptr;
        bool hasDefault = false;
        Variant defaultValue;
        if (const SyntaxNode *defaultNode = group.child(syntax::defaultValue)) {
            const ExpressionPtr expression = buildExpression(defaultNode->children.front());
            defaultValue = evaluateNow(*expression, *defaultNode);
            hasDefault = true;
        }
        for (const SyntaxNode &name : group.children) {
            if (name.leaf && name.name == syntax::identifier)
                result.push_back({name.text, type, byReference, hasDefault, defaultValue});
        }
    }
    return result;
}

// procedure | function -> name [parameters] [type] { const | var | procedure | function } compoundstmt
void ScriptBuilder::buildProcedure(const SyntaxNode &node)
{
    const bool isFunction = node.name == syntax::function;
    const SyntaxNode *name = node.child(syntax::routineName);
    std::vector<ScriptParameter> parameters = buildParameters(node.child(syntax::parameters));
    ScriptType result;
    if (isFunction) {
        const SyntaxNode *typeNode = node.child(syntax::typeName);
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
    const SyntaxNode *statements = node.child(syntax::compoundStatement);
    if (!statements)
        fail(grammar_.errorText(beginExpected), node);
    body->statements = buildStatements(*statements);
    declared->setBody(std::move(body));
}

// ---- statements ----

// Any statement node; nullptr for a node that is not one.
StatementPtr ScriptBuilder::buildStatement(const SyntaxNode &node)
{
    using Build = StatementPtr (ScriptBuilder::*)(const SyntaxNode &);
    static const std::map<QString, Build> builders = {
        {syntax::assignStatement.toString(), &ScriptBuilder::buildAssign},
        {syntax::callStatement.toString(), &ScriptBuilder::buildCall},
        {syntax::ifStatement.toString(), &ScriptBuilder::buildIf},
        {syntax::caseStatement.toString(), &ScriptBuilder::buildCase},
        {syntax::whileStatement.toString(), &ScriptBuilder::buildWhile},
        {syntax::repeatStatement.toString(), &ScriptBuilder::buildRepeat},
        {syntax::forStatement.toString(), &ScriptBuilder::buildFor},
        {syntax::tryStatement.toString(), &ScriptBuilder::buildTry},
    };
    static const std::map<QString, Flow> flows = {
        {syntax::breakStatement.toString(), Flow::Break},
        {syntax::continueStatement.toString(), Flow::Continue},
        {syntax::exitStatement.toString(), Flow::Exit},
    };
    if (node.name == syntax::compoundStatement)
        return buildStatements(node);
    if (const auto flow = flows.find(node.name); flow != flows.end())
        return std::make_unique<FlowStatement>(flow->second);
    if (const auto builder = builders.find(node.name); builder != builders.end())
        return (this->*builder->second)(node);
    return nullptr;  // not a statement
}

// compoundstmt | elsestmt | finallystmt | exceptstmt | ... -> { statement }
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

// thenstmt | elsestmt -> [statement]; nullptr when the wrapper is absent or empty.
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

// assignstmt -> dsgn expr
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

// callstmt -> dsgn
StatementPtr ScriptBuilder::buildCall(const SyntaxNode &node)
{
    return std::make_unique<CallStatement>(buildDesignator(node.children.at(0), false).expression);
}

// ifstmt -> expr thenstmt [elsestmt]
StatementPtr ScriptBuilder::buildIf(const SyntaxNode &node)
{
    return std::make_unique<IfStatement>(buildExpression(*node.child(syntax::expression)),
                                         buildOptionalStatement(node.child(syntax::thenBranch)),
                                         buildOptionalStatement(node.child(syntax::elseBranch)));
}

// casestmt -> expr { caseselector -> range { range } thenstmt } [elsestmt -> { statement }]
StatementPtr ScriptBuilder::buildCase(const SyntaxNode &node)
{
    ExpressionPtr selector = buildExpression(*node.child(syntax::expression));
    std::vector<CaseStatement::Branch> branches;
    StatementPtr otherwise;
    for (const SyntaxNode &child : node.children) {
        if (child.name == syntax::caseSelector) {
            std::vector<SetExpression::Item> labels;
            for (const SyntaxNode &range : child.children) {
                if (range.name != syntax::range)
                    continue;
                SetExpression::Item item;
                item.low = buildExpression(range.children.at(0));
                if (range.children.size() > 1)
                    item.high = buildExpression(range.children.at(1));
                labels.push_back(std::move(item));
            }
            branches.push_back({std::make_unique<SetExpression>(std::move(labels)),
                                buildOptionalStatement(child.child(syntax::thenBranch))});
        } else if (child.name == syntax::elseBranch) {
            otherwise = buildStatements(child);
        }
    }
    return std::make_unique<CaseStatement>(std::move(selector), std::move(branches), std::move(otherwise));
}

// whilestmt -> expr [statement]
StatementPtr ScriptBuilder::buildWhile(const SyntaxNode &node)
{
    ExpressionPtr condition = buildExpression(*node.child(syntax::expression));
    StatementPtr body;
    for (const SyntaxNode &child : node.children) {
        if (child.name != syntax::expression && (body = buildStatement(child)))
            break;
    }
    return std::make_unique<LoopStatement>(std::move(condition), std::move(body), true, script_.flags_.get());
}

// repeatstmt -> { statement } expr
StatementPtr ScriptBuilder::buildRepeat(const SyntaxNode &node)
{
    StatementPtr body = buildStatements(node);
    ExpressionPtr condition = buildExpression(*node.child(syntax::expression));
    return std::make_unique<LoopStatement>(std::move(condition), std::move(body), false, script_.flags_.get());
}

// forstmt -> ident expr (to | downto) expr [statement]
StatementPtr ScriptBuilder::buildFor(const SyntaxNode &node)
{
    const SyntaxNode *name = node.child(syntax::identifier);
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
        if (child.name == syntax::expression)
            bounds.push_back(&child);
        else if (!child.leaf && !body)
            body = buildStatement(child);
    }
    return std::make_unique<ForStatement>(variable, buildExpression(*bounds.at(0)), buildExpression(*bounds.at(1)),
                                          node.child(syntax::downTo) != nullptr, std::move(body), script_.flags_.get());
}

// trystmt -> { statement } (finallystmt | exceptstmt) -> { statement }
StatementPtr ScriptBuilder::buildTry(const SyntaxNode &node)
{
    StatementPtr body = buildStatements(node);
    const SyntaxNode *finally = node.child(syntax::finallyPart);
    const SyntaxNode *handler = finally ? finally : node.child(syntax::exceptPart);
    return std::make_unique<TryStatement>(std::move(body), buildStatements(*handler), finally != nullptr);
}

// ---- expressions ----

// An op leaf between two operands already built.
ExpressionPtr ScriptBuilder::buildBinary(const SyntaxNode &op, ExpressionPtr left, ExpressionPtr right,
                                         const SyntaxNode &rightNode)
{
    const auto found = operators().find(op.text);
    if (found == operators().end())
        fail(grammar_.errorText(expressionExpected), op);
    const ScriptType type = resultType(found->second, left->type, right->type);
    ExpressionPtr expression = std::make_unique<BinaryExpression>(found->second, std::move(left), std::move(right));
    expression->type = type;
    return bounded(std::move(expression), rightNode);
}

// expr (or any factor where an expression stands)
ExpressionPtr ScriptBuilder::buildExpression(const SyntaxNode &node)
{
    return buildFactor(node);
}

// expr | sexpr | term -> [unminus] operand { op operand }: operands joined by operators of one
// precedence level, from left to right.
ExpressionPtr ScriptBuilder::buildOperatorChain(const SyntaxNode &node)
{
    const auto &children = node.children;
    size_t i = 0;
    const bool negate = !children.empty() && children[0].leaf && children[0].name == syntax::unaryMinus;
    if (negate)
        ++i;
    if (i >= children.size())
        fail(grammar_.errorText(expressionExpected), node);
    ExpressionPtr result = buildFactor(children[i]);
    if (negate) {
        const ScriptType type = result->type;
        result = std::make_unique<UnaryExpression>(true, std::move(result));
        result->type = negationType(type);
    }
    for (++i; i < children.size(); i += 2) {
        const SyntaxNode &op = children[i];
        if (i + 1 >= children.size())
            fail(grammar_.errorText(expressionExpected), op);
        const SyntaxNode &right = children[i + 1];
        if (op.text == u"in") {
            const SyntaxNode *set = loneFactor(right);
            if (set->name != syntax::set)
                fail(reportText("incompatibleTypes"), right);
            result = bounded(std::make_unique<InExpression>(std::move(result), buildSet(*set)), right);
            result->type = booleanType;
        } else if (op.text == u"is") {
            const SyntaxNode *className = loneFactor(right);
            const ScriptTypeItem *type = className->name == syntax::designator
                                             ? script_.FindType(className->leafText(syntax::identifier))
                                             : nullptr;
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

// number: decimal, hexadecimal after the language's prefix, or with a fraction or exponent
ExpressionPtr ScriptBuilder::buildNumber(const SyntaxNode &node) const
{
    const QString &text = node.text;
    const QString &hex = grammar_.parser().hexSequence;
    bool ok = false;
    if (!hex.isEmpty() && text.startsWith(hex)) {
        const qint64 value = text.mid(hex.size()).toLongLong(&ok, 16);
        if (!ok)
            fail(grammar_.errorText(expressionExpected), node);
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

// set -> { range -> expr [expr] }
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

// expr | sexpr | term | dsgn | number | string | not -> factor | frstring | set
ExpressionPtr ScriptBuilder::buildFactor(const SyntaxNode &node)
{
    if (node.name == syntax::expression || node.name == syntax::simpleExpression || node.name == syntax::term)
        return buildOperatorChain(node);
    if (node.name == syntax::designator)
        return buildDesignator(node, false).expression;
    if (node.name == syntax::number)
        return buildNumber(node);
    if (node.name == syntax::string) {
        auto expression = std::make_unique<ConstantExpression>(Variant(node.text));
        expression->type = stringType;
        return expression;
    }
    if (node.name == syntax::notFactor) {
        ExpressionPtr operand = buildFactor(node.children.at(0));
        const ScriptType type = operand->type;
        auto expression = std::make_unique<UnaryExpression>(false, std::move(operand));
        expression->type = notType(type);
        return expression;
    }
    if (node.name == syntax::reportReference) {
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
    if (node.name == syntax::set)
        return buildSet(node);
    fail(grammar_.errorText(expressionExpected), node);
}

// args -> { expr } given to a procedure: each argument by value, by reference (a dsgn) or, for
// a macro function, as its source text; missing ones take their defaults.
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
            if (designatorNode->name != syntax::designator)
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

// dsgn -> [addr] ident { member [args] | index | args }: the head names an item, each part
// then applies to the value so far. As a target, only a variable, a member or a function's own
// name (its result) at the end can be assigned.
ScriptBuilder::Designator ScriptBuilder::buildDesignator(const SyntaxNode &node, bool asTarget)
{
    const auto &parts = node.children;
    size_t next = 0;
    while (next < parts.size() && parts[next].name == syntax::addressOf)
        ++next;
    Designator result = resolveHead(parts, next, asTarget);
    for (; next < parts.size(); ++next) {
        const SyntaxNode &part = parts[next];
        result.target.reset();
        if (part.name == syntax::member) {
            const bool callFollows = next + 1 < parts.size() && parts[next + 1].name == syntax::arguments;
            const SyntaxNode *arguments = callFollows ? &parts[++next] : nullptr;
            applyMember(result, part, arguments, asTarget && next + 1 == parts.size());
        } else if (part.name == syntax::index) {
            applyIndex(result, part);
        } else if (part.name == syntax::arguments) {
            fail(reportText("tooManyParameters"), part);
        }
    }
    return result;
}

// The ident leaf at `next` and, for a procedure, the args after it: the item it names as a
// value (and a target where one can be assigned). Leaves `next` at the first part not used.
ScriptBuilder::Designator ScriptBuilder::resolveHead(const std::vector<SyntaxNode> &parts, size_t &next, bool asTarget)
{
    const SyntaxNode &nameNode = parts.at(next++);
    const bool alone = next == parts.size();
    ScriptItem *item = lookup(nameNode.text);
    if (!item && asTarget && alone && !grammar_.parser().declareVars) {
        // A language without declarations makes a variable on its first assignment.
        declare(std::make_unique<ScriptVariable>(nameNode.text, ScriptType{}, Variant()), nameNode);
        item = lookup(nameNode.text);
    }
    if (!item)
        fail(reportText("undeclaredIdentifier").arg(nameNode.text), nameNode);

    Designator result;
    switch (item->kind()) {
    case ScriptItem::Kind::Variable:
        return variableDesignator(static_cast<ScriptVariable *>(item));
    case ScriptItem::Kind::Constant: {
        auto *constant = static_cast<ScriptConstant *>(item);
        result.expression = std::make_unique<ConstantExpression>(constant->value());
        result.expression->type = constant->type();
        return result;
    }
    case ScriptItem::Kind::Object:
        result.expression = std::make_unique<ObjectExpression>(static_cast<ScriptObjectItem *>(item)->object());
        return result;
    case ScriptItem::Kind::Procedure: {
        auto *procedure = static_cast<ScriptProcedure *>(item);
        // Inside a function, assigning to its name sets its result.
        for (const Scope *scope = scope_; scope && asTarget && alone; scope = scope->outer) {
            if (scope->procedure == procedure && scope->body->result)
                return variableDesignator(scope->body->result);
        }
        const bool callFollows = !alone && parts[next].name == syntax::arguments;
        result.expression = buildCallOf(procedure, callFollows ? &parts[next++] : nullptr, nameNode);
        return result;
    }
    case ScriptItem::Kind::Type:
        break;
    }
    fail(reportText("variableExpected"), nameNode);
}

ScriptBuilder::Designator ScriptBuilder::variableDesignator(ScriptVariable *variable)
{
    return {std::make_unique<VariableExpression>(variable), std::make_unique<VariableTarget>(variable)};
}

// A member leaf, with the args node of a method call when one follows: a property read (or,
// as `lastOfTarget`, written) or a method call on the object so far.
void ScriptBuilder::applyMember(Designator &designator, const SyntaxNode &member, const SyntaxNode *arguments,
                                bool lastOfTarget)
{
    ExpressionPtr &object = designator.expression;
    if (isText(object->type.kind))
        fail(reportText("stringHasNoMembers"), member);
    // A Variant may hold an object value: its members are found when it runs.
    if (!object->designatesObject() && object->type.kind != TfsVarType::fvtVariant)
        fail(reportText("classExpected"), member);
    if (ScriptObject *known = object->evaluateObject(); known && dynamic_cast<ObjectExpression *>(object.get())) {
        if (known->findScriptProperty(member.text) < 0 && known->findScriptMethod(member.text) < 0)
            fail(reportText("undeclaredIdentifier").arg(member.text), member);
    }
    if (arguments) {
        std::vector<ExpressionPtr> values;
        for (const SyntaxNode &argument : arguments->children)
            values.push_back(buildExpression(argument));
        designator.expression =
            bounded(std::make_unique<MethodCallExpression>(std::move(object), member.text, std::move(values)), member);
        return;
    }
    if (object->depth >= maxExpressionDepth)
        fail(nestingTooDeepMessage(), member);
    auto property = std::make_unique<MemberExpression>(std::move(object), member.text);
    if (!lastOfTarget) {
        designator.expression = std::move(property);
        return;
    }
    designator.target = std::make_unique<MemberTarget>(std::move(property));
    designator.expression = std::make_unique<TargetReadExpression>(designator.target.get());
}

// index -> expr: one character of a string, or an element of an array or a Variant.
void ScriptBuilder::applyIndex(Designator &designator, const SyntaxNode &index)
{
    const ScriptType indexed = designator.expression->type;
    // The objects scripts see have no default (indexed) property.
    if (indexed.kind == TfsVarType::fvtClass)
        fail(reportText("noDefaultProperty").arg(indexed.name), index);
    if (!isText(indexed.kind) && indexed.kind != TfsVarType::fvtVariant && indexed.kind != TfsVarType::fvtArray)
        fail(reportText("arrayExpected"), index);
    if (index.children.size() != 1)
        fail(reportText("indexExpected"), index);
    designator.expression = bounded(
        std::make_unique<IndexExpression>(std::move(designator.expression), buildExpression(index.children.front())),
        index);
    designator.expression->type = charType;
}

}  // namespace vornak::script
