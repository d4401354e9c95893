#pragma once

#include "report/model/view.h"

namespace vornak {

// A view that can grow with its content.
class TfrxStretcheable : public TfrxView {
public:
    using TfrxView::TfrxView;
    QString ClassName() const override { return QStringLiteral("TfrxStretcheable"); }

    TfrxStretchMode StretchMode() const { return stretchMode_; }
    void SetStretchMode(TfrxStretchMode value) { stretchMode_ = value; }

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time: height and top saved while the view is split across pages.
    double SavedHeight = 0;
    double SavedTop = 0;

private:
    TfrxStretchMode stretchMode_ = smDontStretch;
};

}  // namespace vornak
