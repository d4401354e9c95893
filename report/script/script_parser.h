#pragma once

#include "report/script/script_grammar.h"

#include <QString>

#include <vector>

namespace vornak::script {

// A node of the syntax tree: a named node holding what its element produced, or a leaf
// recording one matched token.
struct SyntaxNode {
    QString name;
    QString text;      // a leaf's token (string literals already decoded)
    int position = 0;  // offset of its first non-blank character
    int end = 0;       // offset just after it
    bool leaf = false;
    std::vector<SyntaxNode> children;

    const SyntaxNode *child(QStringView childName) const;
    QString leafText(QStringView leafName) const;
};

struct ParseResult {
    bool ok = false;
    SyntaxNode tree;
    QString errorMessage;
    int errorOffset = 0;
};

// The deepest nesting of grammar elements a text may need; deeper input fails with
// nestingTooDeepMessage() instead of exhausting the stack.
constexpr int maxNestingDepth = 1200;
// The deepest compiled expression (operator chains nest too: a + b + c is ((a + b) + c)).
constexpr int maxExpressionDepth = 500;
QString nestingTooDeepMessage();

// Parses `text` from the grammar's start rule, interpreting the grammar's elements.
ParseResult parse(const Grammar &grammar, const QString &text, int startOffset = 0);

}  // namespace vornak::script
