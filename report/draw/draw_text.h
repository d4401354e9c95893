#pragma once

// The text layout engine of report memos. Text is laid out once, at a fixed measuring resolution
// of 600 per inch that does not depend on the output device: per-character advances of the real
// font at that resolution decide the line breaks. Every device then reproduces that layout: the
// lines are the same at any zoom and on paper, and on each line the characters are spread so the
// line has the width the measuring resolution predicts.
//
// One engine is shared by every memo; Lock and Unlock (a process-wide lock) bracket each complete
// use, always in this order: Lock, SetFont, SetOptions, SetGaps, SetDimensions, SetText
// (SetParaBreaks), then DrawText and the measuring calls, then Unlock.

#include "report/draw/font_cache.h"
#include "report/draw/text_units.h"
#include "report/draw/view_geometry.h"
#include "report/model/custom_draw_text.h"
#include "report/model/font.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class QPainter;

namespace vornak {

class TfrxComponent;
class TfrxReport;

// One output line of the layout.
struct TfrxWrappedLine {
    QString Text;
    int Start = 0;     // position of its first character in the plain text
    int Width600 = 0;  // measured width, character spacing included, in measuring units
    bool ParagraphStart = false;
    bool ParagraphEnd = false;
    QList<TfrxTextUnit> Units;  // its units (frxTextUnits); empty: one per code unit
};

// The output device as the layout sees it: the printer's canvas takes its font heights and
// widths from the device resolution, every other canvas from the scale.
struct TfrxOutputDevice {
    bool Printer = false;
    int LogPixelsX = 96;
    int LogPixelsY = 96;

    static TfrxOutputDevice of(const QPainter &canvas);
};

// One line placed on the device: its top-left corner and the advance of every unit (of every
// character when the line is plain).
struct TfrxPlacedLine {
    QString Text;
    int X = 0;
    int Y = 0;
    QList<int> Advances;
    QList<TfrxTextUnit> Units;  // empty: one per code unit
};

// The report holds one engine (TfrxReport::SetDrawText); objects outside a report share the
// process-wide one.
class TfrxDrawText : public TfrxCustomDrawText {
public:
    static constexpr int DefPPI = 600;                               // measuring resolution
    static constexpr int ScrPPI = 96;                                // report resolution
    static constexpr double MeasureRatio = double(DefPPI) / ScrPPI;  // 6.25

    // The process-wide lock around every complete use of an engine (re-entrant).
    static void Lock();
    static void Unlock();

    void SetFont(const TFont &font);
    void SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped, bool wysiwyg,
                    int rotation);
    void SetGaps(double paragraphGap, double charSpacing, double lineSpacing);
    void SetDimensions(double scaleX, double scaleY, double printScale, const TfrxRect &originalRect,
                       const TfrxRect &scaledRect);
    // Breaks the memo lines into output lines against the unscaled rectangle's width.
    void SetText(const QStringList &lines);
    // A first (last) paragraph break marks the text as the continuation (the cut-off start) of a
    // paragraph: the first line then starts no paragraph (the last line ends none).
    void SetParaBreaks(bool firstParaBreak, bool lastParaBreak);

    // The report's interface: measuring a memo with this engine.
    double CalcHeight(const TfrxCustomMemoView &memo) override;
    double CalcWidth(const TfrxCustomMemoView &memo) override;

    // Draws the output lines into the scaled rectangle.
    void DrawText(QPainter &canvas, TfrxHAlign hAlign, TfrxVAlign vAlign);
    // Where DrawText puts each line on `device` (computed apart from painting).
    QList<TfrxPlacedLine> PlaceLines(const TfrxOutputDevice &device, TfrxHAlign hAlign, TfrxVAlign vAlign);
    // The ideal height of the text block on `device`, in device pixels.
    int BlockHeight(const TfrxOutputDevice &device) const;
    // The pixel height of the font text is drawn with on `device`.
    int DeviceFontHeight(const TfrxOutputDevice &device) const;

