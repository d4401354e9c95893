// Layout: SetText measures every character of a paragraph once, with the measuring font (the
// memo's font at 600 per inch), and breaks the paragraph where the running width passes the line
// limit: at the last blank of the line, else before the character that overflows (a word wider
// than the line is cut), else after a single character wider than the line. "Character" is a
// unit of text_units.h: a code unit for plain text, else a whole character or a shaped word, so
// a break never splits a surrogate pair, a grapheme or a joined word.
//
// Drawing: PlaceLines maps the layout to the device. The block height predicted at 600 per inch
// is spread over the line gaps, and each line's predicted width over its character advances, by
// the halving rule; alignment works on the predicted widths. paintLine then puts every glyph at
// its own advance, so the device's own metrics never move a break or an edge; units that are not
// single glyphs of the font are drawn as text there, right-to-left runs placed right to left.

#include "report/draw/draw_text.h"

#include "report/draw/colors.h"
#include "report/draw/halving.h"
#include "report/draw/memo_drawing.h"
#include "report/draw/painter_state.h"
#include "report/draw/pdf_text_layer.h"
#include "report/draw/shaped_text.h"
#include "report/model/report.h"

#include <optional>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QRecursiveMutex>

#include <cstdlib>
#include <memory>

namespace vornak {

namespace {

QRecursiveMutex &drawTextMutex()
{
    static QRecursiveMutex mutex;
    return mutex;
}

}  // namespace

TfrxOutputDevice TfrxOutputDevice::of(const QPainter &canvas)
{
    TfrxOutputDevice device;
    if (const QPaintDevice *target = canvas.device()) {
        device.Printer = target->devType() == QInternal::Printer;
        device.LogPixelsX = target->logicalDpiX();
        device.LogPixelsY = target->logicalDpiY();
    }
    return device;
}

void TfrxDrawText::Lock()
{
    drawTextMutex().lock();
}

void TfrxDrawText::Unlock()
{
    drawTextMutex().unlock();
}

void TfrxDrawText::SetFont(const TFont &font)
{
    font_ = font;
    fontSize_ = font.Size();
    h600_ = std::abs(frxRound(fontSize_ * double(DefPPI) / 72));
    measureFont_ = &measureFonts_.get(font, h600_, true);
}

void TfrxDrawText::SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped, bool wysiwyg,
                              int rotation)
{
    wordWrap_ = wordWrap;
    htmlTags_ = htmlTags;
    rtlReading_ = rtlReading;
    wordBreak_ = wordBreak;
    clipped_ = clipped;
    wysiwyg_ = wysiwyg;
    rotation_ = ((rotation % 360) + 360) % 360;
}

void TfrxDrawText::SetGaps(double paragraphGap, double charSpacing, double lineSpacing)
{
    paragraphGap_ = paragraphGap;
    charSpacing_ = charSpacing;
    lineSpacing_ = lineSpacing;
}

void TfrxDrawText::SetDimensions(double scaleX, double scaleY, double printScale, const TfrxRect &originalRect,
                                 const TfrxRect &scaledRect)
{
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    printScale_ = printScale;
    originalRect_ = originalRect;
    scaledRect_ = scaledRect;
}

int TfrxDrawText::LineLimit(bool firstOfParagraph) const
{
    const double width = originalRect_.width();
    return frxRound((firstOfParagraph ? width - paragraphGap_ : width) * MeasureRatio);
}

void TfrxDrawText::SetText(const QStringList &lines)
{
    lines_.clear();
    plainText_.clear();
    for (const QString &line : lines) {
        const QString paragraph = line.isEmpty() ? QStringLiteral(" ") : line;
        const int start = int(plainText_.size());
        plainText_ += paragraph;
        plainText_ += QStringLiteral("\r\n");
        breakParagraph(paragraph, start);
    }
}

