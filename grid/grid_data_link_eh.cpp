#include "grid/grid_data_link_eh.h"

#include "grid/db_grid_eh.h"

namespace vornak {

void TGridDataLinkEh::ActiveChanged()
{
    grid_.linkActiveChanged();
}

void TGridDataLinkEh::EditingChanged()
{
    grid_.linkDataChanged();
}

void TGridDataLinkEh::DataSetChanged()
{
    grid_.linkDataChanged();
}

void TGridDataLinkEh::DataSetScrolled(int distance)
{
    grid_.linkScrolled(distance);
}

void TGridDataLinkEh::LayoutChanged()
{
    grid_.linkLayoutChanged();
}

void TGridDataLinkEh::RecordChanged(TField *field)
{
    grid_.linkRecordChanged(field);
}

}  // namespace vornak
