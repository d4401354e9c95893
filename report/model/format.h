#pragma once

#include "report/model/font.h"
#include "report/model/report_types.h"

#include <QString>

namespace vornak {

// How a text object turns values into text.
struct TfrxFormat {
    TfrxFormatKind Kind = fkText;
    QString FormatStr;
    QString DecimalSeparator;
    QString ThousandSeparator;

    bool operator==(const TfrxFormat &) const = default;
};

// A condition under which a text object is drawn with another font and colour.
struct TfrxHighlight {
    bool Active = false;
    QString Condition;
    TColor Color = clTransparent;
    TFont Font;

    bool operator==(const TfrxHighlight &) const = default;
};

}  // namespace vornak
