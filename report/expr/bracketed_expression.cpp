// Finding bracketed expressions. The scan walks the text one character at a time with a
// nesting counter and two quote flags: outside quotes an opening delimiter raises the counter
// (the first one marks the start), a closing delimiter lowers it; a double quote toggles the
// double-quote flag unless inside single quotes, and the other way round. The scan stops where
// the counter is back at 0, or at the end of the text.
#include "report/expr/bracketed_expression.h"

namespace vornak {

ExpressionDelimiters ExpressionDelimiters::parse(const QString &text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return {text, QString()};
    return {text.left(comma), text.mid(comma + 1)};
}

BracketedExpression findBracketedExpression(const QString &text, const ExpressionDelimiters &delimiters,
                                            qsizetype start)
{
    const QStringView view(text);
    qsizetype begin = start;
    qsizetype position = start;
    int depth = 0;
    bool inDoubleQuotes = false;
    bool inSingleQuotes = false;
    for (; position < view.size(); ++position) {
        if (!inDoubleQuotes && !inSingleQuotes) {
            if (!delimiters.open.isEmpty() && view.mid(position).startsWith(delimiters.open)) {
                if (depth == 0)
                    begin = position;
                ++depth;
            } else if (!delimiters.close.isEmpty() && view.mid(position).startsWith(delimiters.close)) {
                --depth;
            }
        }
        const QChar c = view[position];
        if (c == u'"' && !inSingleQuotes)
            inDoubleQuotes = !inDoubleQuotes;
        else if (c == u'\'' && !inDoubleQuotes)
            inSingleQuotes = !inSingleQuotes;
        if (depth == 0)
            break;
    }
    if (begin == position)
        return {QString(), start};
    const qsizetype innerStart = begin + delimiters.open.size();
    return {text.mid(innerStart, std::max<qsizetype>(position - innerStart, 0)),
            position + delimiters.close.size() - 1};
}

namespace {

// Walks the expressions of `text` from the start; `visit` gives the text that replaces each
// one (for a plain scan: the expression as it was), seeing the text before it.
template <class Visit>
QString walkExpressions(QString text, const ExpressionDelimiters &delimiters, Visit visit)
{
    if (delimiters.open.isEmpty() || !text.contains(delimiters.open))
        return text;
    qsizetype i = 0;
    while (true) {
        while (i < text.size() - 1 && !QStringView(text).mid(i).startsWith(delimiters.open))
            ++i;
        const qsizetype start = i;
        const BracketedExpression found = findBracketedExpression(text, delimiters, start);
        if (found.end == start)
            break;
        text.remove(start, std::min(found.end, text.size() - 1) - start + 1);
        const QString replacement = visit(found.inner, QStringView(text).left(start));
        text.insert(start, replacement);
        i = start + replacement.size();
    }
    return text;
}

}  // namespace

QString expandExpressions(const QString &text, const ExpressionDelimiters &delimiters,
                          const std::function<QString(const QString &inner)> &replace)
{
    return walkExpressions(text, delimiters, [&replace](const QString &inner, QStringView) { return replace(inner); });
}

QString expandExpressionsAfter(const QString &text, const ExpressionDelimiters &delimiters,
                               const std::function<QString(const QString &inner, QStringView before)> &replace)
{
    return walkExpressions(text, delimiters, replace);
}

QStringList bracketedExpressions(const QString &text, const ExpressionDelimiters &delimiters)
{
    QStringList found;
    walkExpressions(text, delimiters, [&found](const QString &inner, QStringView) {
        found << inner;
        return QString();
    });
    return found;
}

}  // namespace vornak
