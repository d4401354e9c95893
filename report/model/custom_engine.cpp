#include "report/model/custom_engine.h"

#include "platform/errors.h"
#include "report/model/report.h"
#include "report/script/report_text.h"

#include <functional>

namespace vornak {

namespace {

struct EngineProperty {
    const char *name;
    std::function<Variant(const TfrxCustomEngine &)> get;
    std::function<void(TfrxCustomEngine &, const Variant &)> set;  // empty: read-only
};

const EngineProperty kProperties[] = {
    {"CurColumn", [](const TfrxCustomEngine &e) { return Variant(e.CurColumn); },
     [](TfrxCustomEngine &e, const Variant &v) { e.CurColumn = v.toInt(); }},
    {"CurVColumn", [](const TfrxCustomEngine &e) { return Variant(e.CurVColumn); },
     [](TfrxCustomEngine &e, const Variant &v) { e.CurVColumn = v.toInt(); }},
    {"CurX", [](const TfrxCustomEngine &e) { return Variant(e.CurX); },
     [](TfrxCustomEngine &e, const Variant &v) { e.CurX = v.toDouble(); }},
    {"CurY", [](const TfrxCustomEngine &e) { return Variant(e.CurY); },
     [](TfrxCustomEngine &e, const Variant &v) { e.CurY = v.toDouble(); }},
    {"DoublePass", [](const TfrxCustomEngine &e) { return Variant(e.Report().EngineOptions.DoublePass); }, {}},
    {"FinalPass", [](const TfrxCustomEngine &e) { return Variant(e.FinalPass); }, {}},
    {"PageHeight", [](const TfrxCustomEngine &e) { return Variant(e.PageHeight()); }, {}},
    {"PageWidth", [](const TfrxCustomEngine &e) { return Variant(e.PageWidth); }, {}},
    {"StartDate", [](const TfrxCustomEngine &e) { return Variant::fromDateTime(e.StartDate); }, {}},
    {"StartTime", [](const TfrxCustomEngine &e) { return Variant::fromDateTime(e.StartTime); }, {}},
    {"TotalPages", [](const TfrxCustomEngine &e) { return Variant(e.TotalPages); }, {}},
    {"SecondScriptCall", [](const TfrxCustomEngine &e) { return Variant(e.SecondScriptCall); }, {}},
};

}  // namespace

int TfrxCustomEngine::findScriptProperty(const QString &name) const
{
    for (int i = 0; i < int(std::size(kProperties)); ++i)
        if (name.compare(QLatin1StringView(kProperties[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Variant TfrxCustomEngine::scriptProperty(int index) const
{
    return kProperties[index].get(*this);
}

void TfrxCustomEngine::setScriptProperty(int index, const Variant &value)
{
    if (!kProperties[index].set)
        throw EngineError(reportText("notAssignable"));
    kProperties[index].set(*this, value);
}

}  // namespace vornak
