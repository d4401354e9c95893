#pragma once

#include <QString>

namespace vornak {

// The preview control a report shows its prepared pages in (implemented by the report view).
class TfrxCustomPreview {
public:
    virtual ~TfrxCustomPreview() = default;
    virtual QString Name() const = 0;
};

} // namespace vornak
