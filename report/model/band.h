#pragma once

#include "platform/variant.h"
#include "report/model/report_component.h"

#include <functional>

namespace vornak {

class TfrxChild;

// A horizontal strip of a report page; holds views.
class TfrxBand : public TfrxReportComponent {
public:
    using TfrxReportComponent::TfrxReportComponent;
    QString ClassName() const override { return QStringLiteral("TfrxBand"); }

    // The position of the band's class in the band kind list (0 for any other class).
    int BandNumber() const;
    static const QStringList &BandClasses();

    bool Vertical() const { return vertical_; }
    void SetVertical(bool value) { vertical_ = value; }
    bool AllowSplit() const { return allowSplit_; }
    void SetAllowSplit(bool value) { allowSplit_ = value; }
    TfrxChild *Child() const { return child_; }
    void SetChild(TfrxChild *value) { child_ = value; }
    bool KeepChild() const { return keepChild_; }
    void SetKeepChild(bool value) { keepChild_ = value; }
    bool PrintChildIfInvisible() const { return printChildIfInvisible_; }
    void SetPrintChildIfInvisible(bool value) { printChildIfInvisible_ = value; }
    bool StartNewPage() const { return startNewPage_; }
    void SetStartNewPage(bool value) { startNewPage_ = value; }
    bool Stretched() const { return stretched_; }
    void SetStretched(bool value) { stretched_ = value; }
    QString OnAfterCalcHeight;
    // Run by the band engine at the same moment as OnAfterCalcHeight: the band's objects have
    // their printed texts and heights, the band is not placed yet. Set by code, never stored.
    std::function<void(TfrxBand &)> AfterCalcHeight;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time links and counters, set by the band engine.
    QList<TfrxBand *> FSubBands;  // data bands nested under this one
    TfrxBand *FHeader = nullptr;
    TfrxBand *FFooter = nullptr;
    TfrxBand *FGroup = nullptr;
    int FLineN = 0;
    int FLineThrough = 0;
    int FOriginalObjectsCount = 0;  // objects before the engine added any
    bool FHasVBands = false;
    bool FOverflow = false;
    double FStretchedHeight = 0;

private:
    bool vertical_ = false;
    bool allowSplit_ = false;
    TfrxChild *child_ = nullptr;
    bool keepChild_ = false;
    bool printChildIfInvisible_ = false;
    bool startNewPage_ = false;
    bool stretched_ = false;
};

#define FRX_BAND_KIND(Class)                                                                                           \
    class Class : public TfrxBand {                                                                                    \
    public:                                                                                                            \
        using TfrxBand::TfrxBand;                                                                                      \
        QString ClassName() const override { return QStringLiteral(#Class); }                                          \
    };

FRX_BAND_KIND(TfrxReportTitle)
FRX_BAND_KIND(TfrxReportSummary)
FRX_BAND_KIND(TfrxFooter)
FRX_BAND_KIND(TfrxChild)
FRX_BAND_KIND(TfrxColumnHeader)
FRX_BAND_KIND(TfrxColumnFooter)
// Created by the engine only (loose page objects); never stored in a template.
FRX_BAND_KIND(TfrxNullBand)

#undef FRX_BAND_KIND

class TfrxPageHeader : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxPageHeader"); }
    bool PrintOnFirstPage() const { return printOnFirstPage_; }
    void SetPrintOnFirstPage(bool value) { printOnFirstPage_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    bool printOnFirstPage_ = true;
};

class TfrxPageFooter : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxPageFooter"); }
    bool PrintOnFirstPage() const { return printOnFirstPage_; }
    void SetPrintOnFirstPage(bool value) { printOnFirstPage_ = value; }
    bool PrintOnLastPage() const { return printOnLastPage_; }
    void SetPrintOnLastPage(bool value) { printOnLastPage_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    bool printOnFirstPage_ = true;
    bool printOnLastPage_ = true;
};

class TfrxHeader : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxHeader"); }
    bool ReprintOnNewPage() const { return reprintOnNewPage_; }
    void SetReprintOnNewPage(bool value) { reprintOnNewPage_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    bool reprintOnNewPage_ = false;
};

class TfrxGroupHeader : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxGroupHeader"); }
    const QString &Condition() const { return condition_; }
    void SetCondition(const QString &value) { condition_ = value; }
    bool KeepTogether() const { return keepTogether_; }
    void SetKeepTogether(bool value) { keepTogether_ = value; }
    bool ReprintOnNewPage() const { return reprintOnNewPage_; }
    void SetReprintOnNewPage(bool value) { reprintOnNewPage_ = value; }
    bool ResetPageNumbers() const { return resetPageNumbers_; }
    void SetResetPageNumbers(bool value) { resetPageNumbers_ = value; }
    bool DrillDown() const { return drillDown_; }
    void SetDrillDown(bool value) { drillDown_ = value; }
    bool ExpandDrillDown() const { return expandDrillDown_; }
    void SetExpandDrillDown(bool value) { expandDrillDown_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    Variant LastValue;  // run-time: the condition's value of the previous row

private:
    QString condition_;
    bool keepTogether_ = false;
    bool reprintOnNewPage_ = false;
    bool resetPageNumbers_ = false;
    bool drillDown_ = false;
    bool expandDrillDown_ = false;
};

class TfrxGroupFooter : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxGroupFooter"); }
    bool HideIfSingleDataRecord() const { return hideIfSingleDataRecord_; }
    void SetHideIfSingleDataRecord(bool value) { hideIfSingleDataRecord_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    bool hideIfSingleDataRecord_ = false;
};

class TfrxOverlay : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    QString ClassName() const override { return QStringLiteral("TfrxOverlay"); }
    bool PrintOnTop() const { return printOnTop_; }
    void SetPrintOnTop(bool value) { printOnTop_ = value; }
    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    bool printOnTop_ = false;
};

}  // namespace vornak
