#include "report/model/class_registry.h"

#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/data_set.h"
#include "report/model/memo_view.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/user_data_set.h"

#include <QHash>

namespace vornak {

namespace {

template <class T>
TfrxComponentFactory creator()
{
    return [](TfrxComponent *parent) -> TfrxComponent * { return new T(parent); };
}

struct Registry {
    QList<TfrxClassInfo> classes;
    QHash<QString, qsizetype> index;
};

// The model's own classes; registering them on first use keeps the order of static
// initialisation out of the way.
Registry &registry()
{
    static Registry r = [] {
        Registry fresh;
        const TfrxClassInfo own[] = {
            {QStringLiteral("TfrxComponent"), QString(), {}},
            {QStringLiteral("TfrxReportComponent"), QStringLiteral("TfrxComponent"), {}},
            {QStringLiteral("TfrxDialogComponent"), QStringLiteral("TfrxReportComponent"), {}},
            {QStringLiteral("TfrxView"), QStringLiteral("TfrxReportComponent"), {}},
            {QStringLiteral("TfrxStretcheable"), QStringLiteral("TfrxView"), {}},
            {QStringLiteral("TfrxCustomMemoView"), QStringLiteral("TfrxStretcheable"), {}},
            {QStringLiteral("TfrxMemoView"), QStringLiteral("TfrxCustomMemoView"), creator<TfrxMemoView>()},
            {QStringLiteral("TfrxBand"), QStringLiteral("TfrxReportComponent"), {}},
            {QStringLiteral("TfrxReportTitle"), QStringLiteral("TfrxBand"), creator<TfrxReportTitle>()},
            {QStringLiteral("TfrxReportSummary"), QStringLiteral("TfrxBand"), creator<TfrxReportSummary>()},
            {QStringLiteral("TfrxPageHeader"), QStringLiteral("TfrxBand"), creator<TfrxPageHeader>()},
            {QStringLiteral("TfrxPageFooter"), QStringLiteral("TfrxBand"), creator<TfrxPageFooter>()},
            {QStringLiteral("TfrxHeader"), QStringLiteral("TfrxBand"), creator<TfrxHeader>()},
            {QStringLiteral("TfrxFooter"), QStringLiteral("TfrxBand"), creator<TfrxFooter>()},
            {QStringLiteral("TfrxDataBand"), QStringLiteral("TfrxBand"), {}},
            {QStringLiteral("TfrxMasterData"), QStringLiteral("TfrxDataBand"), creator<TfrxMasterData>()},
            {QStringLiteral("TfrxDetailData"), QStringLiteral("TfrxDataBand"), creator<TfrxDetailData>()},
            {QStringLiteral("TfrxSubdetailData"), QStringLiteral("TfrxDataBand"), creator<TfrxSubdetailData>()},
            {QStringLiteral("TfrxDataBand4"), QStringLiteral("TfrxDataBand"), creator<TfrxDataBand4>()},
            {QStringLiteral("TfrxDataBand5"), QStringLiteral("TfrxDataBand"), creator<TfrxDataBand5>()},
            {QStringLiteral("TfrxDataBand6"), QStringLiteral("TfrxDataBand"), creator<TfrxDataBand6>()},
            {QStringLiteral("TfrxGroupHeader"), QStringLiteral("TfrxBand"), creator<TfrxGroupHeader>()},
            {QStringLiteral("TfrxGroupFooter"), QStringLiteral("TfrxBand"), creator<TfrxGroupFooter>()},
            {QStringLiteral("TfrxChild"), QStringLiteral("TfrxBand"), creator<TfrxChild>()},
            {QStringLiteral("TfrxColumnHeader"), QStringLiteral("TfrxBand"), creator<TfrxColumnHeader>()},
            {QStringLiteral("TfrxColumnFooter"), QStringLiteral("TfrxBand"), creator<TfrxColumnFooter>()},
            {QStringLiteral("TfrxOverlay"), QStringLiteral("TfrxBand"), creator<TfrxOverlay>()},
            {QStringLiteral("TfrxNullBand"), QStringLiteral("TfrxBand"), creator<TfrxNullBand>(), true},
            {QStringLiteral("TfrxPage"), QStringLiteral("TfrxComponent"), {}},
            {QStringLiteral("TfrxReportPage"), QStringLiteral("TfrxPage"), creator<TfrxReportPage>()},
            {QStringLiteral("TfrxDataPage"), QStringLiteral("TfrxPage"), creator<TfrxDataPage>()},
            {QStringLiteral("TfrxReport"), QStringLiteral("TfrxComponent"), {}},
            {QStringLiteral("TfrxDataSet"), QStringLiteral("TfrxDialogComponent"), {}},
            {QStringLiteral("TfrxUserDataSet"), QStringLiteral("TfrxDataSet"), creator<TfrxUserDataSet>()},
        };
        for (const TfrxClassInfo &info : own) {
            fresh.index.insert(info.name, fresh.classes.size());
            fresh.classes.append(info);
        }
        return fresh;
    }();
    return r;
}

}  // namespace

bool frxRegisterClass(TfrxClassInfo info)
{
    Registry &r = registry();
    if (const auto at = r.index.constFind(info.name); at != r.index.constEnd()) {
        r.classes[*at] = std::move(info);
    } else {
        r.index.insert(info.name, r.classes.size());
        r.classes.append(std::move(info));
    }
    return true;
}

const TfrxClassInfo *frxFindClass(const QString &className)
{
    const Registry &r = registry();
    const auto at = r.index.constFind(className);
    return at == r.index.constEnd() ? nullptr : &r.classes.at(*at);
}

QString frxParentClassName(const QString &className)
{
    const TfrxClassInfo *info = frxFindClass(className);
    return info ? info->parentName : QString();
}

TfrxComponent *frxCreateComponent(const QString &className, TfrxComponent *parent)
{
    const TfrxClassInfo *info = frxFindClass(className);
    return info && info->create ? info->create(parent) : nullptr;
}

QStringList frxRegisteredClasses()
{
    QStringList names;
    for (const TfrxClassInfo &info : registry().classes)
        if (info.create)
            names << info.name;
    return names;
}

}  // namespace vornak
