// Reads arbitrary text as a grammar document and, when it is accepted, parses a small script
// with it: a broken document is refused with a message, and whatever rules a document defines
// (empty loops, rules that refer to themselves) the parser ends without exhausting the stack.

#include "report/script/script_grammar.h"
#include "report/script/script_parser.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vornak;

namespace {

const QString sampleScript = QStringLiteral("var a: Integer;\n"
                                            "procedure P(x: String);\nbegin\n  a := a + Length(x) * 2;\nend;\n"
                                            "begin\n  if a > 0 then P('it''s') else a := $FF;\n"
                                            "  { block } // line\n  while a < 10 do a := a + 1;\nend.");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::unique_ptr<script::Grammar> grammar = script::Grammar::load(fuzz::textOf(data, size), &error);
    if (grammar && grammar->startRule())
        fuzz::refusalsAllowed([&] { script::parse(*grammar, sampleScript); });
    return 0;
}
