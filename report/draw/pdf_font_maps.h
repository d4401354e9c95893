#pragma once

// The fonts at the end of a PDF the platform's writer made, read back, and the update that
// amends them: each embedded font's glyph widths and the text its character map (ToUnicode) gives
// each glyph, written anew and appended with a cross-reference section of its own.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>

#include <optional>

namespace vornak {

struct TfrxPdfFont {
    QByteArray Name;              // the font's PostScript name
    int CharMap = 0;              // object number of its character map
    QList<int> Widths;            // by glyph, in thousandths of the em
    QMap<int, QByteArray> Texts;  // by glyph: the text in UTF-16, big-endian
};

struct TfrxPdfTrailer {
    int Size = 0;
    QByteArray Root;  // "N G R"
    QByteArray Info;  // "N G R", or empty
    qint64 CrossReference = 0;
};

// The fonts defined in `tail`, the end of a document; fonts whose objects are not all there, or
// not in the form the writer gives them, are left out.
QList<TfrxPdfFont> frxPdfFonts(QByteArrayView tail);

// The trailer of the document `tail` ends.
std::optional<TfrxPdfTrailer> frxPdfTrailer(QByteArrayView tail);

// The character map stream that gives every glyph of `texts` its text.
QByteArray frxCharMap(const QMap<int, QByteArray> &texts);

// An update that replaces the streams `streams` (object number → content) of a document of
// `documentSize` bytes whose trailer is `trailer`.
QByteArray frxPdfUpdate(const QMap<int, QByteArray> &streams, const TfrxPdfTrailer &trailer, qint64 documentSize);

}  // namespace vornak
