#include "report/sources/db_dataset.h"

#include "data/data_source.h"
#include "platform/errors.h"
#include "report/model/class_registry.h"
#include "report/model/property_builder.h"
#include "report/script/report_text.h"

namespace vornak {

namespace {
// The data source classes join the model's class registry.
const bool registered =
    frxRegisterClass({QStringLiteral("TfrxCustomDBDataSet"), QStringLiteral("TfrxDataSet"), {}}) &&
    frxRegisterClass({QStringLiteral("TfrxDBDataset"), QStringLiteral("TfrxCustomDBDataSet"),
                      [](TfrxComponent *parent) -> TfrxComponent * { return new TfrxDBDataset(parent); }});
}  // namespace

TfrxDBDataset::~TfrxDBDataset()
{
    if (handlersInstalled_)
        restoreHandlers();
}

void TfrxDBDataset::SetDataSet(vornak::TDataSet *value)
{
    dataSet_ = value;
    if (value)
        dataSource_ = nullptr;
    effective_ = GetDataSet();
}

void TfrxDBDataset::SetDataSource(TDataSource *value)
{
    dataSource_ = value;
    if (value)
        dataSet_ = nullptr;
    effective_ = GetDataSet();
}

vornak::TDataSet *TfrxDBDataset::GetDataSet() const
{
    if (dataSet_)
        return dataSet_;
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TfrxDBDataset::Initialize()
{
    effective_ = GetDataSet();
    if (!effective_)
        throw EngineError(reportText("dataSourceNotConnected").arg(Name()));
    if (!handlersInstalled_) {
        savedAfterOpen_ = effective_->AfterOpen;
        savedBeforeClose_ = effective_->BeforeClose;
        effective_->AfterOpen = [this](vornak::TDataSet *d) { afterOpen(d); };
        effective_->BeforeClose = [this](vornak::TDataSet *d) { beforeClose(d); };
        handlersInstalled_ = true;
    }
    ownEof_ = false;
    initialized_ = false;
}

void TfrxDBDataset::restoreHandlers()
{
    if (effective_) {
        effective_->AfterOpen = savedAfterOpen_;
        effective_->BeforeClose = savedBeforeClose_;
    }
    savedAfterOpen_ = nullptr;
    savedBeforeClose_ = nullptr;
    handlersInstalled_ = false;
}

void TfrxDBDataset::afterOpen(vornak::TDataSet *dataSet)
{
    BuildFieldList();
    if (savedAfterOpen_)
        savedAfterOpen_(dataSet);
}

void TfrxDBDataset::beforeClose(vornak::TDataSet *dataSet)
{
    if (savedBeforeClose_)
        savedBeforeClose_(dataSet);
    startBookmark_ = {};
    initialized_ = false;
}

void TfrxDBDataset::Open()
{
    if (initialized_)
        return;
    initialized_ = true;
    if (!effective_)
        effective_ = GetDataSet();
    if (!effective_)
        return;
    if (!effective_->Active())
        effective_->Open();
    BuildFieldList();
    if (RangeBegin() == rbCurrent || RangeEnd() == reCurrent)
        startBookmark_ = effective_->GetBookmark();
    else
        startBookmark_ = {};
    if (OnOpen)
        OnOpen(*this);
}

void TfrxDBDataset::Close()
{
    if (OnClose)
        OnClose(*this);
    if (!effective_)
        return;
    if (handlersInstalled_)
        effective_->Close();  // runs the before-close handling
    else {
        beforeClose(effective_);
        effective_->Close();
    }
}

void TfrxDBDataset::First()
{
    Open();
    if (effective_) {
        if (RangeBegin() == rbCurrent && startBookmark_.valid)
            effective_->GotoBookmark(startBookmark_);
        else
            effective_->First();
    }
    ownEof_ = false;
    TfrxCustomDBDataSet::First();
}

void TfrxDBDataset::Next()
{
    Open();
    ownEof_ = false;
    if (!effective_)
        return;
    if (RangeEnd() == reCurrent && effective_->GetBookmark() == startBookmark_) {
        ownEof_ = true;
        return;
    }
    effective_->Next();
    TfrxCustomDBDataSet::Next();
}

void TfrxDBDataset::Prior()
{
    Open();
    if (effective_)
        effective_->Prior();
    TfrxCustomDBDataSet::Prior();
}

bool TfrxDBDataset::Eof()
{
    Open();
    return TfrxCustomDBDataSet::Eof() || !effective_ || effective_->Eof() || ownEof_;
}

void TfrxDBDataset::Finalize()
{
    if (!effective_)
        return;
    if (startBookmark_.valid) {
        effective_->GotoBookmark(startBookmark_);
        startBookmark_ = {};
    }
    if (CloseDataSource())
        Close();
    if (handlersInstalled_)
        restoreHandlers();
    initialized_ = false;
}

const TfrxPropertyList &TfrxDBDataset::ClassProperties()
{
    using C = TfrxDBDataset;
    // DataSet and DataSource are set by the window that owns the data source.
    static const TfrxPropertyList list =
        TfrxCustomDBDataSet::ClassProperties() + TfrxPropertyList{FRX_BOOL(C, BCDToCurrency, false)};
    return list;
}

}  // namespace vornak
