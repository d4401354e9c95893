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

#include <QString>

namespace vornak {

class TfrxComponent;

QString frxDiff(const TfrxComponent &object, const TfrxComponent &source);

}  // namespace vornak