void TfrxDrawText::breakParagraph(const QString &paragraph, int start)
{
    if (!measureFont_)
        SetFont(font_);  // text set before any font: the default font
    TfrxCachedFont &font = *measureFont_;
    const int spacing = frxRound(charSpacing_ * MeasureRatio);
    const QList<TfrxTextUnit> units = frxTextUnits(paragraph);
    if (units.isEmpty()) {
        // Every character stands alone: advances_[i] is the running width of characters 0..i-1.
        const int length = int(paragraph.size());
        advances_.resize(length + 1);
        advances_[0] = 0;
        for (int i = 0; i < length; ++i)
            advances_[i + 1] = advances_[i] + font.advance(paragraph[i]) + spacing;
        breakUnits(
            paragraph, start, length, [](int i) { return i; }, units);
        return;
    }
    const int count = int(units.size());
    advances_.resize(count + 1);
    advances_[0] = 0;
    for (int i = 0; i < count; ++i) {
        const TfrxTextUnit &unit = units[i];
        const int advance =
            unit.Whole ? font.advance(paragraph.mid(unit.Start, unit.Length)) : font.advance(paragraph[unit.Start]);
        advances_[i + 1] = advances_[i] + advance + spacing;
    }
    breakUnits(
        paragraph, start, count,
        [&units, &paragraph](int i) { return i < units.size() ? units[i].Start : int(paragraph.size()); }, units);
}

// Breaks a paragraph of `count` units, unit i starting at code unit unitStart(i), with the running
// widths in advances_.
template <class UnitStart>
void TfrxDrawText::breakUnits(const QString &paragraph, int start, int count, const UnitStart &unitStart,
                              const QList<TfrxTextUnit> &units)
{
    const int firstLine = int(lines_.size());
    const auto addLine = [&](int from, int n) {
        TfrxWrappedLine line;
        const int begin = unitStart(from);
        line.Text = paragraph.mid(begin, unitStart(from + n) - begin);
        line.Start = start + begin;
        line.Width600 = advances_[from + n] - advances_[from];
        if (!units.isEmpty())
            line.Units = frxLineUnits(units, from, n);
        lines_.append(line);
    };

    int limit = LineLimit(true);
    if (!wordWrap_ || count < 2 || advances_[count] < limit) {
        addLine(0, count);
    } else {
        const int fullLimit = LineLimit(false);
        int lineStart = 0;
        int lastBlank = -1;  // the last blank of the current output line
        for (int i = 0; i < count; ++i) {
            if (paragraph[unitStart(i)] == u' ')
                lastBlank = i;
            if (advances_[i + 1] - advances_[lineStart] <= limit)
                continue;
            if (lastBlank >= lineStart) {
                addLine(lineStart, lastBlank - lineStart);
                lineStart = lastBlank + 1;
            } else if (i == lineStart) {
                addLine(i, 1);
                lineStart = i + 1;
            } else {
                addLine(lineStart, i - lineStart);
                lineStart = i;
            }
            limit = fullLimit;
            lastBlank = -1;
            i = lineStart - 1;  // scan the new line from its start
        }
        // Nothing is left after a break at the paragraph's last unit.
        if (lineStart < count)
            addLine(lineStart, count - lineStart);
    }
    lines_[firstLine].ParagraphStart = true;
    lines_.last().ParagraphEnd = true;
}

void TfrxDrawText::SetParaBreaks(bool firstParaBreak, bool lastParaBreak)
{
    if (lines_.isEmpty())
        return;
    if (firstParaBreak)
        lines_.first().ParagraphStart = false;
    if (lastParaBreak)
        lines_.last().ParagraphEnd = false;
}

int TfrxDrawText::DeviceFontHeight(const TfrxOutputDevice &device) const
{
    const double height =
        device.Printer ? device.LogPixelsY * fontSize_ * printScale_ / 72 : fontSize_ * scaleY_ * ScrPPI / 72;
    return std::abs(frxRound(height));
}

