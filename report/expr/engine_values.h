#pragma once

// What expressions read from the band engine that runs the report. The band engine implements
// it; expressions work without one (system variables and aggregates are then Null).

#include "platform/variant.h"

#include <QString>

namespace vornak {

class TfrxBand;

class TfrxEngineValues {
public:
    virtual ~TfrxEngineValues() = default;

    // The value of a system variable of the report ("Date", "Time", "Page", "Page#",
    // "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#"), named as the report lists it.
    virtual Variant SystemValue(const QString &name) const = 0;
    // The value of the aggregate item of the band being printed that matches the call
    // `name`(expression, band, flags) (band nullptr: any data band); Null when none matches.
    virtual Variant GetAggregateValue(const QString &name, const QString &expression, TfrxBand *band, int flags) = 0;
};

}  // namespace vornak
