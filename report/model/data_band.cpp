#include "report/model/data_band.h"

#include "report/model/data_set_properties.h"
#include "report/model/report.h"

namespace vornak {

TfrxDataBand::~TfrxDataBand() = default;

const TfrxPropertyList &TfrxDataBand::ClassProperties()
{
    using C = TfrxDataBand;
    using B = PropertyBuilder<C>;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxBand::ClassProperties();
        l << frxDataSetProperties<C>();
        l << FRX_INT(C, RowCount, 0) << FRX_INT(C, Columns, 0) << FRX_FLOAT(C, ColumnWidth, 0.0)
          << FRX_FLOAT(C, ColumnGap, 0.0) << FRX_BOOL(C, FooterAfterEach, false) << FRX_BOOL(C, KeepFooter, false)
          << FRX_BOOL(C, KeepHeader, false) << FRX_BOOL(C, KeepTogether, false)
          << FRX_BOOL(C, PrintIfDetailEmpty, false)
          << B::Text(
                 QStringLiteral("OnMasterDetail"), [](const C &o) { return o.OnMasterDetail; },
                 [](C &o, QString v) { o.OnMasterDetail = v; });
        return l;
    }();
    return list;
}

}  // namespace vornak
