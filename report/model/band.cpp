#include "report/model/band.h"

#include "report/model/property_builder.h"

namespace vornak {

const QStringList &TfrxBand::BandClasses()
{
    static const QStringList classes{
        QStringLiteral("TfrxReportTitle"),  QStringLiteral("TfrxReportSummary"), QStringLiteral("TfrxPageHeader"),
        QStringLiteral("TfrxPageFooter"),   QStringLiteral("TfrxHeader"),        QStringLiteral("TfrxFooter"),
        QStringLiteral("TfrxMasterData"),   QStringLiteral("TfrxDetailData"),    QStringLiteral("TfrxSubdetailData"),
        QStringLiteral("TfrxDataBand4"),    QStringLiteral("TfrxDataBand5"),     QStringLiteral("TfrxDataBand6"),
        QStringLiteral("TfrxGroupHeader"),  QStringLiteral("TfrxGroupFooter"),   QStringLiteral("TfrxChild"),
        QStringLiteral("TfrxColumnHeader"), QStringLiteral("TfrxColumnFooter"),  QStringLiteral("TfrxOverlay"),
    };
    return classes;
}

int TfrxBand::BandNumber() const
{
    const qsizetype index = BandClasses().indexOf(ClassName());
    return index < 0 ? 0 : int(index);
}

const TfrxPropertyList &TfrxBand::ClassProperties()
{
    using C = TfrxBand;
    using B = PropertyBuilder<C>;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxReportComponent::ClassProperties();
        l << FRX_BOOL(C, Vertical, false)
          << B::Text(
                 QStringLiteral("OnAfterCalcHeight"), [](const C &o) { return o.OnAfterCalcHeight; },
                 [](C &o, QString v) { o.OnAfterCalcHeight = v; })
          << FRX_BOOL(C, AllowSplit, false)
          << B::Reference(
                 QStringLiteral("Child"), [](const C &o) { return o.Child() ? o.Child()->Name() : QString(); },
                 [](C &o, const QString &name, const TfrxReferenceResolver &resolver) {
                     o.SetChild(name.isEmpty() ? nullptr : dynamic_cast<TfrxChild *>(resolver.FindReportObject(name)));
                 })
          << FRX_BOOL(C, KeepChild, false) << FRX_BOOL(C, PrintChildIfInvisible, false)
          << FRX_BOOL(C, StartNewPage, false) << FRX_BOOL(C, Stretched, false);
        return l;
    }();
    return list;
}

const TfrxPropertyList &TfrxPageHeader::ClassProperties()
{
    using C = TfrxPageHeader;
    static const TfrxPropertyList list =
        TfrxBand::ClassProperties() + TfrxPropertyList{FRX_BOOL(C, PrintOnFirstPage, true)};
    return list;
}

const TfrxPropertyList &TfrxPageFooter::ClassProperties()
{
    using C = TfrxPageFooter;
    static const TfrxPropertyList list =
        TfrxBand::ClassProperties() +
        TfrxPropertyList{FRX_BOOL(C, PrintOnFirstPage, true), FRX_BOOL(C, PrintOnLastPage, true)};
    return list;
}

const TfrxPropertyList &TfrxHeader::ClassProperties()
{
    using C = TfrxHeader;
    static const TfrxPropertyList list =
        TfrxBand::ClassProperties() + TfrxPropertyList{FRX_BOOL(C, ReprintOnNewPage, false)};
    return list;
}

const TfrxPropertyList &TfrxGroupHeader::ClassProperties()
{
    using C = TfrxGroupHeader;
    static const TfrxPropertyList list =
        TfrxBand::ClassProperties() + TfrxPropertyList{FRX_TEXT(C, Condition),
                                                       FRX_BOOL(C, KeepTogether, false),
                                                       FRX_BOOL(C, ReprintOnNewPage, false),
                                                       FRX_BOOL(C, ResetPageNumbers, false),
                                                       FRX_BOOL(C, DrillDown, false),
                                                       FRX_BOOL(C, ExpandDrillDown, false)};
    return list;
}

const TfrxPropertyList &TfrxGroupFooter::ClassProperties()
{
    using C = TfrxGroupFooter;
    static const TfrxPropertyList list =
        TfrxBand::ClassProperties() + TfrxPropertyList{FRX_BOOL(C, HideIfSingleDataRecord, false)};
    return list;
}

const TfrxPropertyList &TfrxOverlay::ClassProperties()
{
    using C = TfrxOverlay;
    static const TfrxPropertyList list = TfrxBand::ClassProperties() + TfrxPropertyList{FRX_BOOL(C, PrintOnTop, false)};
    return list;
}

}  // namespace vornak
