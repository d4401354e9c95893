#pragma once

// The units text is laid out and drawn in. Text made only of characters that stand alone (Latin,
// Cyrillic, Greek and the like) has one unit per UTF-16 code unit, as it always had. Anything
// else is cut into whole characters: a surrogate pair or a character with its combining marks
// (a grapheme) is one unit, and a word of a script whose letters join or run right to left is
// one unit, shaped as a whole. Lines break only between units.

#include <QList>
#include <QString>
#include <QStringView>

namespace vornak {

struct TfrxTextUnit {
    int Start = 0;             // position of its first code unit in the text it was cut from
    int Length = 1;            // code units
    bool Whole = false;        // drawn as text by the platform (shaped, any font), not glyph by glyph
    bool RightToLeft = false;  // its first strongly directed character runs right to left
    bool Blank = false;        // the blank (code 32) lines break at
};

// True when every code unit of `text` is a unit of its own.
bool frxIsPlainText(QStringView text);

// The units of `text`; empty when it is plain (one unit per code unit).
QList<TfrxTextUnit> frxTextUnits(QStringView text);

// The units of a line cut from a text at `from`, `count` units long, positioned in the line.
QList<TfrxTextUnit> frxLineUnits(const QList<TfrxTextUnit> &units, int from, int count);

// The left edge of every unit when a line whose units have the widths `advances` starts at `x`:
// left to right, except that runs of right-to-left units (with the numbers and neutral marks
// between them) are placed right to left, a number keeping its own order.
QList<int> frxVisualPositions(const QList<TfrxTextUnit> &units, QStringView line, const QList<int> &advances, int x);

}  // namespace vornak
