// Reads arbitrary text as the component text of a report object (class name, blank, attribute
// pairs), both at once and through the form read once for many objects. What is read must be
// written back to a text that reads again to the same object: the prepared pages store rebuilds
// every prepared object from such texts.

#include "report/model/component.h"
#include "report/pages/xml_serializer.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdlib>
#include <memory>

using namespace vornak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::textOf(data, size);
    fuzz::refusalsAllowed([&] {
        const std::unique_ptr<TfrxComponent> object(TfrxXMLSerializer::ReadComponentStr(nullptr, text));
        const QString written = TfrxXMLSerializer::GetComponentText(*object);
        const std::unique_ptr<TfrxComponent> again(TfrxXMLSerializer::ReadComponentStr(nullptr, written));
        if (TfrxXMLSerializer::GetComponentText(*again) != written)
            std::abort();
    });
    fuzz::refusalsAllowed([&] {
        const ParsedComponentText parsed(text);
        std::unique_ptr<TfrxComponent>(parsed.Create(nullptr, u" l=\"1\" Name=\"Memo1\""));
    });
    return 0;
}
