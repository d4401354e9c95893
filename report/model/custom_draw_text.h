#pragma once

namespace vornak {

class TfrxCustomMemoView;

// The report's text layout engine as the model sees it (TfrxDrawText in report/draw implements
// it; the report holds one): measuring a text object for stretching and automatic width.
class TfrxCustomDrawText {
public:
    virtual ~TfrxCustomDrawText() = default;
    // The height the object's text needs at its width (frame gaps included).
    virtual double CalcHeight(const TfrxCustomMemoView &memo) = 0;
    // The width of the object's longest line (frame gaps included).
    virtual double CalcWidth(const TfrxCustomMemoView &memo) = 0;
};

}  // namespace vornak
