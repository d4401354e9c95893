#pragma once

// The windows around printing as print events: the print dialog, shown modally through the
// platform's dialog call, and the progress window with its "Отмена".

#include "report/print/report_printing.h"

class QWidget;

namespace vornak {

class TfrxReport;

// Events for frxPrint on `report` that show the print dialog (on the report's page count and
// its preview's current page) and the progress window, which stays above `owner`; "Отмена" sets
// the report's Terminated.
TfrxPrintEvents frxPrintWindows(TfrxReport &report, QWidget *owner = nullptr);

}  // namespace vornak
