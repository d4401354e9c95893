#include "report/period/period_report.h"

#include "data/ado_query.h"
#include "data/data_module.h"
#include "data/data_source.h"
#include "report/engine/report_preparation.h"
#include "report/model/report.h"
#include "report/period/period_report_queries.h"
#include "report/period/period_report_template.h"
#include "report/period/period_sums_data_set.h"

namespace vornak {

namespace {

// The report data sets over single rows and the current vehicle: component and user name. The
// per-type sums, "Source1" (frxDBDataset4), has a data set of its own kind.
struct ReportDataSetRow {
    TfrxDBDataset *PeriodReport::*dataSet;
    const char *name;
    const char *userName;
};

const ReportDataSetRow reportDataSetRows[] = {
    {&PeriodReport::frxDBAuto, "frxDBAuto", "Auto"},
    {&PeriodReport::frxDBBegin, "frxDBBegin", "Begin"},
    {&PeriodReport::frxDBEnde, "frxDBEnde", "Ende"},
    {&PeriodReport::frxDBOborot, "frxDBOborot", "Oborot"},
};

// A report data set of the report: named, its data source not closed after a run.
template <class DataSet>
DataSet *addReportDataSet(std::vector<std::unique_ptr<TfrxDBDataset>> &owned, const char *name, const char *userName)
{
    auto dataSet = std::make_unique<DataSet>();
    dataSet->SetName(QLatin1String(name));
    dataSet->SetUserName(QLatin1String(userName));
    dataSet->SetCloseDataSource(false);
    dataSet->SetBCDToCurrency(false);
    DataSet *raw = dataSet.get();
    owned.push_back(std::move(dataSet));
    return raw;
}

}  // namespace

PeriodReport::PeriodReport(std::function<TfrxCustomPreview *(const QString &)> findPreview)
{
    for (const ReportDataSetRow &row : reportDataSetRows)
        this->*row.dataSet = addReportDataSet<TfrxDBDataset>(reportDataSets, row.name, row.userName);
    frxDBDataset4 = addReportDataSet<TPeriodSumsDataSet>(reportDataSets, "frxDBDataset4", "Source1");

    frxReport1 = std::make_unique<TfrxReport>();
    TfrxTemplateLinks links;
    links.findDataSet = TfrxTemplateLinks::dataSetIn(reportDataSets);
    links.findPreview = std::move(findPreview);
    LoadPeriodReportTemplate(*frxReport1, links);
    InstallReportStages(*frxReport1);
}

PeriodReport::~PeriodReport() = default;

void PeriodReport::bind(TDataModule1 &dataModule)
{
    vehicleQuery_ = std::make_unique<TADOQuery>();
    vehicleQuery_->Name = QStringLiteral("QueryRunAuto");
    vehicleQuery_->Connection = dataModule.ADOConnection1;
    vehicleQuery_->CursorType = ctStatic;
    vehicleSource_ = std::make_unique<TDataSource>();
    vehicleSource_->SetDataSet(vehicleQuery_.get());
    frxDBAuto->SetDataSource(vehicleSource_.get());
    frxDBBegin->SetDataSource(dataModule.SourceBegin);
    frxDBEnde->SetDataSource(dataModule.SourceEnde);
    frxDBOborot->SetDataSource(dataModule.SourceOborot);
    frxDBDataset4->Bind(dataModule.Source1);
}

void PeriodReport::unbind()
{
    for (TfrxDBDataset *dataSet : {frxDBAuto, frxDBBegin, frxDBEnde, frxDBOborot})
        dataSet->SetDataSource(nullptr);
    frxDBDataset4->Bind(nullptr);
    vehicleSource_.reset();
    vehicleQuery_.reset();
}

void PeriodReport::open(TDataModule1 &dataModule, const QString &vehicleId, const QDate &first, const QDate &last)
{
    const PeriodReportQueries queries = periodReportQueries(vehicleId, first, last);
    if (vehicleQuery_)
        RewriteAndOpen(*vehicleQuery_, queries.Auto);
    RewriteAndOpen(*dataModule.QueryBegin, queries.Begin);
    RewriteAndOpen(*dataModule.QueryOborot, queries.Oborot);
    RewriteAndOpen(*dataModule.QueryEnde, queries.Ende);
    frxDBDataset4->OpenSums(queries.Sums);
    frxReport1->SetScriptText(PeriodReportScript(first, last));
}

}  // namespace vornak

namespace vornak {

QString PeriodReport::vehicleName() const
{
    if (!vehicleQuery_ || !vehicleQuery_->Active())
        return {};
    TField *name = vehicleQuery_->FindField(QStringLiteral("nameauto"));
    return name ? name->AsString() : QString();
}

}  // namespace vornak
