// The aggregate call scanner walks an expression text once. Characters of the separator set
// are skipped, quoted text (double or single quotes) is skipped to its closing quote, the inside
// of parentheses and angle brackets is scanned recursively, and anything else is read as a word
// up to a character of the word-end set. A word naming an aggregate function directly followed
// by "(" is a call: its arguments run to the matching ")".
#include "report/expr/aggregate_scanner.h"

namespace vornak {

namespace {

const QString separatorPunctuation = QStringLiteral(" !#$%&*+,-./=[]^|");
const QString wordEndPunctuation = QStringLiteral(" !#$%&*+,-./=[]^|(");
const QStringList aggregateNames = {QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                    QStringLiteral("AVG"), QStringLiteral("COUNT")};

bool isSeparator(QChar c)
{
    return c.unicode() < 32 || c.isDigit() || separatorPunctuation.contains(c);
}

bool endsWord(QChar c)
{
    return c.unicode() < 32 || wordEndPunctuation.contains(c);
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// The position of the character that closes the bracket at `open` (nesting counted, quoted text
// skipped), or the end of the text when it is never closed.
qsizetype matchingClose(const QString &text, qsizetype open, QChar opening, QChar closing)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            const qsizetype end = text.indexOf(c, i + 1);
            i = end < 0 ? text.size() : end;
        } else if (c == opening) {
            ++depth;
        } else if (c == closing && --depth == 0) {
            return i;
        }
    }
    return text.size();
}

// The texts between the top-level commas of `text` (quoted text and nested parentheses kept).
QStringList splitArguments(const QString &text)
{
    QStringList arguments;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            const qsizetype end = text.indexOf(c, i + 1);
            i = end < 0 ? text.size() : end;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            arguments << text.mid(start, i - start);
            start = i + 1;
        }
    }
    arguments << text.mid(start);
    return arguments;
}

void scan(const QString &text, QList<AggregateCall> &calls)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isSeparator(c)) {
            ++i;
        } else if (isQuote(c)) {
            const qsizetype end = text.indexOf(c, i + 1);
            i = end < 0 ? text.size() : end + 1;
        } else if (c == u'(' || c == u'<') {
            const qsizetype close = matchingClose(text, i, c, c == u'(' ? u')' : u'>');
            scan(text.mid(i + 1, close - i - 1), calls);
            i = close + 1;
        } else {
            const qsizetype start = i;
            while (i < text.size() && !endsWord(text[i]))
                ++i;
            if (i == start)  // a ")" or ">" without its opening bracket
                ++i;
            const QString word = text.mid(start, i - start);
            if (i < text.size() && text[i] == u'(' && aggregateNames.contains(word, Qt::CaseInsensitive)) {
                const qsizetype close = matchingClose(text, i, u'(', u')');
                calls.append({word, splitArguments(text.mid(i + 1, close - i - 1)),
                              text.mid(start, close - start + 1).trimmed()});
                i = close + 1;
            }
        }
    }
}

}  // namespace

QList<AggregateCall> findAggregateCalls(const QString &expression)
{
    QList<AggregateCall> calls;
    scan(expression, calls);
    return calls;
}

}  // namespace vornak
