// The prepared object difference.
//
// Apart from geometry, the font and the memo text, each attribute is a stored property looked up
// by name in the object's property table (once per class) and compared by its text form, which
// is only written for values that are not equal (most are). The lists of names per kind of
// object are data: viewAttributes, memoAttributes. The prepared pages store compares every
// instance of a source object with a TfrxDiffBase holding the source's values, read once.
#include "report/pages/object_diff.h"

#include "report/model/band.h"
#include "report/model/custom_memo_view.h"
#include "report/model/view.h"
#include "report/pages/xml_item.h"

#include <iterator>
#include <map>
#include <typeinfo>
#include <vector>

namespace vornak {

namespace {

constexpr const char16_t *componentAttributes[] = {u"ParentFont", u"Tag"};

constexpr const char16_t *viewAttributes[] = {
    u"Align",
    u"BrushStyle",
    u"Color",
    u"Cursor",
    u"Printable",
    u"TagStr",
    u"URL",
    u"Frame.Typ",
    u"Frame.Color",
    u"Frame.Style",
    u"Frame.Width",
    u"Frame.DropShadow",
    u"Frame.ShadowWidth",
    u"Frame.ShadowColor",
    u"Frame.LeftLine.Color",
    u"Frame.LeftLine.Style",
    u"Frame.LeftLine.Width",
    u"Frame.TopLine.Color",
    u"Frame.TopLine.Style",
    u"Frame.TopLine.Width",
    u"Frame.RightLine.Color",
    u"Frame.RightLine.Style",
    u"Frame.RightLine.Width",
    u"Frame.BottomLine.Color",
    u"Frame.BottomLine.Style",
    u"Frame.BottomLine.Width",
};

constexpr const char16_t *memoAttributes[] = {
    u"AutoWidth",
    u"CharSpacing",
    u"GapX",
    u"GapY",
    u"HAlign",
    u"Highlight.Active",
    u"LineSpacing",
    u"UseDefaultCharset",
    u"ParagraphGap",
    u"Rotation",
    u"RTLReading",
    u"Underlines",
    u"VAlign",
    u"WordWrap",
    u"DisplayFormat.Kind",
    u"DisplayFormat.DecimalSeparator",
    u"DisplayFormat.FormatStr",
    u"DisplayFormat.ThousandSeparator",
    u"DrawMacros.CopyName",
    u"DrawMacros.TotalPages",
    u"FirstParaBreak",
    u"LastParaBreak",
};

// The properties compared as text for objects of one class, in writing order.
const std::vector<const TfrxPropertyInfo *> &comparedProperties(const TfrxComponent &object)
{
    // Built once per class and kept for the life of the program, like the property tables; the
    // map's nodes stay where they are, so the lists handed out do too.
    static std::map<QString, std::vector<const TfrxPropertyInfo *>> tables;
    const QString className = object.ClassName();
    if (const auto known = tables.find(className); known != tables.end())
        return known->second;
    std::vector<const TfrxPropertyInfo *> list;
    const auto add = [&](const auto &names) {
        for (const char16_t *name : names)
            if (const TfrxPropertyInfo *property = findProperty(object.Properties(), QString::fromUtf16(name)))
                list.push_back(property);
    };
    add(componentAttributes);
    if (dynamic_cast<const TfrxView *>(&object))
        add(viewAttributes);
    if (dynamic_cast<const TfrxCustomMemoView *>(&object))
        add(memoAttributes);
    return tables.emplace(className, std::move(list)).first->second;
}

struct FontAttribute {
    const char16_t *name;
    Variant (*value)(const TFont &);
};

const FontAttribute fontAttributes[] = {
    {u"Font.Name", [](const TFont &f) { return Variant(f.Name); }},
    {u"Font.Height", [](const TFont &f) { return Variant(f.Height); }},
    {u"Font.Color", [](const TFont &f) { return Variant(f.Color); }},
    {u"Font.Style", [](const TFont &f) { return Variant(f.Style); }},
    {u"Font.Charset", [](const TFont &f) { return Variant(f.Charset); }},
};

QString fontText(const Variant &value)
{
    return value.isString() ? value.toString() : property_text::fromInt(value.toInt64());
}

// Writes into one buffer kept from call to call, so that the text a prepared report keeps for
// each of its (many) objects is allocated once, at its size, and never grown.
class DiffWriter {
public:
    DiffWriter() { text().resize(0); }

    void add(QStringView name, const QString &value) { xmlAppendAttribute(text(), name, value); }
    void addFloat(QStringView name, double value, double source, bool always = false)
    {
        if (always || value != source)
            add(name, property_text::fromFloat(value));
    }
    QString result() const { return QString(text().constData(), text().size()); }

private:
    static QString &text()
    {
        thread_local QString buffer;
        return buffer;
    }
};

// The difference of `object` from `source`, whose values come from `sourceFont(i)` (font
// attribute i) and `sourceValue(i)` (compared property i of `properties`).
template <class SourceFont, class SourceValue>
QString writeDiff(const TfrxComponent &object, const TfrxComponent &source,
                  const std::vector<const TfrxPropertyInfo *> &properties, SourceFont sourceFont,
                  SourceValue sourceValue)
{
    DiffWriter diff;
    const auto *memo = dynamic_cast<const TfrxCustomMemoView *>(&object);
    diff.addFloat(u"l", object.Left(), source.Left());
    diff.addFloat(u"t", object.Top(), source.Top(), dynamic_cast<const TfrxBand *>(&object) != nullptr);
    if (!(memo && memo->AutoWidth()))
        diff.addFloat(u"w", object.Width(), source.Width());
    diff.addFloat(u"h", object.Height(), source.Height());
    if (object.Visible() != source.Visible())
        diff.add(u"Visible", property_text::fromBool(object.Visible()));
    if (!object.ParentFont())
        for (size_t i = 0; i < std::size(fontAttributes); ++i) {
            const Variant value = fontAttributes[i].value(object.Font());
            if (source.ParentFont() || value != sourceFont(i))
                diff.add(fontAttributes[i].name, fontText(value));
        }
    for (size_t i = 0; i < properties.size(); ++i) {
        const Variant value = properties[i]->value(object);
        if (!properties[i]->sameText(value, sourceValue(i)))
            diff.add(properties[i]->name, properties[i]->text(value));
    }
    if (memo)
        diff.add(u"u", memo->Text());
    return diff.result();
}

}  // namespace

TfrxDiffBase::TfrxDiffBase(const TfrxComponent &source)
    : source_(&source),
      properties_(&comparedProperties(source))
{
    for (const FontAttribute &font : fontAttributes)
        fontValues_.push_back(font.value(source.Font()));
    for (const TfrxPropertyInfo *property : *properties_)
        propertyValues_.push_back(property->value(source));
}

QString frxDiff(const TfrxComponent &object, const TfrxDiffBase &base)
{
    // The values were read for the source's class (a prepared object is always of its source's).
    if (typeid(object) != typeid(base.source()))
        return frxDiff(object, base.source());
    return writeDiff(
        object, base.source(), *base.properties_, [&base](size_t i) -> const Variant & { return base.fontValues_[i]; },
        [&base](size_t i) -> const Variant & { return base.propertyValues_[i]; });
}

QString frxDiff(const TfrxComponent &object, const TfrxComponent &source)
{
    const std::vector<const TfrxPropertyInfo *> &properties = comparedProperties(object);
    return writeDiff(
        object, source, properties, [&source](size_t i) { return fontAttributes[i].value(source.Font()); },
        [&](size_t i) { return properties[i]->value(source); });
}

}  // namespace vornak
