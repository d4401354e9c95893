#include "report/model/stretcheable.h"

#include "report/model/property_builder.h"

namespace vornak {

const TfrxPropertyList &TfrxStretcheable::ClassProperties()
{
    using C = TfrxStretcheable;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxView::ClassProperties();
        l << FRX_ENUM(C, StretchMode, TfrxStretchMode, smDontStretch, QStringLiteral("smDontStretch"),
                      QStringLiteral("smActualHeight"), QStringLiteral("smMaxHeight"));
        return l;
    }();
    return list;
}

}  // namespace vornak
