#pragma once

#include <QString>

namespace vornak {

// The messages of datasets and their fields, in one table keyed by name (see data_set_text.cpp).
// They are the database layer's own texts and stay in English; the dataset's name is put in
// front of them where it raises them. Texts with "%1", "%2" take their values with arg().
QString dataSetText(const char *key);

}  // namespace vornak
