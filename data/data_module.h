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

// The data module: the one connection and every dataset and data source of the log book.
// Creating it connects to "VORNAK.mdb" in the working directory (the command line names another
// file by its connection string) and opens the vehicle and expense type tables; the mileage,
// event and expense lists follow the current vehicle. Raises DatabaseError (the engine's message)
// when the file cannot be opened.
class TDataModule1 : public vornak::TComponent {
public:
    // Whether the lists the windows show are open (the expense type catalogue, and the mileage,
    // event and expense lists following the current vehicle) or stay closed (the command line's
    // report reads none of them; the vehicles and the report's queries work as always).
    enum class Lists { Open, Closed };

    TDataModule1();
    explicit TDataModule1(const QString &connectionString, Lists lists = Lists::Open);
    ~TDataModule1() override;

    // Components in declaration order.
    vornak::TDataSource *SourceSprAuto;
    vornak::TDataSource *SourceDocExpense;
    vornak::TDataSource *SourceDocMileage;
    vornak::TDataSource *SourceDocEvents;
    vornak::TDataSource *SourceTYPE_EXPENSE;
    vornak::TADOConnection *ADOConnection1;
    vornak::TADOQuery *QueryDocMileage;
    vornak::TADOQuery *QueryDocEvents;
    vornak::TADOQuery *QueryDocExpense;
    vornak::TADOTable *TableSprAuto;
    vornak::TADOTable *TableTYPE_EXPENSE;
    vornak::TADOQuery *ADOQuery1;
    vornak::TADOQuery *QueryBegin;
    vornak::TADOQuery *QueryOborot;
    vornak::TADOQuery *QueryEnde;
    vornak::TDataSource *SourceBegin;
    vornak::TDataSource *SourceOborot;
    vornak::TDataSource *SourceEnde;
    vornak::TDataSource *Source1;

    // Persistent fields, named after their dataset and field.
    vornak::TAutoIncField *TableSprAutoid;
    vornak::TWideStringField *TableSprAutonameauto;
    vornak::TIntegerField *TableSprAutobeginkm;
    vornak::TDateTimeField *TableSprAutobegindate;

    vornak::TAutoIncField *TableTYPE_EXPENSEID;
    vornak::TWideStringField *TableTYPE_EXPENSEOPISANIE;

    vornak::TAutoIncField *QueryDocMileageid;
    vornak::TDateTimeField *QueryDocMileagedatedoc;
    vornak::TIntegerField *QueryDocMileageidauto;
    vornak::TIntegerField *QueryDocMileagetekprobeg;
    vornak::TIntegerField *QueryDocMileageraznica;

    vornak::TAutoIncField *QueryDocEventsid;
    vornak::TIntegerField *QueryDocEventsidauto;
    vornak::TIntegerField *QueryDocEventsidtype;
    vornak::TIntegerField *QueryDocEventsENDE;
    vornak::TDateTimeField *QueryDocEventsdatedoc;
    vornak::TIntegerField *QueryDocEventsmileage;
    vornak::TStringField *QueryDocEventsgotovo_end;
    vornak::TStringField *QueryDocEventstyps;
    vornak::TWideStringField *QueryDocEventsopisanie;

    vornak::TIntegerField *QueryDocExpenseIDTYPE;
    vornak::TIntegerField *QueryDocExpenseIDAUTO;
    vornak::TDateTimeField *QueryDocExpenseDATEDOC;
    vornak::TFloatField *QueryDocExpenseKOLVO;
    vornak::TFloatField *QueryDocExpenseSUMMA;
    vornak::TWideStringField *QueryDocExpensetypename;
    vornak::TWideStringField *QueryDocExpenseOPISANIE;
    vornak::TAutoIncField *QueryDocExpenseID;

    // The scratch query ADOQuery1, closed, with `lines` as its statement.
    vornak::TADOQuery *scratchStatement(const QStringList &lines);
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
    // Makes the vehicle named `nameOrKey` current: the one whose key is that number, else the one
    // of that name. Raises Error when there is none, or when several share the name.
    void selectVehicle(const QString &nameOrKey);

    // Whether the event list's current record is due (today from the clock), against the current
    // vehicle's highest odometer reading. That reading is read once and kept until the mileage
    // list or the vehicle changes.
    vornak::reminders::Due QueryDocEventsDue();

    // The per-vehicle refresh: reopens the three lists for the current vehicle.
    void SourceSprAutoDataChange(vornak::TDataSource *Sender, vornak::TField *Field);
    // The status and reminder texts of each event.
    void QueryDocEventsCalcFields(vornak::TDataSet *DataSet);

private:
    // Frees the components in the reverse order of their creation.
    struct OwnedComponents {
        std::vector<std::unique_ptr<vornak::TComponent>> items;
        ~OwnedComponents();
    };

    template <class Component>
    Component *create(const QString &name);
    vornak::TADOQuery *createQuery(const QString &name, const QStringList &lines);
    void refreshVehicleList(vornak::TADOQuery *query, int conditionLine);

    Lists lists_;
    std::optional<std::optional<qint64>> highestReading_;  // the current vehicle's, once read
    OwnedComponents owned_;
};

extern TDataModule1 *DataModule1;
