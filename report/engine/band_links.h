#pragma once

// Linking the bands of a report page before a run: which header and footer belong to which data
// band, which data bands nest under which, and which bands the page starts its data runs with.

#include <QStringList>

namespace vornak {

class TfrxReportPage;

// Clears and rebuilds the run-time links of the page's bands (FHeader, FFooter, FGroup,
// FSubBands of data bands; FSubBands and FVSubBands of the page) and gives a data band without
// data source but with RowCount its counting data source. Returns the errors found, one text per
// misplaced band and per feature of the template the engine refuses.
QStringList LinkBands(TfrxReportPage &page);

// The sort key of a band: its Top with two decimals, right-aligned in nine characters.
QString BandSortKey(double top);

}  // namespace vornak
