#pragma once

#include "report/model/component.h"

namespace vornak {

// An object that takes part in printing: script hooks, data fetch, growth.
class TfrxReportComponent : public TfrxComponent {
public:
    using TfrxComponent::TfrxComponent;
    QString ClassName() const override { return QStringLiteral("TfrxReportComponent"); }

    // Names of script procedures (none are set in this system).
    QString OnBeforePrint;
    QString OnAfterPrint;
    QString OnAfterData;
    QString OnPreviewClick;
    QString OnPreviewDblClick;

    // Remembers the rectangle; AfterPrint restores it.
    virtual void BeforePrint();
    // Fetches the object's data (texts are computed by the expression layer).
    virtual void GetData() {}
    virtual void AfterPrint();

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time: how far the object grew, and the objects below it that move with it.
    double ShiftAmount = 0;
    QList<TfrxReportComponent *> ShiftChildren;

protected:
    double savedLeft_ = 0;
    double savedTop_ = 0;
    double savedWidth_ = 0;
    double savedHeight_ = 0;
};

// A report object without a visible shape (base of the report data sources).
class TfrxDialogComponent : public TfrxReportComponent {
public:
    using TfrxReportComponent::TfrxReportComponent;
    QString ClassName() const override { return QStringLiteral("TfrxDialogComponent"); }
};

}  // namespace vornak
