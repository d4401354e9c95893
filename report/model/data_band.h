#pragma once

#include "report/model/band.h"
#include "report/model/data_set.h"

#include <memory>

namespace vornak {

// A band printed once per record of its data set (or RowCount times without one).
class TfrxDataBand : public TfrxBand {
public:
    using TfrxBand::TfrxBand;
    ~TfrxDataBand() override;
    QString ClassName() const override { return QStringLiteral("TfrxDataBand"); }

    TfrxDataSet *DataSet() const { return binding_.DataSet(); }
    void SetDataSet(TfrxDataSet *value) { binding_.SetDataSet(value); }
    QString DataSetName() const { return binding_.Name(); }
    void SetDataSetName(const QString &value) { binding_.SetName(value, Report()); }
    int RowCount() const { return rowCount_; }
    void SetRowCount(int value) { rowCount_ = value; }
    int Columns() const { return columns_; }
    void SetColumns(int value) { columns_ = value; }
    double ColumnWidth() const { return columnWidth_; }
    void SetColumnWidth(double value) { columnWidth_ = value; }
    double ColumnGap() const { return columnGap_; }
    void SetColumnGap(double value) { columnGap_ = value; }
    bool FooterAfterEach() const { return footerAfterEach_; }
    void SetFooterAfterEach(bool value) { footerAfterEach_ = value; }
    bool KeepFooter() const { return keepFooter_; }
    void SetKeepFooter(bool value) { keepFooter_ = value; }
    bool KeepHeader() const { return keepHeader_; }
    void SetKeepHeader(bool value) { keepHeader_ = value; }
    bool KeepTogether() const { return keepTogether_; }
    void SetKeepTogether(bool value) { keepTogether_ = value; }
    bool PrintIfDetailEmpty() const { return printIfDetailEmpty_; }
    void SetPrintIfDetailEmpty(bool value) { printIfDetailEmpty_ = value; }
    QString OnMasterDetail;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time: the counting data set used when RowCount > 0 without a data set (owned here),
    // the current column and the lowest Y the columns reached.
    std::unique_ptr<TfrxDataSet> VirtualDataSet;
    int CurColumn = 0;
    double MaxY = 0;

private:
    TfrxDataSetBinding binding_;
    int rowCount_ = 0;
    int columns_ = 0;
    double columnWidth_ = 0;
    double columnGap_ = 0;
    bool footerAfterEach_ = false;
    bool keepFooter_ = false;
    bool keepHeader_ = false;
    bool keepTogether_ = false;
    bool printIfDetailEmpty_ = false;
};

#define FRX_DATA_BAND_LEVEL(Class)                                                                                     \
    class Class : public TfrxDataBand {                                                                                \
    public:                                                                                                            \
        using TfrxDataBand::TfrxDataBand;                                                                              \
        QString ClassName() const override { return QStringLiteral(#Class); }                                          \
    };

FRX_DATA_BAND_LEVEL(TfrxMasterData)
FRX_DATA_BAND_LEVEL(TfrxDetailData)
FRX_DATA_BAND_LEVEL(TfrxSubdetailData)
FRX_DATA_BAND_LEVEL(TfrxDataBand4)
FRX_DATA_BAND_LEVEL(TfrxDataBand5)
FRX_DATA_BAND_LEVEL(TfrxDataBand6)

#undef FRX_DATA_BAND_LEVEL

}  // namespace vornak
