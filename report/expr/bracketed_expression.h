#pragma once

// Bracketed expressions in the text of a text object: "Total: [SUM(<Source1."s2">)]". The
// delimiters nest ("[a[b]c]" is one expression, a[b]c) and delimiters inside quoted text do
// not count, so a data reference whose field name holds "]" is one expression.

#include <QString>
#include <QStringList>

#include <functional>

namespace vornak {

// The opening and closing delimiter of a text object, from its ExpressionDelimiters ("[,]"):
// split at the first comma.
struct ExpressionDelimiters {
    QString open = QStringLiteral("[");
    QString close = QStringLiteral("]");

    static ExpressionDelimiters parse(const QString &text);
};

// One expression found at a position: its inner text and the position of the last character of
// its closing delimiter. `end` equals the start position when there is none at that position.
struct BracketedExpression {
    QString inner;
    qsizetype end = 0;
};

// The expression whose opening delimiter is at `start` (0-based), up to its matching closing
// delimiter; an opening delimiter that is never closed takes the rest of the text.
BracketedExpression findBracketedExpression(const QString &text, const ExpressionDelimiters &delimiters,
                                            qsizetype start);

// Replaces every bracketed expression of `text` by `replace` (inner text). Scanning resumes
// after each inserted value, so brackets a value holds are never evaluated again. A text without
// the opening delimiter comes back as it is.
QString expandExpressions(const QString &text, const ExpressionDelimiters &delimiters,
                          const std::function<QString(const QString &inner)> &replace);
// The same; `replace` also sees the text before the expression as it stays in the result.
QString expandExpressionsAfter(const QString &text, const ExpressionDelimiters &delimiters,
                               const std::function<QString(const QString &inner, QStringView before)> &replace);

// The inner texts of the bracketed expressions of `text`, in order.
QStringList bracketedExpressions(const QString &text, const ExpressionDelimiters &delimiters);

}  // namespace vornak
