// Decodes the attribute text of prepared page items. The first line of the input is taken as an
// item's attribute text as it stands (whatever it holds, reading it must not fail); the rest is a
// value that must come back unchanged from encoding and decoding, and from writing it into an
// item's attributes and reading it out again, also when it replaces a value already there.

#include "report/pages/xml_item.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdlib>

using namespace vornak;

namespace {

const QStringView names[] = {u"l", u"t", u"n", u"Memo.Text", u"Font.Name"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzz::textOf(data, size);
    const qsizetype lineEnd = input.indexOf(u'\n');
    const QString attributes = input.left(lineEnd < 0 ? input.size() : lineEnd);
    const QString value = lineEnd < 0 ? QString() : input.mid(lineEnd + 1);

    TfrxXMLItem found;
    found.Text = attributes;
    for (const QStringView name : names) {
        found.HasProp(name);
        found.Prop(name);
    }
    xmlDecodeValue(attributes);

    if (xmlDecodeValue(xmlEncodeValue(value)) != value)
        std::abort();
    TfrxXMLItem written;
    written.SetProp(u"l", u"10");
    written.SetProp(u"Memo.Text", value);
    written.SetProp(u"t", value);
    written.SetProp(u"l", value);
    for (const QStringView name : {u"l", u"t", u"Memo.Text"})
        if (!written.HasProp(name) || written.Prop(name) != value)
            std::abort();
    return 0;
}
