#include "draw_test_support.h"
#include "report/draw/draw_text.h"
#include "report/draw/halving.h"
#include "report/draw/memo_drawing.h"
#include "report/draw/pdf_text_layer.h"
#include "report/model/report.h"
#include "report/model/report_page.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <numeric>

using namespace vornak;
using namespace vornak::test;

namespace {

TFont arial(TFontStyles style = 0)
{
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Height = bodyFont;
    font.Style = style;
    return font;
}

// An engine laid out as a memo of the period report would be, in `rect` at scale `scale`.
struct Layout {
    TfrxDrawText engine;

    Layout(const QStringList &lines, const TfrxRect &rect, TFontStyles style = 0, bool wordWrap = true,
           double lineSpacing = 2, double scale = 1)
    {
        engine.SetFont(arial(style));
        engine.SetOptions(wordWrap, false, false, false, true, true, 0);
        engine.SetGaps(0, 0, lineSpacing);
        const TfrxRect scaled{int(rect.Left * scale), int(rect.Top * scale), int(rect.Right * scale),
                              int(rect.Bottom * scale)};
        engine.SetDimensions(scale, scale, 1, rect, scaled);
        engine.SetText(lines);
    }

    QStringList texts() const
    {
        QStringList out;
        for (const TfrxWrappedLine &line : engine.WrappedLines())
            out << line.Text;
        return out;
    }
};

// Width of `text` on one line, in measuring units.
int measure600(const QString &text)
{
    return Layout({text}, TfrxRect{0, 0, 10, 10}, 0, false).engine.WrappedLines().first().Width600;
}

int sum(const QList<int> &values)
{
    return std::accumulate(values.begin(), values.end(), 0);
}

}  // namespace

