#pragma once

#include "report/model/custom_memo_view.h"

namespace vornak {

// The text object of templates.
class TfrxMemoView : public TfrxCustomMemoView {
public:
    using TfrxCustomMemoView::TfrxCustomMemoView;
    QString ClassName() const override { return QStringLiteral("TfrxMemoView"); }
};

}  // namespace vornak
