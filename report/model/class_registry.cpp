#include "report/model/class_registry.h"

#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/page.h"
#include "report/model/report_page.h"

#include <functional>
#include <utility>

namespace vornak {

namespace {

struct ClassEntry {
    const char *name;
    std::function<TfrxComponent *(TfrxComponent *)> create;
};

template <class T>
ClassEntry entry(const char *name)
{
    return {name, [](TfrxComponent *parent) -> TfrxComponent * { return new T(parent); }};
}

// The classes a template may name. Engine-only bands are not listed; other folders add theirs
// with frxRegisterClass.
QList<ClassEntry> &classTable()
{
    static QList<ClassEntry> table{
        entry<TfrxDataPage>("TfrxDataPage"),
        entry<TfrxReportPage>("TfrxReportPage"),
        entry<TfrxReportTitle>("TfrxReportTitle"),
        entry<TfrxReportSummary>("TfrxReportSummary"),
        entry<TfrxPageHeader>("TfrxPageHeader"),
        entry<TfrxPageFooter>("TfrxPageFooter"),
        entry<TfrxHeader>("TfrxHeader"),
        entry<TfrxFooter>("TfrxFooter"),
        entry<TfrxMasterData>("TfrxMasterData"),
        entry<TfrxDetailData>("TfrxDetailData"),
        entry<TfrxSubdetailData>("TfrxSubdetailData"),
        entry<TfrxDataBand4>("TfrxDataBand4"),
        entry<TfrxDataBand5>("TfrxDataBand5"),
        entry<TfrxDataBand6>("TfrxDataBand6"),
        entry<TfrxGroupHeader>("TfrxGroupHeader"),
        entry<TfrxGroupFooter>("TfrxGroupFooter"),
        entry<TfrxChild>("TfrxChild"),
        entry<TfrxColumnHeader>("TfrxColumnHeader"),
        entry<TfrxColumnFooter>("TfrxColumnFooter"),
        entry<TfrxOverlay>("TfrxOverlay"),
        entry<TfrxMemoView>("TfrxMemoView"),
    };
    return table;
}

// Each report class with its base class.
constexpr std::pair<const char *, const char *> kClassParents[] = {
    {"TfrxReportComponent", "TfrxComponent"},
    {"TfrxDialogComponent", "TfrxReportComponent"},
    {"TfrxView", "TfrxReportComponent"},
    {"TfrxStretcheable", "TfrxView"},
    {"TfrxCustomMemoView", "TfrxStretcheable"},
    {"TfrxMemoView", "TfrxCustomMemoView"},
    {"TfrxBand", "TfrxReportComponent"},
    {"TfrxReportTitle", "TfrxBand"},
    {"TfrxReportSummary", "TfrxBand"},
    {"TfrxPageHeader", "TfrxBand"},
    {"TfrxPageFooter", "TfrxBand"},
    {"TfrxHeader", "TfrxBand"},
    {"TfrxFooter", "TfrxBand"},
    {"TfrxDataBand", "TfrxBand"},
    {"TfrxMasterData", "TfrxDataBand"},
    {"TfrxDetailData", "TfrxDataBand"},
    {"TfrxSubdetailData", "TfrxDataBand"},
    {"TfrxDataBand4", "TfrxDataBand"},
    {"TfrxDataBand5", "TfrxDataBand"},
    {"TfrxDataBand6", "TfrxDataBand"},
    {"TfrxGroupHeader", "TfrxBand"},
    {"TfrxGroupFooter", "TfrxBand"},
    {"TfrxChild", "TfrxBand"},
    {"TfrxColumnHeader", "TfrxBand"},
    {"TfrxColumnFooter", "TfrxBand"},
    {"TfrxOverlay", "TfrxBand"},
    {"TfrxNullBand", "TfrxBand"},
    {"TfrxPage", "TfrxComponent"},
    {"TfrxReportPage", "TfrxPage"},
    {"TfrxDataPage", "TfrxPage"},
    {"TfrxReport", "TfrxComponent"},
    {"TfrxDataSet", "TfrxDialogComponent"},
    {"TfrxCustomDBDataSet", "TfrxDataSet"},
    {"TfrxDBDataset", "TfrxCustomDBDataSet"},
};

} // namespace

bool frxRegisterClass(const char *className, std::function<TfrxComponent *(TfrxComponent *)> create)
{
    classTable().append({className, std::move(create)});
    return true;
}

QString frxParentClassName(const QString &className)
{
    for (const auto &[name, parent] : kClassParents)
        if (className == QLatin1StringView(name))
            return QString::fromLatin1(parent);
    return QString();
}

TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent)
{
    for (const ClassEntry &e : classTable())
        if (className == QLatin1StringView(e.name))
            return e.create(parent);
    return nullptr;
}

QStringList frxRegisteredClasses()
{
    QStringList names;
    for (const ClassEntry &e : classTable())
        names << QString::fromLatin1(e.name);
    return names;
}

} // namespace vornak
