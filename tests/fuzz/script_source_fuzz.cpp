// Compiles arbitrary text as a report script: parsing by the built-in grammar and building the
// compiled code. The script is never run (a loop in the text could run for ever); a text the
// language does not accept must end in an error message, never in a crash.

#include "report/script/script.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vornak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TfsScript script;
    script.SetText(fuzz::textOf(data, size));
    fuzz::refusalsAllowed([&] { script.Compile(); });
    return 0;
}
