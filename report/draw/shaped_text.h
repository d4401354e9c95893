#pragma once

// Text the platform shapes: a grapheme, a character the report font lacks or a word of a script
// whose letters join, laid out as the platform would draw it (in whichever fonts hold its
// characters, in its own direction) and handed back as glyph runs, so that the drawing puts the
// glyphs itself and knows which text each one stands for.

#include <QGlyphRun>
#include <QList>
#include <QString>

class QFont;
class QPaintDevice;

namespace vornak {

// The glyph runs of `text` in `font` on `device`: the left edge of the text at x = 0, the
// baseline at y = 0.
QList<QGlyphRun> frxShapedRuns(const QString &text, const QFont &font, bool rightToLeft, QPaintDevice *device);

// The text each glyph of `run`, a run of `text`, stands for: a glyph that a single character of
// the text maps to stands for that character; the one glyph of a run that is the whole text
// (`wholeText`) for all of it; any other glyph for nothing (an empty string).
QList<QString> frxGlyphTexts(const QGlyphRun &run, const QString &text, bool wholeText);

}  // namespace vornak
