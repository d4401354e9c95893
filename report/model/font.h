#pragma once

#include "report/model/report_types.h"

#include <QString>

namespace vornak {

// The font of a report object. Height is in pixels (negative: character height without the
// internal leading), at 96 pixels per inch; Size is the same in points.
struct TFont {
    QString Name = QStringLiteral("Arial");
    int Height = -13;  // 10 points
    TColor Color = clBlack;
    TFontStyles Style = 0;
    int Charset = DEFAULT_CHARSET;

    int Size() const;
    void SetSize(int points);

    bool operator==(const TFont &) const = default;
};

}  // namespace vornak
