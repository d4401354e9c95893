#include "report/draw/memo_drawing.h"

#include "report/draw/draw_text.h"
#include "report/model/custom_memo_view.h"
#include "report/model/report.h"

namespace vornak {

namespace {

const TfrxDrawScale unscaled{};

void setUp(TfrxDrawText &engine, const TfrxCustomMemoView &memo)
{
    engine.SetFont(memo.Font());
    engine.SetOptions(memo.WordWrap(), memo.AllowHTMLTags(), memo.RTLReading(), memo.WordBreak(), memo.Clipped(),
                      memo.Wysiwyg(), memo.Rotation());
    engine.SetGaps(memo.ParagraphGap(), memo.CharSpacing(), memo.LineSpacing());
}

}  // namespace

QStringList frxMemoDrawLines(const TfrxCustomMemoView &memo, const TfrxDrawInfo &info)
{
    const TfrxDrawMacros &macros = memo.DrawMacros();
    if (macros.isEmpty())
        return memo.Memo();
    QString copyName;
    if (const TfrxReport *report = memo.Report())
        copyName = report->Variables().Value(QStringLiteral("CopyName") + QString::number(info.CopyNo)).toString();
    return frxFillDrawMacros(memo.Text(), macros, QString::number(info.TotalPages), copyName)
        .split(QStringLiteral("\r\n"));
}

TfrxRect frxMemoOriginalRect(const TfrxCustomMemoView &memo)
{
    return frxMemoTextRect(memo, frxViewRect(memo, unscaled), unscaled);
}

void frxDrawMemo(TfrxCustomMemoView &memo, QPainter &canvas, const TfrxDrawScale &scale, const TfrxDrawInfo &info)
{
    const TfrxDrawTextLock lock;
    TfrxDrawText &engine = frxDrawTextFor(memo);
    const QStringList lines = frxMemoDrawLines(memo, info);
    setUp(engine, memo);
    memo.PrintScale = info.PrintScale;
    const TfrxViewRect rect = frxViewRect(memo, scale);
    engine.SetDimensions(scale.ScaleX, scale.ScaleY, memo.IsPrinting ? info.PrintScale : 1, frxMemoOriginalRect(memo),
                         frxMemoTextRect(memo, rect, scale));
    engine.SetText(lines);
    engine.SetParaBreaks(memo.FirstParaBreak(), memo.LastParaBreak());
    frxDrawViewFrame(canvas, memo, rect, scale);
    engine.DrawText(canvas, memo.HAlign(), memo.VAlign());
}

void frxUseMemoLayout(const TfrxCustomMemoView &memo, const TfrxRect &textRect,
                      const std::function<void(TfrxDrawText &)> &use)
{
    frxUseMemoLayout(memo, textRect, frxDrawTextFor(memo), use);
}

void frxUseMemoLayout(const TfrxCustomMemoView &memo, const TfrxRect &textRect, TfrxDrawText &engine,
                      const std::function<void(TfrxDrawText &)> &use)
{
    const TfrxDrawTextLock lock;
    setUp(engine, memo);
    engine.SetDimensions(1, 1, 1, textRect, textRect);
    engine.SetText(memo.Memo());
    engine.SetParaBreaks(memo.FirstParaBreak(), memo.LastParaBreak());
    use(engine);
}

double frxMemoCalcHeight(const TfrxCustomMemoView &memo)
{
    return frxMemoCalcHeight(memo, frxDrawTextFor(memo));
}

double frxMemoCalcWidth(const TfrxCustomMemoView &memo)
{
    return frxMemoCalcWidth(memo, frxDrawTextFor(memo));
}

double frxMemoCalcHeight(const TfrxCustomMemoView &memo, TfrxDrawText &engine)
{
    double height = 0;
    frxUseMemoLayout(memo, frxMemoOriginalRect(memo), engine, [&](TfrxDrawText &e) { height = e.CalcHeight(); });
    const TfrxFrame &frame = memo.Frame();
    height += 2 * memo.GapY() + ((frame.Typ() & ftTop) ? (frame.Width() - 1) / 2 : 0) +
              ((frame.Typ() & ftBottom) ? frame.Width() / 2 : 0) + (frame.DropShadow() ? frame.ShadowWidth() : 0);
    return frxRound(height);
}

double frxMemoCalcWidth(const TfrxCustomMemoView &memo, TfrxDrawText &engine)
{
    double width = 0;
    frxUseMemoLayout(memo, TfrxRect{0, 0, 10000, 10000}, engine, [&](TfrxDrawText &e) { width = e.CalcWidth(); });
    const TfrxFrame &frame = memo.Frame();
    width += 2 * memo.GapX() + ((frame.Typ() & ftLeft) ? (frame.Width() - 1) / 2 : 0) +
             ((frame.Typ() & ftRight) ? frame.Width() / 2 : 0) + (frame.DropShadow() ? frame.ShadowWidth() : 0);
    return frxRound(width);
}

}  // namespace vornak
