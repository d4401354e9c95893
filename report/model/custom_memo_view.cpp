#include "report/model/custom_memo_view.h"

#include "report/model/property_builder.h"

namespace vornak {

QString TfrxCustomMemoView::Text() const
{
    return memo_.join(QStringLiteral("\r\n"));
}

void TfrxCustomMemoView::SetText(const QString &text)
{
    constexpr char16_t CR = u'\r', LF = u'\n', LS = u'\x2028';
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && text[i] != CR && text[i] != LF && text[i] != LS)
            ++i;
        lines.append(text.mid(start, i - start));
        if (i < n && text[i] == CR)
            ++i;
        if (i < n && text[i] == LF)
            ++i;
        if (i < n && text[i] == LS)
            ++i;
    }
    memo_ = lines;
}

void TfrxCustomMemoView::BeforePrint()
{
    TfrxStretcheable::BeforePrint();
    savedMemo_ = memo_;
    savedDrawMacros_ = drawMacros_;
}

void TfrxCustomMemoView::AfterPrint()
{
    TfrxStretcheable::AfterPrint();
    memo_ = savedMemo_;
    drawMacros_ = savedDrawMacros_;
}

const TfrxPropertyList &TfrxCustomMemoView::ClassProperties()
{
    using C = TfrxCustomMemoView;
    using B = PropertyBuilder<C>;
    using namespace property_text;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxStretcheable::ClassProperties();
        l << FRX_BOOL(C, AllowExpressions, true) << FRX_BOOL(C, AllowHTMLTags, false) << FRX_BOOL(C, AutoWidth, false)
          << FRX_FLOAT(C, CharSpacing, 0.0) << FRX_BOOL(C, Clipped, true);
        l << B::Enum(
                 QStringLiteral("DisplayFormat.Kind"), [](const C &o) { return int(o.DisplayFormat().Kind); },
                 [](C &o, int v) { o.DisplayFormat().Kind = TfrxFormatKind(v); }, fkText,
                 {QStringLiteral("fkText"), QStringLiteral("fkNumeric"), QStringLiteral("fkDateTime"),
                  QStringLiteral("fkBoolean")})
          << B::Text(
                 QStringLiteral("DisplayFormat.FormatStr"), [](const C &o) { return o.DisplayFormat().FormatStr; },
                 [](C &o, QString v) { o.DisplayFormat().FormatStr = v; })
          << B::Text(
                 QStringLiteral("DisplayFormat.DecimalSeparator"),
                 [](const C &o) { return o.DisplayFormat().DecimalSeparator; },
                 [](C &o, QString v) { o.DisplayFormat().DecimalSeparator = v; })
          << B::Text(
                 QStringLiteral("DisplayFormat.ThousandSeparator"),
                 [](const C &o) { return o.DisplayFormat().ThousandSeparator; },
                 [](C &o, QString v) { o.DisplayFormat().ThousandSeparator = v; })
          << B::Int(
                 QStringLiteral("DrawMacros.CopyName"), [](const C &o) { return o.DrawMacros().CopyName; },
                 [](C &o, int v) { o.drawMacros_.CopyName = v; }, TfrxDrawMacros::None)
          << B::Int(
                 QStringLiteral("DrawMacros.TotalPages"), [](const C &o) { return o.DrawMacros().TotalPages; },
                 [](C &o, int v) { o.drawMacros_.TotalPages = v; }, TfrxDrawMacros::None);
        l << B::Text(
                 QStringLiteral("ExpressionDelimiters"), [](const C &o) { return o.ExpressionDelimiters(); },
                 [](C &o, QString v) { o.SetExpressionDelimiters(v); }, QStringLiteral("[,]"))
          << FRX_BOOL(C, FirstParaBreak, false) << FRX_FLOAT(C, GapX, 2.0) << FRX_FLOAT(C, GapY, 1.0)
          << FRX_ENUM(C, HAlign, TfrxHAlign, haLeft, QStringLiteral("haLeft"), QStringLiteral("haRight"),
                      QStringLiteral("haCenter"), QStringLiteral("haBlock"))
          << FRX_BOOL(C, HideZeros, false);
        l << B::Bool(
                 QStringLiteral("Highlight.Active"), [](const C &o) { return o.Highlight().Active; },
                 [](C &o, bool v) { o.Highlight().Active = v; }, false)
          << B::Text(
                 QStringLiteral("Highlight.Condition"), [](const C &o) { return o.Highlight().Condition; },
                 [](C &o, QString v) { o.Highlight().Condition = v; })
          << B::Color(
                 QStringLiteral("Highlight.Color"), [](const C &o) { return int(o.Highlight().Color); },
                 [](C &o, int v) { o.Highlight().Color = v; }, clTransparent)
          << B::Text(
                 QStringLiteral("Highlight.Font.Name"), [](const C &o) { return o.Highlight().Font.Name; },
                 [](C &o, QString v) { o.Highlight().Font.Name = v; }, TFont().Name)
          << B::Int(
                 QStringLiteral("Highlight.Font.Height"), [](const C &o) { return o.Highlight().Font.Height; },
                 [](C &o, int v) { o.Highlight().Font.Height = v; }, TFont().Height)
          << B::Color(
                 QStringLiteral("Highlight.Font.Color"), [](const C &o) { return int(o.Highlight().Font.Color); },
                 [](C &o, int v) { o.Highlight().Font.Color = v; }, TFont().Color)
          << B::Set(
                 QStringLiteral("Highlight.Font.Style"), [](const C &o) { return o.Highlight().Font.Style; },
                 [](C &o, int v) { o.Highlight().Font.Style = v; }, 0,
                 {QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
                  QStringLiteral("fsStrikeOut")})
          << B::Int(
                 QStringLiteral("Highlight.Font.Charset"), [](const C &o) { return o.Highlight().Font.Charset; },
                 [](C &o, int v) { o.Highlight().Font.Charset = v; }, DEFAULT_CHARSET);
        l << FRX_BOOL(C, LastParaBreak, false) << FRX_FLOAT(C, LineSpacing, 2.0)
          << B::Lines(
                 QStringLiteral("Memo.UTF8W"), [](const C &o) { return o.Memo(); },
                 [](C &o, QStringList v) { o.SetMemo(v); })
          << FRX_FLOAT(C, ParagraphGap, 0.0) << FRX_INT(C, Rotation, 0) << FRX_BOOL(C, RTLReading, false)
          << FRX_TEXT(C, Style) << FRX_BOOL(C, SuppressRepeated, false) << FRX_BOOL(C, Underlines, false)
          << FRX_BOOL(C, UseDefaultCharset, false)
          << FRX_ENUM(C, VAlign, TfrxVAlign, vaTop, QStringLiteral("vaTop"), QStringLiteral("vaBottom"),
                      QStringLiteral("vaCenter"))
          << FRX_BOOL(C, WordBreak, false) << FRX_BOOL(C, WordWrap, true) << FRX_BOOL(C, Wysiwyg, true);
        l << B::Reference(
            QStringLiteral("FlowTo"), [](const C &o) { return o.FlowTo() ? o.FlowTo()->Name() : QString(); },
            [](C &o, const QString &name, const TfrxReferenceResolver &resolver) {
                o.SetFlowTo(name.isEmpty() ? nullptr
                                           : dynamic_cast<TfrxCustomMemoView *>(resolver.FindReportObject(name)));
            });
        return l;
    }();
    return list;
}

}  // namespace vornak
