// Reads arbitrary text as the page list of the print dialog. The first byte chooses the page
// count of the prepared report (up to 255 pages); the list may only select pages of it or
// name numbers the print loop then skips, and text that is no list is refused with a message.

#include "report/print/page_numbers.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vornak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int pageCount = data[0];
    fuzz::refusalsAllowed([&] { frxParsePageNumbers(fuzz::textOf(data + 1, size - 1), pageCount); });
    return 0;
}