int TfrxDrawText::BlockHeight(const TfrxOutputDevice &device) const
{
    const int n = int(lines_.size());
    if (device.Printer)
        return frxRound(n * lineSpacing_ * scaleY_ + n * h600_ * device.LogPixelsY * printScale_ / DefPPI);
    return frxRound(n * (lineSpacing_ + h600_ / MeasureRatio) * scaleY_);
}

QList<TfrxPlacedLine> TfrxDrawText::PlaceLines(const TfrxOutputDevice &device, TfrxHAlign hAlign, TfrxVAlign vAlign)
{
    QList<TfrxPlacedLine> placed;
    const int n = int(lines_.size());
    if (n == 0)
        return placed;
    const int deviceHeight = DeviceFontHeight(device);
    TfrxCachedFont &font = deviceFonts_.get(font_, deviceHeight, false);
    const int spacing = frxRound(lineSpacing_ * scaleY_);

    // Vertical: the block has its predicted height; the line gaps absorb the difference.
    const int blockHeight = BlockHeight(device);
    QList<int> gaps(n - 1, spacing + deviceHeight);
    if (wysiwyg_)
        spreadEvenly(gaps, 0, n - 2, blockHeight - n * (deviceHeight + spacing));
    const int freeHeight = scaledRect_.height() - blockHeight;
    int y = scaledRect_.Top;
    if (vAlign == vaBottom)
        y += freeHeight;
    else if (vAlign == vaCenter)
        y += frxRound(freeHeight / 2.0);

    const int charSpacing600 = frxRound(charSpacing_ * MeasureRatio);
    const int charSpacing = frxRound(charSpacing_ * scaleX_);
    const bool boldOrItalic = (font_.Style & (fsBold | fsItalic)) != 0;
    for (int i = 0; i < n; ++i) {
        const TfrxWrappedLine &line = lines_[i];
        TfrxPlacedLine out;
        out.Text = line.Text;
        out.Y = y;
        if (i < n - 1)
            y += gaps[i];

        int left = scaledRect_.Left;
        int available = scaledRect_.width();
        if ((hAlign == haLeft || hAlign == haBlock) && line.ParagraphStart) {
            const int indent = frxRound(paragraphGap_ * scaleX_);
            left += indent;
            available -= indent;
        }
        out.Units = line.Units;
        const int count = int(line.Units.isEmpty() ? line.Text.size() : line.Units.size());
        out.Advances.resize(count);
        int measured = 0;
        for (int c = 0; c < count; ++c) {
            if (line.Units.isEmpty()) {
                out.Advances[c] = font.advance(line.Text[c]) + charSpacing;
            } else {
                const TfrxTextUnit &unit = line.Units[c];
                out.Advances[c] = (unit.Whole ? font.advance(line.Text.mid(unit.Start, unit.Length))
                                              : font.advance(line.Text[unit.Start])) +
                                  charSpacing;
            }
            measured += out.Advances[c];
        }
        const int width600 = line.Width600 - charSpacing600;
        int predicted = measured - charSpacing;
        if (wysiwyg_)
            predicted = device.Printer ? frxRound(double(width600) * printScale_ * device.LogPixelsX / DefPPI)
                                       : frxRound(width600 / MeasureRatio * scaleX_);
        const int freeWidth = available - predicted;
        out.X = left;
        if (hAlign == haRight)
            out.X = left + freeWidth - (boldOrItalic ? 1 : 0);
        else if (hAlign == haCenter)
            out.X = left + frxRound(freeWidth / 2.0);
        if (wysiwyg_)
            spreadEvenly(out.Advances, 0, count - 1, predicted + charSpacing - measured);
        placed.append(out);
    }
    return placed;
}

