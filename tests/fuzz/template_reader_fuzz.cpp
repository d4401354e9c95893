// Reads arbitrary text as a report template into a report: text that is no template is refused
// with a message naming the line, a fault of one object or value goes to the report's error list,
// and nothing crashes or hangs whatever the classes, nesting, values and references hold.

#include "report/model/report.h"
#include "report/model/template_reader.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vornak;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzz::pinRussianSettings();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TfrxReport report;
    fuzz::refusalsAllowed([&] { TfrxTemplateReader().Read(fuzz::textOf(data, size), report); });
    return 0;
}
