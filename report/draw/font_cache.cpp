#include "report/draw/font_cache.h"

namespace vornak {

namespace {

QFont qtFont(const TFont &font, int pixelSize, bool measuring)
{
    QFont f(font.Name);
    f.setPixelSize(qMax(pixelSize, 1));
    f.setBold((font.Style & fsBold) != 0);
    f.setItalic((font.Style & fsItalic) != 0);
    f.setUnderline((font.Style & fsUnderline) != 0);
    f.setStrikeOut((font.Style & fsStrikeOut) != 0);
    f.setKerning(false);
    if (measuring)
        f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

}  // namespace

TfrxCachedFont::TfrxCachedFont(const TFont &font, int pixelSize, bool measuring)
    : font_(qtFont(font, pixelSize, measuring)),
      metrics_(font_)
{
}

const QRawFont &TfrxCachedFont::rawFont()
{
    if (!rawMade_) {
        raw_ = QRawFont::fromFont(font_);
        rawMade_ = true;
    }
    return raw_;
}

int TfrxCachedFont::advance(QChar c)
{
    const auto found = advances_.constFind(c.unicode());
    if (found != advances_.constEnd())
        return *found;
    const int value = metrics_.horizontalAdvance(c);
    advances_.insert(c.unicode(), value);
    return value;
}

int TfrxCachedFont::advance(const QString &unit)
{
    const auto found = unitAdvances_.constFind(unit);
    if (found != unitAdvances_.constEnd())
        return *found;
    const int value = metrics_.horizontalAdvance(unit);
    if (unitAdvances_.size() >= maxUnits)
        unitAdvances_.clear();  // a text of many different words: start over
    unitAdvances_.insert(unit, value);
    return value;
}

quint32 TfrxCachedFont::glyph(QChar c)
{
    const auto found = glyphs_.constFind(c.unicode());
    if (found != glyphs_.constEnd())
        return *found;
    quint32 index = 0;
    int count = 1;
    const QRawFont &raw = rawFont();
    if (raw.isValid() && !c.isSurrogate())
        raw.glyphIndexesForChars(&c, 1, &index, &count);
    glyphs_.insert(c.unicode(), index);
    return index;
}

TfrxCachedFont &TfrxFontCache::get(const TFont &font, int pixelSize, bool measuring)
{
    const Key key{font.Name, font.Style, pixelSize, measuring};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        if (fonts_.size() >= maxFonts)
            fonts_.clear();
        found = fonts_.emplace(key, std::make_unique<TfrxCachedFont>(font, pixelSize, measuring)).first;
    }
    return *found->second;
}

}  // namespace vornak