bool TfrxDrawText::fitsInside(const QList<TfrxPlacedLine> &lines, TfrxCachedFont &font) const
{
    const int overhang = font.pixelSize() / 4;
    for (const TfrxPlacedLine &line : lines) {
        int width = 0;
        for (const int advance : line.Advances)
            width += advance;
        if (line.X - overhang < scaledRect_.Left || line.X + width + overhang > scaledRect_.Right ||
            line.Y < scaledRect_.Top || line.Y + font.ascent() + font.descent() > scaledRect_.Bottom)
            return false;
    }
    return true;
}

void TfrxDrawText::paintLine(QPainter &canvas, TfrxCachedFont &font, const TfrxPlacedLine &line)
{
    if (!line.Units.isEmpty()) {
        paintUnits(canvas, font, line);
        return;
    }
    const int count = int(line.Text.size());
    if (count == 0)
        return;
    const qreal baseline = line.Y + font.ascent();
    QList<quint32> glyphs(count);
    bool complete = font.rawFont().isValid();
    for (int c = 0; c < count && complete; ++c) {
        glyphs[c] = font.glyph(line.Text[c]);
        complete = glyphs[c] != 0;
    }
    if (complete) {
        QList<QPointF> positions(count);
        qreal x = line.X;
        for (int c = 0; c < count; ++c) {
            positions[c] = QPointF(x, baseline);
            x += line.Advances[c];
        }
        drawGlyphs(canvas, font, glyphs, positions);
        return;
    }
    // Characters the font lacks: one at a time, in the platform's fallback fonts.
    int x = line.X;
    for (int c = 0; c < count; ++c) {
        drawShaped(canvas, font, QString(line.Text[c]), false, QPointF(x, baseline));
        x += line.Advances[c];
    }
}

void TfrxDrawText::paintUnits(QPainter &canvas, TfrxCachedFont &font, const TfrxPlacedLine &line)
{
    // Single characters the font holds go into one glyph run; every other unit is drawn as text,
    // shaped and in its own direction, at the place its advance gives it.
    const qreal baseline = line.Y + font.ascent();
    const QList<int> left = frxVisualPositions(line.Units, line.Text, line.Advances, line.X);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QList<int> asText;
    const bool raw = font.rawFont().isValid();
    for (int u = 0; u < line.Units.size(); ++u) {
        const TfrxTextUnit &unit = line.Units[u];
        const quint32 glyph = raw && !unit.Whole ? font.glyph(line.Text[unit.Start]) : 0;
        if (glyph != 0) {
            glyphs << glyph;
            positions << QPointF(left[u], baseline);
        } else if (!unit.Blank) {
            asText << u;
        }
    }
    if (!glyphs.isEmpty())
        drawGlyphs(canvas, font, glyphs, positions);
    for (const int u : asText) {
        const TfrxTextUnit &unit = line.Units[u];
        drawShaped(canvas, font, line.Text.mid(unit.Start, unit.Length), unit.RightToLeft, QPointF(left[u], baseline));
    }
}

void TfrxDrawText::drawShaped(QPainter &canvas, TfrxCachedFont &font, const QString &text, bool rightToLeft,
                              const QPointF &origin)
{
    const QList<QGlyphRun> runs = frxShapedRuns(text, font.font(), rightToLeft, canvas.device());
    for (const QGlyphRun &run : runs) {
        canvas.drawGlyphRun(origin, run);
        frxNoteGlyphs(canvas.device(), run.rawFont(), run.glyphIndexes(), frxGlyphTexts(run, text, runs.size() == 1));
    }
}

void TfrxDrawText::drawGlyphs(QPainter &canvas, TfrxCachedFont &font, const QList<quint32> &glyphs,
                              const QList<QPointF> &positions)
{
    QGlyphRun run;
    run.setRawFont(font.rawFont());
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(font.font().underline());
    run.setStrikeOut(font.font().strikeOut());
    canvas.drawGlyphRun(QPointF(0, 0), run);
    frxNoteGlyphs(canvas.device(), run.rawFont(), glyphs);
}

