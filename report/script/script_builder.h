#pragma once

#include "report/script/script_code.h"
#include "report/script/script_grammar.h"
#include "report/script/script_parser.h"

#include <QHash>

namespace vornak {
class TfsScript;
}

namespace vornak::script {

// A compile error found while building: its text and the offset of the offending node.
struct BuildError {
    QString message;
    int offset = 0;
};

// Turns a syntax tree into the script's items and the statements of its main block, resolving
// every name (ignoring case) through the script, its parents and the built-ins. Raises
// BuildError. The tree's node names are those of syntax_names.h; each build function names the
// shape it reads. Type rules are in script_types.h; declarations given to AddMethod are read by
// declaration_reader.h.
class ScriptBuilder {
public:
    ScriptBuilder(TfsScript &script, const QString &text, const Grammar &grammar);

    // Declarations become items of the script; returns the main block.
    std::unique_ptr<BlockStatement> buildProgram(const SyntaxNode &program, int *statementCount);

private:
    struct Scope {
        Scope *outer = nullptr;
        ProcedureBody *body = nullptr;         // null at the level of the script
        ScriptProcedure *procedure = nullptr;  // the procedure being built
        QHash<QString, ScriptItem *> names;
    };
    // A designator after resolution: its value, and what an assignment to it writes.
    struct Designator {
        ExpressionPtr expression;
        TargetPtr target;
    };

    [[noreturn]] void fail(const QString &message, const SyntaxNode &node) const;
    // Fails when an expression nests deeper than running it safely allows.
    ExpressionPtr bounded(ExpressionPtr expression, const SyntaxNode &node) const;
    ScriptItem *lookup(const QString &name) const;
    void declare(std::unique_ptr<ScriptItem> item, const SyntaxNode &node);
    ScriptType resolveType(const QString &name, const SyntaxNode &node) const;
    void checkAssignable(const ScriptType &target, const ScriptType &source, const SyntaxNode &node) const;
    Variant evaluateNow(const Expression &expression, const SyntaxNode &node) const;

    void buildDeclarations(const SyntaxNode &parent);
    void buildVariables(const SyntaxNode &node);
    void buildConstant(const SyntaxNode &node);
    void buildProcedure(const SyntaxNode &node);
    std::vector<ScriptParameter> buildParameters(const SyntaxNode *parameters);

    StatementPtr buildStatement(const SyntaxNode &node);
    std::unique_ptr<BlockStatement> buildStatements(const SyntaxNode &parent);
    StatementPtr buildOptionalStatement(const SyntaxNode *wrapper);
    StatementPtr buildAssign(const SyntaxNode &node);
    StatementPtr buildCall(const SyntaxNode &node);
    StatementPtr buildIf(const SyntaxNode &node);
    StatementPtr buildCase(const SyntaxNode &node);
    StatementPtr buildWhile(const SyntaxNode &node);
    StatementPtr buildRepeat(const SyntaxNode &node);
    StatementPtr buildFor(const SyntaxNode &node);
    StatementPtr buildTry(const SyntaxNode &node);

    ExpressionPtr buildExpression(const SyntaxNode &node);
    ExpressionPtr buildOperatorChain(const SyntaxNode &node);
    ExpressionPtr buildFactor(const SyntaxNode &node);
    ExpressionPtr buildNumber(const SyntaxNode &node) const;
    std::unique_ptr<SetExpression> buildSet(const SyntaxNode &node);
    ExpressionPtr buildBinary(const SyntaxNode &op, ExpressionPtr left, ExpressionPtr right,
                              const SyntaxNode &rightNode);
    Designator buildDesignator(const SyntaxNode &node, bool asTarget);
    Designator resolveHead(const std::vector<SyntaxNode> &parts, size_t &next, bool asTarget);
    static Designator variableDesignator(ScriptVariable *variable);
    void applyMember(Designator &designator, const SyntaxNode &member, const SyntaxNode *arguments, bool lastOfTarget);
    void applyIndex(Designator &designator, const SyntaxNode &index);
    ExpressionPtr buildCallOf(ScriptProcedure *procedure, const SyntaxNode *arguments, const SyntaxNode &at);

    TfsScript &script_;
    // While the declarations of a script that is not the main program are built: the
    // assignments of their initial values, run before the main block.
    std::vector<StatementPtr> *programInitialValues_ = nullptr;
    const QString &text_;
    const Grammar &grammar_;
    Scope scriptScope_;
    Scope *scope_ = &scriptScope_;
};

}  // namespace vornak::script
