#include "grid/indicator_glyphs.h"

#include <array>

namespace vornak {

namespace {

constexpr int glyphWidth = 6;
constexpr int glyphHeight = 11;
using Pattern = std::array<const char *, glyphHeight>;

// '#' is a black pixel; everything else is the transparent white of the bitmaps.
constexpr Pattern patterns[] = {
    // DBGARROWEH: a solid triangle pointing right
    {"#.....", "##....", "###...", "####..", "#####.", "######", "#####.", "####..", "###...", "##....", "#....."},
    // DBEDITEH: an I-beam
    {"##.##.", "..#...", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..#...", "##.##."},
    // DBINSERTEH: a six-armed asterisk
    {"......", "......", "..##..", "#.##.#", ".####.", "..##..", ".####.", "#.##.#", "..##..", "......", "......"},
    // DBMULTIARROWEH: an outlined arrow
    {"#.....", "##....", "#.#...", "#..#..", "#...#.", "#....#", "#...#.", "#..#..", "#.#...", "##....", "#....."},
    // DBMULTIDOTEH: a filled dot
    {"......", "......", "......", "......", "..##..", ".####.", ".####.", "..##..", "......", "......", "......"},
};

QImage makeGlyph(const Pattern &pattern)
{
    QImage image(glyphWidth, glyphHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < glyphHeight; ++y) {
        for (int x = 0; x < glyphWidth; ++x) {
            if (pattern[y][x] == '#')
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    return image;
}

}  // namespace

const QImage &indicatorGlyph(IndicatorGlyph glyph)
{
    static const std::array<QImage, 5> glyphs = {makeGlyph(patterns[0]), makeGlyph(patterns[1]), makeGlyph(patterns[2]),
                                                 makeGlyph(patterns[3]), makeGlyph(patterns[4])};
    return glyphs[int(glyph)];
}

}  // namespace vornak
