// Attribute text of a text item.
//
// An attribute is found by scanning Text for a blank (or the start), the name ignoring case, an
// equals sign and a double quote; its value runs to the next double quote, which cannot occur
// inside an encoded value. Writing a value that exists replaces the characters between the two
// quotes; a new pair is appended after one blank.
#include "report/pages/xml_item.h"

#include <algorithm>

namespace vornak {

namespace {

struct NamedReference {
    QStringView name;  // between "&" and ";"
    char16_t character;
};

constexpr NamedReference namedReferences[] = {
    {u"quot", u'"'},
    {u"amp", u'&'},
    {u"lt", u'<'},
    {u"gt", u'>'},
};

// The characters a value never holds as they are, and what is written instead.
struct CharacterReference {
    char16_t character;
    QStringView reference;
};

constexpr CharacterReference characterReferences[] = {
    {u'\n', u"&#10;"}, {u'\r', u"&#13;"}, {u'"', u"&#34;"}, {u'&', u"&#38;"},
    {u'<', u"&#60;"},  {u'>', u"&#62;"},  {u'\0', u"&#0;"},
};

QStringView characterReference(char16_t c)
{
    if (c > u'>')  // the largest of them: most characters are none
        return {};
    for (const CharacterReference &entry : characterReferences)
        if (entry.character == c)
            return entry.reference;
    return {};
}

// Decodes the reference starting at text[i] ("&"); returns the number of characters it takes
// (0 when it is no reference) and appends what it stands for.
qsizetype decodeReference(QStringView text, qsizetype i, QString &out)
{
    const qsizetype semicolon = text.indexOf(u';', i + 1);
    if (semicolon < 0 || semicolon - i > 10)
        return 0;
    const QStringView body = text.sliced(i + 1, semicolon - i - 1);
    if (body.size() > 1 && body.front() == u'#') {
        bool ok = false;
        const uint code = body.sliced(1).toUInt(&ok);
        if (!ok || code > 0x10FFFF)
            return 0;
        const char32_t ucs4 = code;
        out += QString::fromUcs4(&ucs4, 1);
        return semicolon - i + 1;
    }
    for (const NamedReference &named : namedReferences)
        if (body == named.name) {
            out += QChar(named.character);
            return semicolon - i + 1;
        }
    return 0;
}

// Appends `value` to `out` with the characters a value never holds as they are replaced.
void appendEncoded(QString &out, QStringView value)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QStringView reference = characterReference(value[i].unicode());
        if (reference.isEmpty())
            continue;
        out += value.sliced(plainFrom, i - plainFrom);
        out += reference;
        plainFrom = i + 1;
    }
    out += value.sliced(plainFrom);
}

}  // namespace

QString xmlEncodeValue(QStringView value)
{
    QString out;
    out.reserve(value.size());
    appendEncoded(out, value);
    return out;
}

QString xmlDecodeValue(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            const qsizetype taken = decodeReference(text, i, out);
            if (taken > 0) {
                i += taken - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void xmlAppendAttribute(QString &text, QStringView name, QStringView value)
{
    if (!text.isEmpty() && !text.endsWith(u' '))
        text += u' ';
    text += name;
    text += u"=\"";
    appendEncoded(text, value);
    text += u'"';
}

int TfrxXMLItem::IndexOf(const TfrxXMLItem *item) const
{
    const auto it = std::find_if(items_.begin(), items_.end(), [item](const auto &p) { return p.get() == item; });
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TfrxXMLItem *TfrxXMLItem::Add(const QString &name)
{
    return InsertItem(-1, std::make_unique<TfrxXMLItem>(name));
}

TfrxXMLItem *TfrxXMLItem::InsertItem(int index, std::unique_ptr<TfrxXMLItem> item)
{
    item->parent_ = this;
    TfrxXMLItem *raw = item.get();
    if (index < 0 || index >= Count())
        items_.push_back(std::move(item));
    else
        items_.insert(items_.begin() + index, std::move(item));
    return raw;
}

std::unique_ptr<TfrxXMLItem> TfrxXMLItem::TakeItem(int index)
{
    std::unique_ptr<TfrxXMLItem> item = std::move(items_[size_t(index)]);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    return item;
}

void TfrxXMLItem::Delete(int index)
{
    items_.erase(items_.begin() + index);
}

void TfrxXMLItem::Clear()
{
    items_.clear();
}

int TfrxXMLItem::Find(const QString &name) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TfrxXMLItem *TfrxXMLItem::FindItem(const QString &name)
{
    const int index = Find(name);
    return index >= 0 ? Items(index) : Add(name);
}

qsizetype TfrxXMLItem::valueStart(QStringView name) const
{
    const QStringView text(Text);
    const qsizetype pairLength = name.size() + 2;  // name="
    for (qsizetype i = 0; i + pairLength <= text.size(); ++i) {
        if (text[i] == u' ' || (i > 0 && text[i - 1] != u' '))
            continue;
        if (text[i + name.size()] == u'=' && text[i + name.size() + 1] == u'"' &&
            text.sliced(i, name.size()).compare(name, Qt::CaseInsensitive) == 0)
            return i + pairLength;
        // Skip the rest of this pair: values hold no quote, so the next quote ends it.
        const qsizetype open = text.indexOf(u'"', i);
        if (open < 0)
            return -1;
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            return -1;
        i = close;
    }
    return -1;
}

QString TfrxXMLItem::Prop(QStringView name) const
{
    const qsizetype start = valueStart(name);
    if (start < 0)
        return QString();
    qsizetype end = Text.indexOf(u'"', start);
    if (end < 0)
        end = Text.size();
    return xmlDecodeValue(QStringView(Text).sliced(start, end - start));
}

bool TfrxXMLItem::HasProp(QStringView name) const
{
    return valueStart(name) >= 0;
}

void TfrxXMLItem::SetProp(QStringView name, QStringView value)
{
    const qsizetype start = valueStart(name);
    if (start >= 0) {
        qsizetype end = Text.indexOf(u'"', start);
        if (end < 0)
            end = Text.size();
        Text.replace(start, end - start, xmlEncodeValue(value));
        return;
    }
    xmlAppendAttribute(Text, name, value);
}

}  // namespace vornak
