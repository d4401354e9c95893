#pragma once

#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "data/ado_table.h"
#include "data/data_source.h"
#include "data/field_kinds.h"
#include "data/reminders.h"

#include <memory>
#include <optional>
#include <vector>

namespace vornak {

// The data module: the one connection and every dataset and data source of the log book.
// Creating it connects to "VORNAK.mdb" in the working directory (the command line names another
// file by its connection string) and opens the vehicle and expense type tables; the mileage,
// event and expense lists follow the current vehicle. Raises DatabaseError (the engine's message)
// when the file cannot be opened.
class TDataModule1 : public TComponent {
public:
    // Whether the lists the windows show are open (the expense type catalogue, and the mileage,
    // event and expense lists following the current vehicle) or stay closed (the command line's
    // report reads none of them; the vehicles and the report's queries work as always).
    enum class Lists { Open, Closed };

    TDataModule1();
    explicit TDataModule1(const QString &connectionString, Lists lists = Lists::Open);
    // A dataset with its fields, as the table the constructor reads declares it (data_module.cpp).
    struct DataSetRow;
    ~TDataModule1() override;

    // Components in declaration order.
    TDataSource *SourceSprAuto;
    TDataSource *SourceDocExpense;
    TDataSource *SourceDocMileage;
    TDataSource *SourceDocEvents;
    TDataSource *SourceTYPE_EXPENSE;
    TADOConnection *ADOConnection1;
    TADOQuery *QueryDocMileage;
    TADOQuery *QueryDocEvents;
    TADOQuery *QueryDocExpense;
    TADOTable *TableSprAuto;
    TADOTable *TableTYPE_EXPENSE;
    TADOQuery *ADOQuery1;
    TADOQuery *QueryBegin;
    TADOQuery *QueryOborot;
    TADOQuery *QueryEnde;
    TDataSource *SourceBegin;
    TDataSource *SourceOborot;
    TDataSource *SourceEnde;
    TDataSource *Source1;

    // Persistent fields, named after their dataset and field.
    TAutoIncField *TableSprAutoid;
    TWideStringField *TableSprAutonameauto;
    TIntegerField *TableSprAutobeginkm;
    TDateTimeField *TableSprAutobegindate;

    TAutoIncField *TableTYPE_EXPENSEID;
    TWideStringField *TableTYPE_EXPENSEOPISANIE;

    TAutoIncField *QueryDocMileageid;
    TDateTimeField *QueryDocMileagedatedoc;
    TIntegerField *QueryDocMileageidauto;
    TIntegerField *QueryDocMileagetekprobeg;
    TIntegerField *QueryDocMileageraznica;

    TAutoIncField *QueryDocEventsid;
    TIntegerField *QueryDocEventsidauto;
    TIntegerField *QueryDocEventsidtype;
    TIntegerField *QueryDocEventsENDE;
    TDateTimeField *QueryDocEventsdatedoc;
    TIntegerField *QueryDocEventsmileage;
    TStringField *QueryDocEventsgotovo_end;
    TStringField *QueryDocEventstyps;
    TWideStringField *QueryDocEventsopisanie;

    TIntegerField *QueryDocExpenseIDTYPE;
    TIntegerField *QueryDocExpenseIDAUTO;
    TDateTimeField *QueryDocExpenseDATEDOC;
    TFloatField *QueryDocExpenseKOLVO;
    TFloatField *QueryDocExpenseSUMMA;
    TWideStringField *QueryDocExpensetypename;
    TWideStringField *QueryDocExpenseOPISANIE;
    TAutoIncField *QueryDocExpenseID;

    // The scratch query ADOQuery1, closed, with `lines` as its statement.
    TADOQuery *scratchStatement(const QStringList &lines);
    // True when the vehicle `id` still has mileage entries, events or expenses (counted with the
    // scratch statement). Such a vehicle is never deleted: the vehicles table refuses it before
    // deleting, with `vehicleDeleteRefusal`.
    bool vehicleHasEntries(const QString &id);
    static const QString vehicleDeleteRefusal;
    // The number of expenses of the expense type `id` (counted with the scratch statement). A
    // type some expense uses is never deleted: its expenses would drop out of every report's
    // per-type sums. The types table refuses it before deleting, with `typeDeleteRefusal`.
    int expensesOfType(const QString &id);
    static QString typeDeleteRefusal(int expenses);

    // Whether the event list's current record is due (today from the clock), against the current
    // vehicle's highest odometer reading. That reading is read once and kept until the mileage
    // list or the vehicle changes.
    reminders::Due QueryDocEventsDue();

    // The per-vehicle refresh: reopens the three lists for the current vehicle.
    void SourceSprAutoDataChange(TDataSource *Sender, TField *Field);
    // The status and reminder texts of each event.
    void QueryDocEventsCalcFields(TDataSet *DataSet);

private:
    // Frees the components in the reverse order of their creation.
    struct OwnedComponents {
        std::vector<std::unique_ptr<TComponent>> items;
        ~OwnedComponents();
    };

    template <class Component>
    Component *create(const QString &name);
    void createDataSet(const DataSetRow &row);
    void refreshVehicleList(TADOQuery *query, int conditionLine);

    Lists lists_;
    std::optional<std::optional<qint64>> highestReading_;  // the current vehicle's, once read
    OwnedComponents owned_;
};

extern TDataModule1 *DataModule1;

}  // namespace vornak
