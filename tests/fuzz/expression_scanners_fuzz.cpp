// Scans arbitrary text object content for bracketed expressions and aggregate calls. The first
// line of the input is the object's ExpressionDelimiters ("[,]", "<%,%>", or anything a template
// may hold), the rest its text. Every expression found is then scanned for aggregate calls, as
// the band engine does when it prepares a report.

#include "report/expr/aggregate_scanner.h"
#include "report/expr/bracketed_expression.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdlib>

using namespace vornak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzz::textOf(data, size);
    const qsizetype lineEnd = input.indexOf(u'\n');
    const ExpressionDelimiters delimiters = ExpressionDelimiters::parse(input.left(lineEnd < 0 ? 0 : lineEnd));
    const QString text = input.mid(lineEnd + 1);

    if (!delimiters.open.isEmpty())
        for (qsizetype start = text.indexOf(delimiters.open); start >= 0;
             start = text.indexOf(delimiters.open, start + 1))
            if (findBracketedExpression(text, delimiters, start).end < start)
                std::abort();
    // A value holding the delimiters is never scanned again, so the expansion ends.
    expandExpressions(text, delimiters,
                      [&](const QString &inner) { return delimiters.open + inner + delimiters.close; });
    for (const QString &expression : bracketedExpressions(text, delimiters))
        for (const AggregateCall &call : findAggregateCalls(expression))
            if (call.callText.isEmpty() || call.function.isEmpty())
                std::abort();
    findAggregateCalls(text);
    return 0;
}
