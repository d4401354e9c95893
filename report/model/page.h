#pragma once

#include "report/model/component.h"

namespace vornak {

// The base of report pages.
class TfrxPage : public TfrxComponent {
public:
    using TfrxComponent::TfrxComponent;
    QString ClassName() const override { return QStringLiteral("TfrxPage"); }
};

// Holds data-connection objects (none in this system); 1000 x 1000 pixels on creation.
class TfrxDataPage : public TfrxPage {
public:
    explicit TfrxDataPage(TfrxComponent *owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TfrxDataPage"); }
};

}  // namespace vornak
