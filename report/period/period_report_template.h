#pragma once

#include "report/model/template_reader.h"

namespace vornak {

class TfrxReport;

// Loads the vehicle card template (a resource) into `report`. Its data sources and preview are
// found through `links` by component name: frxDBAuto, frxDBBegin, frxDBEnde, frxDBOborot,
// frxDBDataset4 and frxPreview1.
void LoadPeriodReportTemplate(TfrxReport &report, const TfrxTemplateLinks &links = {});

// The template's text.
QString PeriodReportTemplateText();

}  // namespace vornak
