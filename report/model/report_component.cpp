#include "report/model/report_component.h"

#include "report/model/property_builder.h"

namespace vornak {

void TfrxReportComponent::BeforePrint()
{
    savedLeft_ = left_;
    savedTop_ = top_;
    savedWidth_ = width_;
    savedHeight_ = height_;
}

void TfrxReportComponent::AfterPrint()
{
    left_ = savedLeft_;
    top_ = savedTop_;
    width_ = savedWidth_;
    height_ = savedHeight_;
}

const TfrxPropertyList &TfrxReportComponent::ClassProperties()
{
    using C = TfrxReportComponent;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxComponent::ClassProperties();
        const auto handler = [](const char *name, QString C::*field) {
            return PropertyBuilder<C>::Text(
                QString::fromLatin1(name), [field](const C &o) { return o.*field; },
                [field](C &o, QString v) { o.*field = v; });
        };
        l << handler("OnBeforePrint", &C::OnBeforePrint) << handler("OnAfterPrint", &C::OnAfterPrint)
          << handler("OnAfterData", &C::OnAfterData) << handler("OnPreviewClick", &C::OnPreviewClick)
          << handler("OnPreviewDblClick", &C::OnPreviewDblClick);
        return l;
    }();
    return list;
}

}  // namespace vornak