TEST(Halving, SpreadsUnitsAsTheRuleSays)
{
    struct Case {
        int positions;
        int amount;
        QList<int> expected;
    };
    const Case cases[] = {
        {10, 1, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
        {4, 3, {1, 0, 1, 1}},
        {3, 7, {3, 2, 2}},  // 7 div 3 each, the remaining unit to the first half
        {4, -5, {-1, -2, -1, -1}},
        {1, 1, {1}},
        {5, 0, {0, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        QList<int> values(c.positions, 0);
        spreadEvenly(values, 0, c.positions - 1, c.amount);
        EXPECT_EQ(values, c.expected) << c.positions << " positions, " << c.amount;
    }
}

TEST(ViewGeometry, DeviceRectanglesRoundHalvesToEven)
{
    struct Case {
        double left, width, frameWidth, scale, offset;
        bool shadow;
        TfrxViewRect expected;
    };
    const Case cases[] = {
        {10.5, 21, 1, 1, 0, false, {10, 0, 32, 20, 1}},  // 10.5 -> 10, 31.5 -> 32
        {0.25, 1, 1.5, 2, 0, false, {0, 0, 2, 40, 3}},   // 0.5 -> 0, 2.5 -> 2, frame 3
        {0, 10, 2.5, 1, 0.5, false, {0, 0, 10, 20, 2}},  // 0.5 -> 0, 10.5 -> 10, frame 2.5 -> 2
        {26, 201, 1, 1, 0, true, {26, 0, 223, 16, 1}},   // the drop shadow is taken off
    };
    for (const Case &c : cases) {
        TfrxMemoView memo;
        memo.SetBounds(c.left, 0, c.width, 20);
        memo.Frame().SetWidth(c.frameWidth);
        memo.Frame().SetDropShadow(c.shadow);
        const TfrxDrawScale scale{c.scale, c.scale, c.offset, 0};
        EXPECT_EQ(frxViewRect(memo, scale), c.expected) << c.left << " " << c.scale;
    }
}

TEST(DrawTextLayout, FramedMemoOf201PixelsHasTheLineLimit1238)
{
    TfrxMemoView memo;
    memo.SetBounds(26, 0, 201, 22.67718);
    memo.Frame().SetTyp(fullFrame);
    const TfrxViewRect rect = frxViewRect(memo, {});
    EXPECT_EQ(rect.X0, 26);
    EXPECT_EQ(rect.X1, 227);
    const TfrxRect text = frxMemoTextRect(memo, rect, {});
    EXPECT_EQ(text.Left, 28);
    EXPECT_EQ(text.Right, 226);
    int firstLimit = 0, limit = 0;
    frxUseMemoLayout(memo, text, [&](TfrxDrawText &engine) {
        firstLimit = engine.LineLimit(true);
        limit = engine.LineLimit(false);
    });
    EXPECT_EQ(firstLimit, 1238);  // 198 x 6.25 = 1237.5, halves to even
    EXPECT_EQ(limit, 1238);
}

TEST(DrawTextLayout, BreaksAtBlanksAndInsideWordsAsWritten)
{
    // At the last blank that keeps the line within the limit.
    const int twoWords = measure600(QStringLiteral("один два"));
    const int width = int(std::ceil(twoWords / TfrxDrawText::MeasureRatio));
    EXPECT_EQ(Layout({QStringLiteral("один два три")}, {0, 0, width, 100}).texts(),
              QStringList({QStringLiteral("один два"), QStringLiteral("три")}));

    // A word wider than the memo is cut where the next character would pass the limit.
    const QString word = QStringLiteral("Превосходительство");
    Layout cut({word}, {0, 0, 40, 300});
    const QStringList pieces = cut.texts();
    ASSERT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(QString()), word);
    const int limit = cut.engine.LineLimit(false);
    for (int i = 0; i + 1 < pieces.size(); ++i) {
        EXPECT_LE(measure600(pieces[i]), limit) << i;
        EXPECT_GT(measure600(pieces[i] + pieces[i + 1][0]), limit) << i;
    }

    // A character wider than the memo stands alone; nothing empty follows it.
    EXPECT_EQ(Layout({QStringLiteral("ЖЖ")}, {0, 0, 5, 100}).texts(),
              QStringList({QStringLiteral("Ж"), QStringLiteral("Ж")}));

    // Without word wrap, and below the limit, a paragraph is one line; an empty one is a blank.
    EXPECT_EQ(Layout({QStringLiteral("один два три"), QString()}, {0, 0, width, 100}, 0, false).texts(),
              QStringList({QStringLiteral("один два три"), QStringLiteral(" ")}));
}

TEST(DrawTextLayout, FlagsParagraphStartsAndEnds)
{
    const int width = int(std::ceil(measure600(QStringLiteral("один два")) / TfrxDrawText::MeasureRatio));
    Layout layout({QStringLiteral("один два три"), QStringLiteral("четыре")}, {0, 0, width, 100});
    const QList<TfrxWrappedLine> &lines = layout.engine.WrappedLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].ParagraphStart && !lines[0].ParagraphEnd);
    EXPECT_TRUE(!lines[1].ParagraphStart && lines[1].ParagraphEnd);
    EXPECT_TRUE(lines[2].ParagraphStart && lines[2].ParagraphEnd);
    EXPECT_EQ(layout.engine.PlainText(), QStringLiteral("один два три\r\nчетыре\r\n"));

    layout.engine.SetParaBreaks(true, true);
    EXPECT_FALSE(lines.first().ParagraphStart);
    EXPECT_FALSE(lines.last().ParagraphEnd);
}

