#pragma once

#include "platform/variant.h"
#include "report/model/draw_macros.h"
#include "report/model/format.h"
#include "report/model/stretcheable.h"

#include <QStringList>

namespace vornak {

// A text object: lines of text that may hold bracketed expressions, with layout options.
class TfrxCustomMemoView : public TfrxStretcheable {
public:
    using TfrxStretcheable::TfrxStretcheable;
    QString ClassName() const override { return QStringLiteral("TfrxCustomMemoView"); }

    const QStringList &Memo() const { return memo_; }
    void SetMemo(const QStringList &lines) { memo_ = lines; }
    // The lines joined with CR LF.
    QString Text() const;
    // Splits at CR, LF and U+2028; after a line one CR, then one LF, then one U+2028 are taken
    // as its break (CR LF is one break, LF CR two); a trailing break adds no empty line.
    void SetText(const QString &text);

    bool AllowExpressions() const { return allowExpressions_; }
    void SetAllowExpressions(bool value) { allowExpressions_ = value; }
    const QString &ExpressionDelimiters() const { return expressionDelimiters_; }
    void SetExpressionDelimiters(const QString &value) { expressionDelimiters_ = value; }
    TfrxFormat &DisplayFormat() { return displayFormat_; }
    const TfrxFormat &DisplayFormat() const { return displayFormat_; }
    bool HideZeros() const { return hideZeros_; }
    void SetHideZeros(bool value) { hideZeros_ = value; }
    TfrxHAlign HAlign() const { return hAlign_; }
    void SetHAlign(TfrxHAlign value) { hAlign_ = value; }
    TfrxVAlign VAlign() const { return vAlign_; }
    void SetVAlign(TfrxVAlign value) { vAlign_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    bool WordBreak() const { return wordBreak_; }
    void SetWordBreak(bool value) { wordBreak_ = value; }
    bool Clipped() const { return clipped_; }
    void SetClipped(bool value) { clipped_ = value; }
    bool AutoWidth() const { return autoWidth_; }
    void SetAutoWidth(bool value) { autoWidth_ = value; }
    double GapX() const { return gapX_; }
    void SetGapX(double value) { gapX_ = value; }
    double GapY() const { return gapY_; }
    void SetGapY(double value) { gapY_ = value; }
    double LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(double value) { lineSpacing_ = value; }
    double CharSpacing() const { return charSpacing_; }
    void SetCharSpacing(double value) { charSpacing_ = value; }
    double ParagraphGap() const { return paragraphGap_; }
    void SetParagraphGap(double value) { paragraphGap_ = value; }
    int Rotation() const { return rotation_; }
    void SetRotation(int value) { rotation_ = value; }
    bool RTLReading() const { return rtlReading_; }
    void SetRTLReading(bool value) { rtlReading_ = value; }
    bool Underlines() const { return underlines_; }
    void SetUnderlines(bool value) { underlines_ = value; }
    bool UseDefaultCharset() const { return useDefaultCharset_; }
    void SetUseDefaultCharset(bool value) { useDefaultCharset_ = value; }
    bool AllowHTMLTags() const { return allowHTMLTags_; }
    void SetAllowHTMLTags(bool value) { allowHTMLTags_ = value; }
    bool Wysiwyg() const { return wysiwyg_; }
    void SetWysiwyg(bool value) { wysiwyg_ = value; }
    bool SuppressRepeated() const { return suppressRepeated_; }
    void SetSuppressRepeated(bool value) { suppressRepeated_ = value; }
    bool FirstParaBreak() const { return firstParaBreak_; }
    void SetFirstParaBreak(bool value) { firstParaBreak_ = value; }
    bool LastParaBreak() const { return lastParaBreak_; }
    void SetLastParaBreak(bool value) { lastParaBreak_ = value; }
    TfrxHighlight &Highlight() { return highlight_; }
    const TfrxHighlight &Highlight() const { return highlight_; }
    const QString &Style() const { return style_; }
    void SetStyle(const QString &value) { style_ = value; }
    // The placeholders of the printed text the template produced (set when the text is computed).
    const TfrxDrawMacros &DrawMacros() const { return drawMacros_; }
    void SetDrawMacros(const TfrxDrawMacros &value) { drawMacros_ = value; }
    TfrxCustomMemoView *FlowTo() const { return flowTo_; }
    void SetFlowTo(TfrxCustomMemoView *value) { flowTo_ = value; }

    // Also remembers the template text (and its placeholders); AfterPrint restores it.
    void BeforePrint() override;
    void AfterPrint() override;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time state.
    Variant Value;      // the last value computed for the text
    QString LastValue;  // the last printed text (SuppressRepeated)
    QString PartMemo;   // the remaining text when split across pages
    double PrintScale = 1;

private:
    QStringList memo_;
    QStringList savedMemo_;
    TfrxDrawMacros drawMacros_;
    TfrxDrawMacros savedDrawMacros_;
    bool allowExpressions_ = true;
    QString expressionDelimiters_ = QStringLiteral("[,]");
    TfrxFormat displayFormat_;
    bool hideZeros_ = false;
    TfrxHAlign hAlign_ = haLeft;
    TfrxVAlign vAlign_ = vaTop;
    bool wordWrap_ = true;
    bool wordBreak_ = false;
    bool clipped_ = true;
    bool autoWidth_ = false;
    double gapX_ = 2;
    double gapY_ = 1;
    double lineSpacing_ = 2;
    double charSpacing_ = 0;
    double paragraphGap_ = 0;
    int rotation_ = 0;
    bool rtlReading_ = false;
    bool underlines_ = false;
    bool useDefaultCharset_ = false;
    bool allowHTMLTags_ = false;
    bool wysiwyg_ = true;
    bool suppressRepeated_ = false;
    bool firstParaBreak_ = false;
    bool lastParaBreak_ = false;
    TfrxHighlight highlight_;
    QString style_;
    TfrxCustomMemoView *flowTo_ = nullptr;
};

}  // namespace vornak
