#pragma once

#include <QString>

namespace vornak {

// The texts the report subsystem shows, from the script language up to the report's stages
// above the model, in one Russian table keyed by name (see report_text.cpp). A key missing from
// the table is shown as the key itself. Texts with "%1", "%2" take their values with arg().
QString reportText(const char *key);

}  // namespace vornak
