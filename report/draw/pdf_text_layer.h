#pragma once

// The text layer of the PDF documents the report writes. The platform's PDF writer maps every
// glyph back to text through its font's character table, and reads only the characters of the
// Basic Multilingual Plane from it: a glyph drawn for a character beyond (𝐀, an emoji) would be
// found and copied as nothing. The text drawing tells the document which text each glyph it draws
// stands for; when the document ends, the fonts' character maps are amended with the glyphs the
// writer left without text, in an update appended to the file (the way a PDF is amended).
//
// The writer numbers the glyphs of each font in the order they are first drawn, so the document
// follows every glyph drawn on it; a font whose glyph widths in the file do not match what was
// followed is left as the writer made it.

#include <QList>
#include <QString>

#include <memory>

class QIODevice;
class QPaintDevice;
class QPainter;
class QPdfWriter;
class QRawFont;

namespace vornak {

class TfrxPdfTextLayer;

// A PDF document written to `target` (open for writing, at its start) with its text layer kept.
class TfrxPdfDocument {
public:
    explicit TfrxPdfDocument(QIODevice &target);
    ~TfrxPdfDocument();
    TfrxPdfDocument(const TfrxPdfDocument &) = delete;
    TfrxPdfDocument &operator=(const TfrxPdfDocument &) = delete;

    QPdfWriter &writer();
    // Ends `canvas`, the painter on writer(), and appends the text layer; false when the target
    // could not take it.
    bool end(QPainter &canvas);

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

// Notes glyphs drawn on `device` when it is the writer of a TfrxPdfDocument; `texts`, when given,
// holds the text each glyph stands for (empty where unknown).
void frxNoteGlyphs(const QPaintDevice *device, const QRawFont &font, const QList<quint32> &glyphs,
                   const QList<QString> &texts = {});

}  // namespace vornak
