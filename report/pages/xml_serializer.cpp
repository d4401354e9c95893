// The component text form.
//
// Each class gets, on first use, a table of the attribute names it understands, sorted for a
// binary search that ignores case: the names of its stored properties (lists of lines under
// "<name>.Text"), and the short names of prepared objects. Reading walks the attribute text
// pair by pair and hands each decoded value to the property's writer; references are resolved
// at once, in the object's report (or its tree) and among the data sources.
#include "report/pages/xml_serializer.h"

#include "platform/errors.h"
#include "report/model/class_registry.h"
#include "report/model/component.h"
#include "report/model/custom_memo_view.h"
#include "report/pages/xml_item.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace vornak {

namespace {

constexpr double floatTolerance = 0.000001;

// How an attribute reaches the object.
enum class Target { Property, Geometry, MemoText, FontSize };

struct Attribute {
    QString name;
    Target target;
    const TfrxPropertyInfo *property = nullptr;            // for Target::Property
    void (TfrxComponent::*setGeometry)(double) = nullptr;  // for Target::Geometry
};

// A list of lines is called "<name>.Text" (templates store the memo's as "Memo.UTF8W").
QString componentTextName(const TfrxPropertyInfo &property)
{
    if (property.kind != TfrxPropertyKind::Lines)
        return property.name;
    QStringView name(property.name);
    for (QStringView suffix : {QStringView(u".UTF8W"), QStringView(u".Text")})
        if (name.endsWith(suffix))
            name.chop(suffix.size());
    return name.toString() + QStringLiteral(".Text");
}

bool lessIgnoringCase(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

const std::vector<Attribute> &attributeTable(const TfrxComponent &object)
{
    // Built once per class and kept for the life of the program, like the property tables; the
    // map's nodes stay where they are, so the tables handed out do too.
    static std::map<QString, std::vector<Attribute>> tables;
    const QString className = object.ClassName();
    if (const auto known = tables.find(className); known != tables.end())
        return known->second;
    std::vector<Attribute> table;
    for (const TfrxPropertyInfo &property : object.Properties())
        table.push_back({componentTextName(property), Target::Property, &property});
    const std::pair<const char16_t *, void (TfrxComponent::*)(double)> geometry[] = {
        {u"l", &TfrxComponent::SetLeft},
        {u"t", &TfrxComponent::SetTop},
        {u"w", &TfrxComponent::SetWidth},
        {u"h", &TfrxComponent::SetHeight},
    };
    for (const auto &[name, setter] : geometry)
        table.push_back({QString::fromUtf16(name), Target::Geometry, nullptr, setter});
    table.push_back({QStringLiteral("Font.Size"), Target::FontSize});
    if (dynamic_cast<const TfrxCustomMemoView *>(&object)) {
        table.push_back({QStringLiteral("u"), Target::MemoText});
        table.push_back({QStringLiteral("x"), Target::MemoText});
    }
    std::stable_sort(table.begin(), table.end(),
                     [](const Attribute &a, const Attribute &b) { return lessIgnoringCase(a.name, b.name); });
    return tables.emplace(className, std::move(table)).first->second;
}

const Attribute *findAttribute(const std::vector<Attribute> &table, QStringView name)
{
    const auto it = std::lower_bound(table.begin(), table.end(), name,
                                     [](const Attribute &a, QStringView key) { return lessIgnoringCase(a.name, key); });
    if (it == table.end() || it->name.compare(name, Qt::CaseInsensitive) != 0)
        return nullptr;
    return &*it;
}

void apply(TfrxComponent &object, const Attribute &attribute, const QString &value)
{
    switch (attribute.target) {
    case Target::Property:
        if (attribute.property->isReference())
            attribute.property->resolve(object, value, TfrxTreeResolver(object));
        else
            attribute.property->write(object, value);
        return;
    case Target::Geometry:
        (object.*attribute.setGeometry)(property_text::toFloat(value));
        return;
    case Target::MemoText:
        static_cast<TfrxCustomMemoView &>(object).SetMemo(property_text::toLines(value));
        return;
    case Target::FontSize: {
        TFont font = object.Font();
        font.SetSize(property_text::toInt(value));
        object.SetFont(font);
        return;
    }
    }
}

bool differs(const TfrxPropertyInfo &property, const TfrxComponent &object, const TfrxComponent &ancestor)
{
    if (property.kind == TfrxPropertyKind::Float)
        return std::abs(property.value(object).toDouble() - property.value(ancestor).toDouble()) >= floatTolerance;
    return property.read(object) != property.read(ancestor);
}

}  // namespace

QString TfrxXMLSerializer::ObjToXML(const TfrxComponent &object, const TfrxComponent *ancestor)
{
    if (ancestor && ancestor->ClassName() != object.ClassName())
        ancestor = nullptr;
    QString text;
    for (const TfrxPropertyInfo &property : object.Properties()) {
        // A property the object does not store at all (a font taken from the parent) is left
        // out; floats are written even at their default when there is no ancestor.
        if (!property.isStoredAtAll(object))
            continue;
        const bool write = ancestor ? differs(property, object, *ancestor)
                                    : property.kind == TfrxPropertyKind::Float || property.isStored(object);
        if (write)
            xmlAppendAttribute(text, componentTextName(property), property.read(object));
    }
    return text;
}

QString TfrxXMLSerializer::GetComponentText(const TfrxComponent &object)
{
    const QString attributes = ObjToXML(object);
    return attributes.isEmpty() ? object.ClassName() : object.ClassName() + u' ' + attributes;
}

namespace {

// Calls `use(name, decoded value)` for each pair of an attribute text.
template <class Use>
void forEachAttribute(QStringView attributes, Use use)
{
    qsizetype i = 0;
    const qsizetype n = attributes.size();
    while (true) {
        while (i < n && attributes[i] == u' ')
            ++i;
        if (i >= n)
            return;
        const qsizetype equals = attributes.indexOf(u'=', i);
        const qsizetype close =
            equals < 0 || equals + 1 >= n || attributes[equals + 1] != u'"' ? -1 : attributes.indexOf(u'"', equals + 2);
        if (close < 0)
            throw EngineError(reportText("badAttributeText").arg(attributes.sliced(i).toString()));
        use(attributes.sliced(i, equals - i), xmlDecodeValue(attributes.sliced(equals + 2, close - equals - 2)));
        i = close + 1;
    }
}

const Attribute &attributeOf(const TfrxComponent &object, const std::vector<Attribute> &table, QStringView name)
{
    const Attribute *attribute = findAttribute(table, name);
    if (!attribute)
        throw EngineError(reportText("unknownObjectAttribute").arg(name.toString(), object.ClassName()));
    return *attribute;
}

// Splits a component text into class name and attributes and creates an object of the class.
std::unique_ptr<TfrxComponent> createObject(QStringView &text)
{
    text = text.trimmed();
    const qsizetype blank = text.indexOf(u' ');
    const QString className = (blank < 0 ? text : text.first(blank)).toString();
    std::unique_ptr<TfrxComponent> object(frxCreateComponent(className, nullptr));
    if (!object)
        throw EngineError(reportText("unknownObjectClass").arg(className));
    text = blank < 0 ? QStringView() : text.sliced(blank + 1);
    return object;
}

}  // namespace

TfrxComponent *TfrxXMLSerializer::ReadComponentStr(TfrxComponent *parent, QStringView text)
{
    std::unique_ptr<TfrxComponent> object = createObject(text);
    ReadAttributes(*object, text);
    if (parent)
        object->SetParent(parent);
    return object.release();
}

void TfrxXMLSerializer::ReadAttributes(TfrxComponent &object, QStringView attributes)
{
    const std::vector<Attribute> &table = attributeTable(object);
    forEachAttribute(attributes, [&](QStringView name, const QString &value) {
        apply(object, attributeOf(object, table, name), value);
    });
}

ParsedComponentText::ParsedComponentText(QStringView text)
{
    // Each attribute is applied to a sample object once: that checks it and gives the typed
    // value the step sets later.
    std::unique_ptr<TfrxComponent> sample = createObject(text);
    className_ = sample->ClassName();
    const std::unique_ptr<TfrxComponent> fresh(frxCreateComponent(className_, nullptr));
    const std::vector<Attribute> &table = attributeTable(*sample);
    std::vector<bool> atDefault;
    forEachAttribute(text, [&](QStringView name, const QString &value) {
        const Attribute &attribute = attributeOf(*sample, table, name);
        apply(*sample, attribute, value);
        const TfrxPropertyInfo *property = attribute.property;
        if (attribute.target == Target::Property && !property->isReference()) {
            const Variant typed = property->value(*sample);
            atDefault.push_back(typed == property->value(*fresh));
            steps_.push_back([property, typed](TfrxComponent &o) { property->setValue(o, typed); });
        } else {
            atDefault.push_back(false);
            steps_.push_back([&attribute, value](TfrxComponent &o) { apply(o, attribute, value); });
        }
    });
    dropStepsWithoutEffect(atDefault, *sample);
}

void ParsedComponentText::dropStepsWithoutEffect(const std::vector<bool> &atDefault, const TfrxComponent &sample)
{
    std::vector<std::function<void(TfrxComponent &)>> needed;
    for (size_t i = 0; i < steps_.size(); ++i)
        if (!atDefault[i])
            needed.push_back(steps_[i]);
    if (needed.size() == steps_.size())
        return;
    // A setter may do more than set its value (a font clears ParentFont): the steps are only
    // left out when the object built without them writes the same text.
    const std::unique_ptr<TfrxComponent> lean(frxCreateComponent(className_, nullptr));
    try {
        for (const auto &step : needed)
            step(*lean);
    } catch (const EngineError &) {
        return;
    }
    if (TfrxXMLSerializer::GetComponentText(*lean) == TfrxXMLSerializer::GetComponentText(sample))
        steps_ = std::move(needed);
}

TfrxComponent *ParsedComponentText::Create(TfrxComponent *parent, QStringView attributes) const
{
    std::unique_ptr<TfrxComponent> object(frxCreateComponent(className_, nullptr));
    if (!object)
        throw EngineError(reportText("unknownObjectClass").arg(className_));
    for (const auto &step : steps_)
        step(*object);
    TfrxXMLSerializer::ReadAttributes(*object, attributes);
    if (parent)
        object->SetParent(parent);
    return object.release();
}

}  // namespace vornak