void TfrxDrawText::DrawText(QPainter &canvas, TfrxHAlign hAlign, TfrxVAlign vAlign)
{
    const TfrxOutputDevice device = TfrxOutputDevice::of(canvas);
    const QList<TfrxPlacedLine> placed = PlaceLines(device, hAlign, vAlign);
    if (placed.isEmpty())
        return;
    TfrxCachedFont &font = deviceFonts_.get(font_, DeviceFontHeight(device), false);
    // The painter's state is saved only around a clip: saving and restoring it for every memo costs
    // a state change in every output (a PDF writes each one out).
    std::optional<PainterState> clipState;
    if (clipped_ && !fitsInside(placed, font)) {
        clipState.emplace(canvas);
        canvas.setClipRect(scaledRect_.toQRect(), canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    canvas.setPen(frxQColor(font_.Color));
    canvas.setBackgroundMode(Qt::TransparentMode);
    for (const TfrxPlacedLine &line : placed)
        paintLine(canvas, font, line);
}

double TfrxDrawText::TextHeight() const
{
    return h600_ / MeasureRatio;
}

double TfrxDrawText::LineHeight() const
{
    return TextHeight() + lineSpacing_;
}

double TfrxDrawText::CalcHeight() const
{
    if (lines_.isEmpty())
        return 0;
    double height = lines_.size() * LineHeight();
    if (lineSpacing_ < 0)
        height -= lineSpacing_;  // no spacing below the last line
    return height;
}

double TfrxDrawText::CalcWidth() const
{
    const int gap = frxRound(paragraphGap_ * MeasureRatio);
    int widest = 0;
    for (const TfrxWrappedLine &line : lines_)
        widest = qMax(widest, line.Width600 + (line.ParagraphStart ? gap : 0));
    return widest / MeasureRatio;
}

int TfrxDrawText::fitLineCount() const
{
    const double available = originalRect_.height();
    const double lineHeight = LineHeight();
    int count = 0;
    while (count < lines_.size() && (count + 1) * lineHeight <= available + 1e-9)
        ++count;
    return count;
}

double TfrxDrawText::UnusedSpace() const
{
    const int count = fitLineCount();
    if (count == 0)
        return 0;
    const double unused = originalRect_.height() - count * LineHeight();
    return unused < 1e-9 ? 0.0001 : unused;
}

QString TfrxDrawText::GetInBoundsText() const
{
    const int count = fitLineCount();
    if (count == 0)
        return QString();
    const TfrxWrappedLine &last = lines_[count - 1];
    return plainText_.left(last.Start + last.Text.size());
}

QString TfrxDrawText::GetOutBoundsText(bool &paraBreak) const
{
    const int count = fitLineCount();
    paraBreak = false;
    if (count >= lines_.size())
        return QString();
    const TfrxWrappedLine &first = lines_[count];
    paraBreak = !first.ParagraphStart;
    QString rest = plainText_.mid(first.Start);
    rest.chop(2);  // the last line's CR LF
    return rest;
}

double TfrxDrawText::CalcHeight(const TfrxCustomMemoView &memo)
{
    return frxMemoCalcHeight(memo, *this);
}

double TfrxDrawText::CalcWidth(const TfrxCustomMemoView &memo)
{
    return frxMemoCalcWidth(memo, *this);
}

TfrxDrawText &frxDrawText()
{
    static TfrxDrawText engine;
    return engine;
}

TfrxDrawText &frxDrawText(TfrxReport &report)
{
    auto *engine = dynamic_cast<TfrxDrawText *>(report.DrawText());
    if (!engine) {
        auto created = std::make_unique<TfrxDrawText>();
        engine = created.get();
        report.SetDrawText(std::move(created));
    }
    return *engine;
}

TfrxDrawText &frxDrawTextFor(const TfrxComponent &object)
{
    if (const TfrxReport *report = object.Report())
        if (auto *engine = dynamic_cast<TfrxDrawText *>(report->DrawText()))
            return *engine;
    return frxDrawText();
}

}  // namespace vornak
