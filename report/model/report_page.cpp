#include "report/model/report_page.h"

#include "platform/number_format.h"
#include "platform/paper_sizes.h"
#include "report/model/band.h"
#include "report/model/data_set_properties.h"
#include "report/model/report.h"
#include "report/model/view.h"

#include <cmath>
#include <utility>

namespace vornak {

TfrxReportPage::TfrxReportPage(TfrxComponent *owner)
    : TfrxPage(owner)
{
    SetBaseName(QStringLiteral("Page"));
    SetPaperSize(9);
}

void TfrxReportPage::updateDimensions()
{
    width_ = roundHalfEven(paperWidth_ * fr01cm);
    height_ = roundHalfEven(paperHeight_ * fr01cm);
}

void TfrxReportPage::SetPaperSize(int code)
{
    paperSize_ = code;
    if (code >= 256)
        return;
    const std::optional<vornak::PaperSize> paper = findPaperSize(code);
    if (!paper)
        return;
    paperWidth_ = paper->width / 10.0;
    paperHeight_ = paper->height / 10.0;
    if (orientation_ == poLandscape)
        std::swap(paperWidth_, paperHeight_);
    updateDimensions();
}

void TfrxReportPage::SetPaperWidth(double value)
{
    paperWidth_ = std::round(value * 1e8) / 1e8;
    paperSize_ = 256;
    updateDimensions();
}

void TfrxReportPage::SetPaperHeight(double value)
{
    paperHeight_ = std::round(value * 1e8) / 1e8;
    paperSize_ = 256;
    updateDimensions();
}

void TfrxReportPage::SetOrientation(TPrinterOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    std::swap(paperWidth_, paperHeight_);
    const double left = leftMargin_, right = rightMargin_, top = topMargin_, bottom = bottomMargin_;
    if (value == poLandscape) {
        leftMargin_ = top;
        rightMargin_ = bottom;
        topMargin_ = right;
        bottomMargin_ = left;
    } else {
        leftMargin_ = bottom;
        rightMargin_ = top;
        topMargin_ = left;
        bottomMargin_ = right;
    }
    updateDimensions();
}

TfrxBand *TfrxReportPage::FindBand(const QString &className) const
{
    for (TfrxComponent *child : Objects())
        if (auto *band = dynamic_cast<TfrxBand *>(child); band && band->inheritsScriptClass(className))
            return band;
    return nullptr;
}

void TfrxReportPage::AlignChildren()
{
    width_ = PrintableWidth();
    height_ = PrintableHeight();
    TfrxPage::AlignChildren();

    // Bands that keep the page width when the page has columns.
    static const QStringList pageWideBands{QStringLiteral("TfrxReportTitle"), QStringLiteral("TfrxReportSummary"),
                                           QStringLiteral("TfrxPageHeader"),  QStringLiteral("TfrxPageFooter"),
                                           QStringLiteral("TfrxOverlay"),     QStringLiteral("TfrxNullBand")};
    for (TfrxComponent *child : Objects()) {
        auto *band = dynamic_cast<TfrxBand *>(child);
        if (!band)
            continue;
        if (band->Vertical())
            band->SetHeight(height_ - band->Top());
        else if (columns_ > 1 && !pageWideBands.contains(band->ClassName()))
            band->SetWidth(columnWidth_ * fr01cm);
        else
            band->SetWidth(width_ - band->Left());
        band->AlignChildren();
    }
    updateDimensions();
}

const TfrxPropertyList &TfrxReportPage::ClassProperties()
{
    using C = TfrxReportPage;
    using B = PropertyBuilder<C>;
    static const TfrxPropertyList list = [] {
        // The page's own geometry follows the paper and is not stored.
        TfrxPropertyList l = TfrxPage::ClassProperties();
        l.removeIf([](const TfrxPropertyInfo &info) {
            return info.name == u"Left" || info.name == u"Top" || info.name == u"Width" || info.name == u"Height";
        });
        const auto handler = [](const char *name, QString C::*field) {
            return B::Text(
                QString::fromLatin1(name), [field](const C &o) { return o.*field; },
                [field](C &o, QString v) { o.*field = v; });
        };
        l << FRX_ENUM(C, Orientation, TPrinterOrientation, poPortrait, QStringLiteral("poPortrait"),
                      QStringLiteral("poLandscape"))
          << FRX_FLOAT(C, PaperWidth, std::nullopt) << FRX_FLOAT(C, PaperHeight, std::nullopt)
          << FRX_INT(C, PaperSize, std::nullopt) << FRX_FLOAT(C, LeftMargin, 0.0) << FRX_FLOAT(C, RightMargin, 0.0)
          << FRX_FLOAT(C, TopMargin, 0.0) << FRX_FLOAT(C, BottomMargin, 0.0) << FRX_BOOL(C, MirrorMargins, false)
          << FRX_INT(C, Columns, 0) << FRX_FLOAT(C, ColumnWidth, 0.0)
          << B::Lines(
                 QStringLiteral("ColumnPositions.Text"), [](const C &o) { return o.ColumnPositions(); },
                 [](C &o, QStringList v) { o.SetColumnPositions(v); })
          << FRX_INT(C, Bin, 7) << FRX_INT(C, BinOtherPages, 7)
          << FRX_ENUM(C, Duplex, TfrxDuplexMode, dmNone, QStringLiteral("dmNone"), QStringLiteral("dmVertical"),
                      QStringLiteral("dmHorizontal"), QStringLiteral("dmSimplex"))
          << FRX_BOOL(C, PrintIfEmpty, true) << FRX_BOOL(C, TitleBeforeHeader, true) << FRX_INT(C, PageCount, 1);
        l << frxDataSetProperties<C>();
        l << FRX_BOOL(C, EndlessHeight, false) << FRX_BOOL(C, EndlessWidth, false)
          << FRX_BOOL(C, PrintOnPreviousPage, false) << FRX_BOOL(C, ResetPageNumbers, false) << FRX_TEXT(C, OutlineText)
          << FRX_BOOL(C, BackPictureVisible, true) << FRX_BOOL(C, BackPicturePrintable, true)
          << FRX_COLOR(C, Color, clTransparent);
        l << frxFrameProperties(QStringLiteral("Frame."),
                                [](TfrxComponent &o) -> TfrxFrame & { return static_cast<C &>(o).Frame(); });
        l << FRX_BOOL(C, LargeDesignHeight, false) << handler("OnBeforePrint", &C::OnBeforePrint)
          << handler("OnAfterPrint", &C::OnAfterPrint) << handler("OnManualBuild", &C::OnManualBuild);
        return l;
    }();
    return list;
}

}  // namespace vornak
