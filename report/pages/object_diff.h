#pragma once

// The difference between a prepared object and the source object it was printed from: the
// attribute text a prepared page keeps for it (the `Diff` of a report object).
//
// Geometry comes first under one-letter names: "l" (Left), "t" (Top, always written for bands),
// "w" (Width, not for a memo with AutoWidth), "h" (Height); then "Visible", the font when the
// object has its own ("Font.Name", "Font.Height", "Font.Color", "Font.Style" as the bit sum,
// "Font.Charset"), "ParentFont", "Tag"; a view's Align, BrushStyle, Color, Cursor, Printable,
// TagStr, URL and frame; a memo's layout and format attributes, and always its text as "u" (the
// lines joined with CR LF, empty for no lines). Only attributes whose values differ are
// written, except "t" of bands and "u".

#include "platform/variant.h"

#include <QString>
#include <vector>

namespace vornak {

class TfrxComponent;
struct TfrxPropertyInfo;

// What every prepared instance of one source object is compared with: the source's compared
// values, read once. The prepared pages store keeps one for each source copy, which does not
// change while pages are prepared; reading the source again for each of its many instances
// would double the work of every difference.
class TfrxDiffBase {
public:
    explicit TfrxDiffBase(const TfrxComponent &source);

    const TfrxComponent &source() const { return *source_; }

private:
    friend QString frxDiff(const TfrxComponent &object, const TfrxDiffBase &base);

    const TfrxComponent *source_;
    const std::vector<const TfrxPropertyInfo *> *properties_;  // compared for the source's class
    std::vector<Variant> fontValues_;                          // its own font's attributes
    std::vector<Variant> propertyValues_;                      // in the order of *properties_
};

QString frxDiff(const TfrxComponent &object, const TfrxDiffBase &base);
QString frxDiff(const TfrxComponent &object, const TfrxComponent &source);

}  // namespace vornak
