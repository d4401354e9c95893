#pragma once

#include "report/model/font.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRawFont>

#include <map>
#include <memory>
#include <tuple>

namespace vornak {

// A report font at one pixel size, with the advance and glyph of every character it was asked
// for remembered: layout and drawing ask for the same few fonts and characters again and again.
class TfrxCachedFont {
public:
    TfrxCachedFont(const TFont &font, int pixelSize, bool measuring);

    const QFont &font() const { return font_; }
    int pixelSize() const { return font_.pixelSize(); }
    int ascent() const { return metrics_.ascent(); }
    int descent() const { return metrics_.descent(); }
    const QRawFont &rawFont();
    // The advance of `c` in whole pixels.
    int advance(QChar c);
    // The advance of a unit drawn whole (shaped, in whatever fonts hold its characters).
    int advance(const QString &unit);
    // The glyph of `c` in the font itself; 0 when the font lacks it.
    quint32 glyph(QChar c);

private:
    QFont font_;
    QFontMetrics metrics_;
    QRawFont raw_;  // made on first use
    bool rawMade_ = false;
    QHash<char16_t, int> advances_;
    static constexpr qsizetype maxUnits = 4096;
    QHash<QString, int> unitAdvances_;
    QHash<char16_t, quint32> glyphs_;
};

// The fonts in use, by name, style and pixel size; measuring fonts are unhinted.
class TfrxFontCache {
public:
    TfrxCachedFont &get(const TFont &font, int pixelSize, bool measuring);

private:
    using Key = std::tuple<QString, int, int, bool>;
    static constexpr size_t maxFonts = 64;  // zooming makes new sizes: start over beyond this
    std::map<Key, std::unique_ptr<TfrxCachedFont>> fonts_;
};

}  // namespace vornak