    // Measuring, in report pixels.
    double TextHeight() const;
    double LineHeight() const;
    double CalcHeight() const;
    double CalcWidth() const;
    // The height left below the last whole line that fits the unscaled rectangle: 0 when not even
    // one line fits, 0.0001 when the lines fill it exactly.
    double UnusedSpace() const;
    // The part of the text whose lines fit the unscaled rectangle, and the rest; `paraBreak` tells
    // whether the rest starts inside a paragraph.
    QString GetInBoundsText() const;
    QString GetOutBoundsText(bool &paraBreak) const;

    // Inspection.
    const QList<TfrxWrappedLine> &WrappedLines() const { return lines_; }
    const QString &PlainText() const { return plainText_; }
    // The line limit in measuring units for a paragraph's first line and for the following ones.
    int LineLimit(bool firstOfParagraph) const;
    int MeasuringFontHeight() const { return h600_; }
    const TfrxRect &OriginalRect() const { return originalRect_; }
    const TfrxRect &ScaledRect() const { return scaledRect_; }

private:
    int fitLineCount() const;
    void breakParagraph(const QString &paragraph, int start);
    template <class UnitStart>
    void breakUnits(const QString &paragraph, int start, int count, const UnitStart &unitStart,
                    const QList<TfrxTextUnit> &units);
    // True when every line's character cells, with some room for overhanging glyphs, lie inside
    // the scaled rectangle, so clipping would change nothing.
    bool fitsInside(const QList<TfrxPlacedLine> &lines, TfrxCachedFont &font) const;
    static void paintLine(QPainter &canvas, TfrxCachedFont &font, const TfrxPlacedLine &line);
    static void paintUnits(QPainter &canvas, TfrxCachedFont &font, const TfrxPlacedLine &line);
    static void drawShaped(QPainter &canvas, TfrxCachedFont &font, const QString &text, bool rightToLeft,
                           const QPointF &origin);
    static void drawGlyphs(QPainter &canvas, TfrxCachedFont &font, const QList<quint32> &glyphs,
                           const QList<QPointF> &positions);

    TFont font_;                             // the memo's font
    int fontSize_ = 10;                      // its size in points
    TfrxCachedFont *measureFont_ = nullptr;  // height -round(size x 600 / 72), from measureFonts_
    int h600_ = 0;                           // measuring font height (positive)
    bool wordWrap_ = true;
    bool htmlTags_ = false;
    bool rtlReading_ = false;
    bool wordBreak_ = false;
    bool clipped_ = true;
    bool wysiwyg_ = true;
    int rotation_ = 0;         // degrees, 0..359
    double paragraphGap_ = 0;  // report pixels
    double charSpacing_ = 0;
    double lineSpacing_ = 0;
    double scaleX_ = 1;
    double scaleY_ = 1;
    double printScale_ = 1;  // scales fonts and widths on the printer in scale mode
    TfrxRect originalRect_;  // the text rectangle at scale 1, offset 0
    TfrxRect scaledRect_;    // the text rectangle on the device
    QList<TfrxWrappedLine> lines_;
    QString plainText_;    // the memo lines, each followed by CR LF
    QList<int> advances_;  // running widths of the units of the paragraph being broken
    TfrxFontCache measureFonts_;
    TfrxFontCache deviceFonts_;
};

// The engine objects outside a report share.
TfrxDrawText &frxDrawText();
// The engine of `report`, created there on first use.
TfrxDrawText &frxDrawText(TfrxReport &report);
// The engine for `object`: its report's, else the shared one.
TfrxDrawText &frxDrawTextFor(const TfrxComponent &object);

// Holds the engine's lock for its lifetime.
class TfrxDrawTextLock {
public:
    TfrxDrawTextLock() { TfrxDrawText::Lock(); }
    ~TfrxDrawTextLock() { TfrxDrawText::Unlock(); }
    TfrxDrawTextLock(const TfrxDrawTextLock &) = delete;
    TfrxDrawTextLock &operator=(const TfrxDrawTextLock &) = delete;
};

}  // namespace vornak
