#pragma once

// The component text form of a report object: its class name, one blank and its stored
// properties as attribute text (` Name="Memo1" Left="10" Memo.Text="a&#13;&#10;b"`). The prepared
// pages store keeps the full text of every source object once and rebuilds prepared objects
// from it.
//
// Writing gives one attribute per stored property that differs from its default, or, when an
// ancestor object is given, from the ancestor's value:
// - enumerations by identifier, other ordinals (integers, colours, sets) as decimal numbers,
//   Booleans as True/False, floats in the shortest form that reads back to the same value (a
//   float is always written without an ancestor; against one it is left out when it differs by
//   less than 0.000001);
// - text encoded with xmlEncodeValue; nested values dotted ("Font.Name", "Frame.Typ"); lists of
//   lines under the property name and ".Text", the lines joined with CR LF; references to other
//   components by name.
// Reading applies the attributes left to right, so a later one overrides an earlier one. Besides
// the property names it understands "l", "t", "w", "h" (Left, Top, Width, Height), "u" and "x"
// (a memo's text) and "Font.Size" (points).

#include <functional>
#include <QString>
#include <QStringView>
#include <vector>

namespace vornak {

class TfrxComponent;

// A component text read once for building many objects from it (the source objects of
// prepared pages): the class name and one step per attribute, each value already converted,
// without the steps that set what a new object has already. Building gives the same object as
// ReadComponentStr of the text, without reading it again.
class ParsedComponentText {
public:
    ParsedComponentText() = default;
    // Raises EngineError as ReadComponentStr does.
    explicit ParsedComponentText(QStringView text);

    // A new object of the class with the attributes applied, then `attributes` (read as text);
    // made the last child of `parent`.
    TfrxComponent *Create(TfrxComponent *parent, QStringView attributes) const;

private:
    // Leaves out the steps marked `atDefault` when that gives an object like `sample`.
    void dropStepsWithoutEffect(const std::vector<bool> &atDefault, const TfrxComponent &sample);

    QString className_;
    std::vector<std::function<void(TfrxComponent &)>> steps_;
};

class TfrxXMLSerializer {
public:
    // The attribute text of `object` (no class name), as the difference from `ancestor` or,
    // without one, from the defaults.
    static QString ObjToXML(const TfrxComponent &object, const TfrxComponent *ancestor = nullptr);
    // The class name, one blank and ObjToXML(object).
    static QString GetComponentText(const TfrxComponent &object);

    // Trims `text`, splits it at the first blank into class name and attributes, creates an
    // object of that class, applies the attributes and makes it the last child of `parent`
    // (which owns it; without a parent the caller does). The name is applied before the object
    // joins `parent`, so objects of one prepared page may share the name of their source.
    // An unknown class, attribute or value raises EngineError.
    static TfrxComponent *ReadComponentStr(TfrxComponent *parent, QStringView text);
    // Applies attribute text to an existing object.
    static void ReadAttributes(TfrxComponent &object, QStringView attributes);
};

}  // namespace vornak
