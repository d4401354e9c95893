#pragma once

#include "data/data_set.h"
#include "report/sources/custom_db_data_set.h"

namespace vornak {

class TDataSource;

// The report data source of this system: walks a dataset of the data layer, read directly
// (DataSet) or through a data source (DataSource).
class TfrxDBDataset : public TfrxCustomDBDataSet {
public:
    using TfrxCustomDBDataSet::TfrxCustomDBDataSet;
    ~TfrxDBDataset() override;
    QString ClassName() const override { return QStringLiteral("TfrxDBDataset"); }

    vornak::TDataSet *DataSet() const { return dataSet_; }
    // Setting one clears the other.
    void SetDataSet(vornak::TDataSet *value);
    TDataSource *DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource *value);
    bool BCDToCurrency() const { return bcdToCurrency_; }
    void SetBCDToCurrency(bool value) { bcdToCurrency_ = value; }

    vornak::TDataSet *GetDataSet() const override;

    // Raises EngineError "Компонент %s не подключен к данным" without a dataset.
    void Initialize() override;
    void Finalize() override;
    void Open() override;
    void Close() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

protected:
    bool BcdAsCurrency() const override { return bcdToCurrency_; }

private:
    void afterOpen(vornak::TDataSet *dataSet);
    void beforeClose(vornak::TDataSet *dataSet);
    void restoreHandlers();

    vornak::TDataSet *dataSet_ = nullptr;
    TDataSource *dataSource_ = nullptr;
    bool bcdToCurrency_ = false;

    vornak::TDataSet *effective_ = nullptr;
    TBookmark startBookmark_;
    bool ownEof_ = false;
    bool handlersInstalled_ = false;
    vornak::TDataSet::TDataSetNotifyEvent savedAfterOpen_;
    vornak::TDataSet::TDataSetNotifyEvent savedBeforeClose_;
};

}  // namespace vornak
