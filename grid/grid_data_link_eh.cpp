#include "grid/grid_data_link_eh.h"

#include "grid/db_grid_eh.h"

namespace vornak {

void TGridDataLinkEh::ActiveChanged()
{
    grid_.LinkActiveChanged();
}

void TGridDataLinkEh::EditingChanged()
{
    grid_.LinkDataChanged();
}

void TGridDataLinkEh::DataSetChanged()
{
    grid_.LinkDataChanged();
}

void TGridDataLinkEh::DataSetScrolled(int distance)
{
    grid_.LinkScrolled(distance);
}

void TGridDataLinkEh::LayoutChanged()
{
    grid_.LinkLayoutChanged();
}

void TGridDataLinkEh::RecordChanged(TField *field)
{
    grid_.LinkRecordChanged(field);
}

} // namespace vornak
