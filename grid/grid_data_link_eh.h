#pragma once

#include "data/data_link.h"

namespace vornak {

class TDBGridEh;

// The grid's data link: a visual control that asks for one record buffer per visible data row
// and hands every notification to its grid.
class TGridDataLinkEh : public TDataLink {
public:
    explicit TGridDataLinkEh(TDBGridEh &grid)
        : TDataLink(true),
          grid_(grid)
    {
    }

    // The grid edits nothing in place, so its link never holds a pending change.
    bool Modified() const { return false; }

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;

private:
    TDBGridEh &grid_;
};

}  // namespace vornak