TEST(DrawTextLayout, MeasuresHeightsWidthsAndTheTextThatFits)
{
    // Arial 16 px is 12 points: 100 units high at 600 per inch, 16 report pixels.
    Layout layout({QStringLiteral("a"), QStringLiteral("bb"), QStringLiteral("c")}, {0, 0, 200, 40});
    const TfrxDrawText &e = layout.engine;
    EXPECT_EQ(e.MeasuringFontHeight(), 100);
    EXPECT_DOUBLE_EQ(e.TextHeight(), 16);
    EXPECT_DOUBLE_EQ(e.LineHeight(), 18);
    EXPECT_DOUBLE_EQ(e.CalcHeight(), 54);
    EXPECT_DOUBLE_EQ(e.CalcWidth(), measure600(QStringLiteral("bb")) / 6.25);
    EXPECT_DOUBLE_EQ(e.UnusedSpace(), 4);  // two lines of 18 fit into 40
    EXPECT_EQ(e.GetInBoundsText(), QStringLiteral("a\r\nbb"));
    bool paraBreak = true;
    EXPECT_EQ(e.GetOutBoundsText(paraBreak), QStringLiteral("c"));
    EXPECT_FALSE(paraBreak);

    EXPECT_DOUBLE_EQ(Layout({QStringLiteral("a"), QStringLiteral("b")}, {0, 0, 200, 36}).engine.UnusedSpace(), 0.0001);
    Layout tooLow({QStringLiteral("a")}, {0, 0, 200, 10});
    EXPECT_DOUBLE_EQ(tooLow.engine.UnusedSpace(), 0);
    EXPECT_EQ(tooLow.engine.GetInBoundsText(), QString());
    EXPECT_EQ(tooLow.engine.GetOutBoundsText(paraBreak), QStringLiteral("a"));

    // A paragraph cut by the rectangle: the rest starts inside it.
    const int width = int(std::ceil(measure600(QStringLiteral("один два")) / TfrxDrawText::MeasureRatio));
    Layout cut({QStringLiteral("один два три")}, {0, 0, width, 20});
    EXPECT_EQ(cut.engine.GetInBoundsText(), QStringLiteral("один два"));
    EXPECT_EQ(cut.engine.GetOutBoundsText(paraBreak), QStringLiteral("три"));
    EXPECT_TRUE(paraBreak);

    // With negative spacing the last line keeps its own height.
    EXPECT_DOUBLE_EQ(
        Layout({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, {0, 0, 200, 40}, 0, true, -4)
            .engine.CalcHeight(),
        40);
}

TEST(DrawTextLayout, TwoLineMemoWithEmptySecondLineIsTwoLinesHigh)
{
    TfrxMemoView memo;
    memo.SetBounds(0, 0, 200, 40);
    memo.Frame().SetTyp(fullFrame);
    memo.SetFont(arial());
    memo.SetText(QStringLiteral("Итоги\r\n"));
    EXPECT_EQ(memo.Memo().size(), 1);  // a trailing break adds no line
    memo.SetMemo({QStringLiteral("Итоги"), QString()});
    int lines = 0;
    frxUseMemoLayout(memo, frxMemoOriginalRect(memo),
                     [&](TfrxDrawText &engine) { lines = int(engine.WrappedLines().size()); });
    EXPECT_EQ(lines, 2);
    // 2 x 18 + 2 x GapY + half the bottom frame line: 38.5, halves to even.
    EXPECT_DOUBLE_EQ(frxMemoCalcHeight(memo), 38);
}

TEST(DrawTextLayout, MemosOfAReportUseTheReportsEngine)
{
    TfrxReport report;
    EXPECT_EQ(report.DrawText(), nullptr);
    TfrxDrawText &own = frxDrawText(report);
    EXPECT_EQ(report.DrawText(), &own);
    EXPECT_EQ(&frxDrawText(report), &own);
    auto *page = new TfrxReportPage(&report);
    const QString text = QStringLiteral("Начальный пробег за период");
    TfrxMemoView *memo = addMemo(page, {0, 0, 120, 20, text, 0, fullFrame});
    TfrxMemoView loose;
    EXPECT_EQ(&frxDrawTextFor(*memo), report.DrawText());
    EXPECT_EQ(&frxDrawTextFor(loose), &frxDrawText());
    int lines = 0;
    frxUseMemoLayout(*memo, frxMemoOriginalRect(*memo),
                     [&](TfrxDrawText &engine) { lines = int(engine.WrappedLines().size()); });
    EXPECT_GT(lines, 1);
    // Lines of 18 pixels, 2 x GapY and half the bottom frame line, halves to even.
    EXPECT_DOUBLE_EQ(report.DrawText()->CalcHeight(*memo), std::nearbyint(lines * 18 + 2.5));
    EXPECT_DOUBLE_EQ(frxMemoCalcHeight(*memo), std::nearbyint(lines * 18 + 2.5));
    // The widest line is the whole text, in a 10000-pixel rectangle; 2 x GapX and half the right line.
    EXPECT_DOUBLE_EQ(report.DrawText()->CalcWidth(*memo), std::nearbyint(measure600(text) / 6.25 + 4.5));
}

TEST(DrawTextLayout, DrawTimeMacrosBecomePageCountAndCopyName)
{
    TfrxReport report;
    report.Variables().SetVariable(QStringLiteral("CopyName2"), QStringLiteral("Копия"));
    TfrxMemoView *memo = addMemo(new TfrxReportPage(&report), {0, 0, 100, 20, QString()});
    memo->SetMemo({QStringLiteral("Страница 1 из [totalpages#], [TotalPages#]"), QStringLiteral("[CopyName#]")});
    memo->SetDrawMacros(frxLiteralDrawMacros(memo->Text()));
    EXPECT_EQ(frxMemoDrawLines(*memo, {7, 2, 1}),
              QStringList({QStringLiteral("Страница 1 из 7, [TotalPages#]"), QStringLiteral("Копия")}));
    EXPECT_EQ(frxMemoDrawLines(*memo, {7, 1, 1}).last(), QString());  // no such copy name
    EXPECT_EQ(memo->Memo().first(), QStringLiteral("Страница 1 из [totalpages#], [TotalPages#]"));
}

TEST(DrawTextPlacement, SameBreaksAtZoomOneAndTwoAndPredictedWidths)
{
    TfrxMemoView memo;
    memo.SetBounds(10, 10, 120, 120);
    memo.SetFont(arial());
    memo.SetText(QStringLiteral("Денежные затраты на ремонт и обслуживание автомобиля за период"));
    QList<QStringList> breaks;
    for (const double zoom : {1.0, 2.0}) {
        QImage image = whiteImage(int(300 * zoom), int(300 * zoom));
        QPainter canvas(&image);
        frxDrawMemo(memo, canvas, {zoom, zoom, 0, 0}, {});
        TfrxDrawText &engine = frxDrawText();
        QStringList texts;
        for (const TfrxWrappedLine &line : engine.WrappedLines())
            texts << line.Text;
        breaks << texts;
        // Every line is as wide on the device as the layout predicts.
        const QList<TfrxPlacedLine> placed = engine.PlaceLines(TfrxOutputDevice::of(canvas), haLeft, vaTop);
        for (int i = 0; i < placed.size(); ++i)
            EXPECT_EQ(sum(placed[i].Advances), int(std::nearbyint(engine.WrappedLines()[i].Width600 / 6.25 * zoom)))
                << zoom << " " << i;
    }
    EXPECT_GT(breaks[0].size(), 2);
    EXPECT_EQ(breaks[0], breaks[1]);
}

TEST(DrawTextPlacement, RightAlignedBoldLineEndsOnePixelFurtherLeft)
{
    const TfrxRect rect{10, 0, 210, 30};
    for (const double zoom : {1.0, 1.5}) {
        for (const TFontStyles style : {0, int(fsBold)}) {
            Layout layout({QStringLiteral("Итоги")}, rect, style, true, 2, zoom);
            const QList<TfrxPlacedLine> placed = layout.engine.PlaceLines({}, haRight, vaTop);
            ASSERT_EQ(placed.size(), 1);
            EXPECT_EQ(placed[0].X + sum(placed[0].Advances), int(210 * zoom) - (style ? 1 : 0)) << zoom;
        }
    }
}

TEST(DrawTextPlacement, BlockHeightSpreadsOverGapsAndCentresHalvesToEven)
{
    struct Case {
        int lines;
        double scale;
        int rectHeight;
        TfrxVAlign vAlign;
        QList<int> tops;
    };
    const Case cases[] = {
        {1, 1, 23, vaCenter, {2}},  // (23 - 18) / 2 = 2.5 -> 2
        {1, 1, 25, vaCenter, {4}},  // 3.5 -> 4
        {1, 1, 23, vaBottom, {5}},
        {3, 1.25, 100, vaTop, {0, 23, 46}},      // 68 high: gaps 22 + 1 each
        {4, 1.25, 100, vaTop, {0, 23, 46, 68}},  // 90 high: 2 units over 3 gaps by halving
    };
    for (const Case &c : cases) {
        QStringList lines;
        for (int i = 0; i < c.lines; ++i)
            lines << QStringLiteral("Сумма");
        TfrxDrawText engine;
        engine.SetFont(arial());
        engine.SetOptions(true, false, false, false, true, true, 0);
        engine.SetGaps(0, 0, 2);
        engine.SetDimensions(c.scale, c.scale, 1, {0, 0, 200, 200}, {0, 0, 250, c.rectHeight});
        engine.SetText(lines);
        QList<int> tops;
        for (const TfrxPlacedLine &line : engine.PlaceLines({}, haLeft, c.vAlign))
            tops << line.Y;
        EXPECT_EQ(tops, c.tops) << c.lines << " lines at " << c.scale;
    }
}

TEST(DrawTextPlacement, PrinterTakesFontsAndWidthsFromItsResolution)
{
    const TfrxOutputDevice printer{true, 600, 600};
    for (const double printScale : {1.0, 0.5}) {
        TfrxDrawText engine;
        engine.SetFont(arial());
        engine.SetOptions(true, false, false, false, true, true, 0);
        engine.SetGaps(0, 0, 2);
        engine.SetDimensions(6.25, 6.25, printScale, {0, 0, 200, 100}, {0, 0, 1250, 625});
        engine.SetText({QStringLiteral("Итоги"), QStringLiteral("Сумма")});
        // 12 points at 600 per inch; two lines of it with 2 x 6.25 spacing each.
        EXPECT_EQ(engine.DeviceFontHeight(printer), qRound(100 * printScale));
        EXPECT_EQ(engine.BlockHeight(printer), qRound(25 + 200 * printScale));
        const QList<TfrxPlacedLine> placed = engine.PlaceLines(printer, haLeft, vaTop);
        for (int i = 0; i < placed.size(); ++i)
            EXPECT_EQ(sum(placed[i].Advances), int(std::nearbyint(engine.WrappedLines()[i].Width600 * printScale)));
    }
}

namespace {

// A surrogate pair, Arabic (joined letters, right to left), Hebrew (right to left) and a
// combining accent, each several times.
const QString wholeCharacters = QStringLiteral("𝐀𝐁𝐂 مرحبا بالعالم שלום עולם e\u0301te\u0301 𝐀𝐁𝐂");

// One memo line of `text` drawn at scale 1 into `canvas`'s device; the engine keeps its layout.
TfrxDrawText &drawLine(QPainter &canvas, const QString &text, const TfrxRect &rect)
{
    TfrxMemoView memo;
    memo.SetBounds(rect.Left, rect.Top, rect.width(), rect.height());
    memo.SetFont(arial());
    memo.SetText(text);
    frxDrawMemo(memo, canvas, {1, 1, 0, 0}, {});
    return frxDrawText();
}

}  // namespace

// Text that is not plain is broken between whole characters only: never inside a surrogate pair,
// before a combining mark or inside a joined word; plain text keeps one unit per code unit.
TEST(DrawTextLayout, BreaksOnlyBetweenWholeCharacters)
{
    const QString texts[] = {
        QStringLiteral("𝐀𝐁𝐂𝐃𝐄𝐅𝐆𝐇𝐈𝐉𝐊𝐋𝐌𝐍𝐎𝐏"),
        QString(QStringLiteral("e\u0301")).repeated(16),
        QStringLiteral("🚗🚗🚗🚗🚗🚗🚗🚗🚗🚗🚗🚗"),
        wholeCharacters,
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const Layout layout({text}, TfrxRect{0, 0, 40, 400});
        const QStringList lines = layout.texts();
        EXPECT_GT(lines.size(), 1);
        for (const QString &line : lines) {
            ASSERT_FALSE(line.isEmpty());
            EXPECT_FALSE(line.front().isLowSurrogate() || line.back().isHighSurrogate() || line.front().isMark())
                << line.toStdString();
        }
        EXPECT_TRUE(lines.contains(QStringLiteral("مرحبا")) || !text.contains(QStringLiteral("مرحبا")));
        EXPECT_EQ(lines.join(QString()).remove(u' '), QString(text).remove(u' '));
    }
    const Layout plain({QStringLiteral("Денежные затраты (руб.)")}, TfrxRect{0, 0, 400, 40});
    EXPECT_TRUE(plain.engine.WrappedLines().first().Units.isEmpty());
}

// Right-to-left words and the numbers after them are placed right to left; the number keeps its
// own order, left-to-right text around them stays where it is.
TEST(DrawTextPlacement, RightToLeftRunsArePlacedRightToLeft)
{
    const QString line = QStringLiteral("abc אבג דהו 12 xyz");
    const QList<TfrxTextUnit> units = frxTextUnits(line);
    ASSERT_FALSE(units.isEmpty());
    const QList<int> advances(units.size(), 10);
    const QList<int> left = frxVisualPositions(units, line, advances, 100);
    const auto at = [&](const QString &word) {
        const int start = int(line.indexOf(word));
        for (int i = 0; i < units.size(); ++i)
            if (units[i].Start == start)
                return left[i];
        return -1;
    };
    EXPECT_EQ(at(QStringLiteral("abc")), 100);
    EXPECT_LT(at(QStringLiteral("c")), at(QStringLiteral("1")));
    EXPECT_EQ(at(QStringLiteral("2")), at(QStringLiteral("1")) + 10);
    EXPECT_LT(at(QStringLiteral("2")), at(QStringLiteral("דהו")));
    EXPECT_LT(at(QStringLiteral("דהו")), at(QStringLiteral("אבג")));
    EXPECT_LT(at(QStringLiteral("אבג")), at(QStringLiteral("xyz")));
    EXPECT_EQ(at(QStringLiteral("xyz")), 100 + 11 * 10);
}

// Whole characters are drawn inside the width the layout predicts for their line, and the PDF's
// text layer holds the text as it was typed.
TEST(DrawTextPlacement, WholeCharactersInkStaysInThePredictedWidth)
{
    QImage image = whiteImage(700, 60);
    QPainter canvas(&image);
    TfrxDrawText &engine = drawLine(canvas, wholeCharacters, TfrxRect{20, 10, 680, 40});
    const QList<TfrxPlacedLine> placed = engine.PlaceLines(TfrxOutputDevice::of(canvas), haLeft, vaTop);
    canvas.end();
    ASSERT_EQ(placed.size(), 1);
    const int width = sum(placed[0].Advances);
    const QRect ink = inkBounds(image);
    EXPECT_GE(ink.left(), placed[0].X - 2);  // glyphs may overhang their cell a little
    EXPECT_LE(ink.right(), placed[0].X + width + 2);
    EXPECT_GT(ink.width(), width * 9 / 10);

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("line.pdf"));
    {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        TfrxPdfDocument document(file);
        QPainter pdfCanvas(&document.writer());
        const double scale = document.writer().resolution() / 96.0;
        TfrxMemoView memo;
        memo.SetBounds(20, 10, 660, 30);
        memo.SetFont(arial());
        memo.SetText(wholeCharacters);
        frxDrawMemo(memo, pdfCanvas, {scale, scale, 0, 0}, {});
        memo.SetTop(50);
        memo.SetText(QStringLiteral("Лада 𝐀𝐁𝐂 Веста"));
        frxDrawMemo(memo, pdfCanvas, {scale, scale, 0, 0}, {});
        ASSERT_TRUE(document.end(pdfCanvas));
    }
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    // Characters beyond the Basic Multilingual Plane come back as typed (the reader puts those of a
    // mostly right-to-left line in its own order). The reader orders right-to-left runs by
    // position and gives joined Arabic as presentation forms: the words of those scripts come back
    // in their compatibility form, each whole and in typed order.
    const QString typed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(typed.contains(QStringLiteral("Лада 𝐀𝐁𝐂 Веста"))) << typed.toStdString();
    for (const QString &letter : {QStringLiteral("𝐀"), QStringLiteral("𝐁"), QStringLiteral("𝐂")})
        EXPECT_EQ(typed.count(letter), 3) << typed.toStdString();
    const QString layer = typed.normalized(QString::NormalizationForm_KC);
    for (const QString &word :
         {QStringLiteral("مرحبا"), QStringLiteral("بالعالم"), QStringLiteral("שלום"), QStringLiteral("עולם")})
        EXPECT_TRUE(layer.contains(word)) << word.toStdString() << " in " << layer.toStdString();
}
