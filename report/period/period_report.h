#pragma once

// The period report as the report tab and `vornak-db report` run it: the report read from its
// template, its five report data sets over the data module's report queries, and the run for one
// vehicle and period. Both open the run here and then prepare the same report: the tab shows it
// in its preview, the command line prepares it and draws its pages into a PDF file.
//
// "Auto" reads the run's own query of the vehicle's row, not the vehicle selector: moving the
// selector after a run leaves the run's title naming the vehicle whose figures it shows.

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vornak {
class TADOQuery;
class TDataSource;
}  // namespace vornak

namespace vornak {

class TDataModule1;

class TfrxCustomPreview;
class TfrxDBDataset;
class TfrxReport;
class TPeriodSumsDataSet;

class PeriodReport {
public:
    // Reads the template into frxReport1 and gives it every stage a preparation needs;
    // `findPreview` finds the preview control the template names (none on the command line).
    explicit PeriodReport(std::function<TfrxCustomPreview *(const QString &)> findPreview = {});
    ~PeriodReport();

    // Binds the report data sets to the data module's sources and "Auto" to a query of the run's
    // vehicle on the data module's connection.
    void bind(TDataModule1 &dataModule);
    // Lets go of the data module bound last, before it goes, so that the report can be bound to
    // another one later (a process that makes one report of each of several log books).
    void unbind();
    // Opens the report queries for the vehicle `vehicleId` (its key as text) and the period, and
    // gives the report the script with the period caption. A query the engine rejects raises and
    // leaves the script as it was.
    void open(TDataModule1 &dataModule, const QString &vehicleId, const QDate &first, const QDate &last);
    // The name of the vehicle of the run opened last (empty before the first).
    QString vehicleName() const;

    // The report data sets (Auto, Begin, Ende, Oborot, Source1), declared before the report so
    // that the report goes first.
    std::vector<std::unique_ptr<TfrxDBDataset>> reportDataSets;
    TfrxDBDataset *frxDBAuto = nullptr;
    TfrxDBDataset *frxDBBegin = nullptr;
    TfrxDBDataset *frxDBEnde = nullptr;
    TfrxDBDataset *frxDBOborot = nullptr;
    TPeriodSumsDataSet *frxDBDataset4 = nullptr;
    std::unique_ptr<TfrxReport> frxReport1;

private:
    std::unique_ptr<TADOQuery> vehicleQuery_;  // the run's vehicle row, read by "Auto"
    std::unique_ptr<TDataSource> vehicleSource_;
};

}  // namespace vornak
