#include "data/data_module.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/sql_literal.h"

namespace vornak {

TDataModule1 *DataModule1 = nullptr;

namespace {

const QString workingDirectoryConnection =
    QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=VORNAK.mdb;Persist Security Info=False;"
                   "Jet OLEDB:Database Password=KwtRPaNzEq48");

template <class Field>
Field *declareField(TDataSet *dataSet, const QString &fieldName, const QString &label = {}, int size = 0,
                    TFieldKind kind = fkData)
{
    Field *field = dataSet->AddField<Field>(fieldName, kind);
    field->DisplayLabel = label;
    if (size > 0)
        field->Size = size;
    if constexpr (std::is_base_of_v<TAutoIncField, Field>)
        field->ReadOnly = true;
    return field;
}

// A persistent field of a dataset: the module's member it goes into, its name, its label, its
// size (0: the field kind's own) and its kind. Auto-increment keys are read-only.
struct FieldRow {
    void (*make)(TDataModule1 &module, TDataSet *dataSet, const FieldRow &row);
    const char *name;
    const char *label = nullptr;
    int size = 0;
    TFieldKind kind = fkData;
};

template <auto member>
void makeField(TDataModule1 &module, TDataSet *dataSet, const FieldRow &row)
{
    using Field = std::remove_pointer_t<std::remove_reference_t<decltype(module.*member)>>;
    module.*member =
        declareField<Field>(dataSet, QString::fromUtf8(row.name), QString::fromUtf8(row.label), row.size, row.kind);
}

// A dataset of the module: a query with its statement (one line per "\n") or a table with its
// table name, the member it goes into, its component name and its persistent fields.
}  // namespace

struct TDataModule1::DataSetRow {
    enum class Kind { Query, Table } kind;
    void (*assign)(TDataModule1 &module, TCustomADODataSet *dataSet);
    const char *name;
    const char *source;
    std::vector<FieldRow> fields;
};

namespace {

using DataSetRow = TDataModule1::DataSetRow;

template <auto member>
void assignDataSet(TDataModule1 &module, TCustomADODataSet *dataSet)
{
    using DataSet = std::remove_pointer_t<std::remove_reference_t<decltype(module.*member)>>;
    module.*member = static_cast<DataSet *>(dataSet);
}

using M = TDataModule1;
constexpr auto query = DataSetRow::Kind::Query;
constexpr auto table = DataSetRow::Kind::Table;

// The datasets in the order they are created. Each vehicle list's "where IDAUTO = 1" is replaced
// by the current vehicle's key when the vehicle changes (refreshVehicleList).
const std::vector<DataSetRow> &dataSetRows()
{
    static const std::vector<DataSetRow> rows = {
        {query,
         &assignDataSet<&M::QueryDocMileage>,
         "QueryDocMileage",
         "select *  from DOC_MILEAGE\nwhere IDAUTO = 1\norder by DATEDOC",
         {
             {&makeField<&M::QueryDocMileageid>, "id"},
             {&makeField<&M::QueryDocMileagedatedoc>, "datedoc", "Дата"},
             {&makeField<&M::QueryDocMileageidauto>, "idauto"},
             {&makeField<&M::QueryDocMileagetekprobeg>, "tekprobeg", "Текущий пробег"},
             {&makeField<&M::QueryDocMileageraznica>, "raznica", "Разница"},
         }},
        {query,
         &assignDataSet<&M::QueryDocEvents>,
         "QueryDocEvents",
         "select *  from DOC_EVENTS\nwhere IDAUTO = 1\norder by DATEDOC",
         {
             {&makeField<&M::QueryDocEventsid>, "id"},
             {&makeField<&M::QueryDocEventsidauto>, "idauto"},
             {&makeField<&M::QueryDocEventsidtype>, "idtype"},
             {&makeField<&M::QueryDocEventsENDE>, "ENDE", "Готово"},
             {&makeField<&M::QueryDocEventsdatedoc>, "datedoc", "Дата выполнения"},
             {&makeField<&M::QueryDocEventsmileage>, "mileage", "Пробег выполнения"},
             {&makeField<&M::QueryDocEventsgotovo_end>, "gotovo_end", "Готово", 20, fkCalculated},
             {&makeField<&M::QueryDocEventstyps>, "typs", "Активность", 20, fkCalculated},
             {&makeField<&M::QueryDocEventsopisanie>, "opisanie", "Описание", 255},
         }},
        {query,
         &assignDataSet<&M::QueryDocExpense>,
         "QueryDocExpense",
         "select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  \nfrom DOC_EXPENSE\n"
         "left outer join  SYS_TYPE_EXPENSE on  SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE\nwhere IDAUTO = 1\n"
         "order by DATEDOC",
         {
             {&makeField<&M::QueryDocExpenseIDTYPE>, "IDTYPE"},
             {&makeField<&M::QueryDocExpenseIDAUTO>, "IDAUTO"},
             {&makeField<&M::QueryDocExpenseDATEDOC>, "DATEDOC", "Дата"},
             {&makeField<&M::QueryDocExpenseKOLVO>, "KOLVO", "Количество"},
             {&makeField<&M::QueryDocExpenseSUMMA>, "SUMMA", "Сумма"},
             {&makeField<&M::QueryDocExpensetypename>, "typename", "Тип расхода", 255},
             {&makeField<&M::QueryDocExpenseOPISANIE>, "OPISANIE", "Описание", 255},
             {&makeField<&M::QueryDocExpenseID>, "ID"},
         }},
        {table,
         &assignDataSet<&M::TableSprAuto>,
         "TableSprAuto",
         "SPR_AUTO",
         {
             {&makeField<&M::TableSprAutoid>, "id"},
             {&makeField<&M::TableSprAutonameauto>, "nameauto", "Название", 255},
             {&makeField<&M::TableSprAutobeginkm>, "beginkm", "Начальный пробег"},
             {&makeField<&M::TableSprAutobegindate>, "begindate", "Дата начала"},
         }},
        {table,
         &assignDataSet<&M::TableTYPE_EXPENSE>,
         "TableTYPE_EXPENSE",
         "SYS_TYPE_EXPENSE",
         {
             {&makeField<&M::TableTYPE_EXPENSEID>, "ID"},
             {&makeField<&M::TableTYPE_EXPENSEOPISANIE>, "OPISANIE", nullptr, 255},
         }},
        // The report's statements as the report was designed: a fixed vehicle and dates. They are
        // never run as they stand: the report tab and the command line replace them with the
        // chosen vehicle and period before opening them (period_report_queries.cpp).
        {query,
         &assignDataSet<&M::ADOQuery1>,
         "ADOQuery1",
         "select sys_type_expense.opisanie ,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC < #11/13/2011# AND "
         "DOC_EXPENSE.IDAUTO=1 ) AS s1,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/13/2011# And "
         "#11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,\n"
         "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE\n"
         "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/13/2011# AND "
         "DOC_EXPENSE.IDAUTO=1 ) AS s3\n"
         "FROM sys_type_expense\nORDER BY sys_type_expense.opisanie;",
         {}},
        {query,
         &assignDataSet<&M::QueryBegin>,
         "QueryBegin",
         "select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc <#11/13/2011# and "
         "doc_mileage.idauto = 1",
         {}},
        {query,
         &assignDataSet<&M::QueryOborot>,
         "QueryOborot",
         "SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\n"
         "WHERE doc_mileage.datedoc between #11/13/2011# and #11/13/2011#\nand doc_mileage.idauto = 1",
         {}},
        {query,
         &assignDataSet<&M::QueryEnde>,
         "QueryEnde",
         "SELECT Sum(doc_mileage.raznica) as sm\nFROM doc_mileage\nWHERE doc_mileage.datedoc <=#11/13/2011#\n"
         "and doc_mileage.idauto = 1",
         {}},
    };
    return rows;
}

// The texts of the event codes (idtype and ENDE); other codes show nothing.
const QStringList reminderTexts = {QStringLiteral("по дате"), QStringLiteral("по пробегу")};
const QStringList statusTexts = {QStringLiteral("в процессе"), QStringLiteral("завершен")};

QString codeText(const QStringList &texts, int code)
{
    return code >= 0 && code < texts.size() ? texts[code] : QString();
}

// The count statements of the vehicle delete check: one per kind of entry.
struct EntryCount {
    const char *select;
    const char *from;
    const char *where;
};

constexpr EntryCount entryCounts[] = {
    {"SELECT Count(doc_mileage.id) AS cnt", "FROM doc_mileage", "where doc_mileage.idauto="},
    {"SELECT Count(DOC_EVENTS.id) AS cnt", "FROM DOC_EVENTS", "where DOC_EVENTS.idauto="},
    {"SELECT Count(DOC_EXPENSE.id) AS cnt", "FROM DOC_EXPENSE", "where DOC_EXPENSE.idauto="},
};

}  // namespace

const QString TDataModule1::vehicleDeleteRefusal =
    QStringLiteral("Невозможно удалить автомобиль!\rЧтобы удалить его, необходимо удалить пробег, затраты и события по "
                   "этому автомобилю.");

QString TDataModule1::typeDeleteRefusal(int expenses)
{
    return QStringLiteral("Невозможно удалить тип расходов!\rЗатрат этого типа: %1. Чтобы удалить тип, необходимо "
                          "сначала изменить или удалить эти затраты.")
        .arg(expenses);
}

TDataModule1::OwnedComponents::~OwnedComponents()
{
    while (!items.empty())
        items.pop_back();
}

template <class Component>
Component *TDataModule1::create(const QString &name)
{
    auto component = std::make_unique<Component>(this);
    Component *raw = component.get();
    raw->Name = name;
    owned_.items.push_back(std::move(component));
    return raw;
}

void TDataModule1::createDataSet(const DataSetRow &row)
{
    const QString name = QString::fromUtf8(row.name);
    const QString source = QString::fromUtf8(row.source);
    TCustomADODataSet *dataSet;
    if (row.kind == DataSetRow::Kind::Query) {
        auto *query = create<TADOQuery>(name);
        for (const QString &line : source.split(u'\n'))
            query->SQL.Add(line);
        dataSet = query;
    } else {
        auto *table = create<TADOTable>(name);
        table->TableName = source;
        dataSet = table;
    }
    dataSet->Connection = ADOConnection1;
    dataSet->CursorType = ctStatic;
    row.assign(*this, dataSet);
    for (const FieldRow &field : row.fields)
        field.make(*this, dataSet, field);
}

TDataModule1::TDataModule1()
    : TDataModule1(workingDirectoryConnection)
{
}

TDataModule1::TDataModule1(const QString &connectionString, Lists lists)
    : lists_(lists)
{
    Name = QStringLiteral("DataModule1");
    BeginLoading();

    SourceSprAuto = create<TDataSource>(QStringLiteral("SourceSprAuto"));
    SourceDocExpense = create<TDataSource>(QStringLiteral("SourceDocExpense"));
    SourceDocMileage = create<TDataSource>(QStringLiteral("SourceDocMileage"));
    SourceDocEvents = create<TDataSource>(QStringLiteral("SourceDocEvents"));
    SourceTYPE_EXPENSE = create<TDataSource>(QStringLiteral("SourceTYPE_EXPENSE"));

    ADOConnection1 = create<TADOConnection>(QStringLiteral("ADOConnection1"));
    ADOConnection1->ConnectionString = connectionString;
    ADOConnection1->Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
    ADOConnection1->LoginPrompt = false;
    ADOConnection1->Mode = cmShareDenyNone;
    ADOConnection1->SetConnected(true);

    for (const DataSetRow &row : dataSetRows())
        createDataSet(row);
    QueryDocEvents->OnCalcFields = [this](TDataSet *dataSet) { QueryDocEventsCalcFields(dataSet); };
    QueryDocExpenseDATEDOC->SetDisplayWidth(10);
    TableSprAuto->SetActive(true);
    TableTYPE_EXPENSE->SetActive(lists == Lists::Open);
    // Whatever path deletes a vehicle, one with entries stays: their lists would lose them.
    TableSprAuto->BeforeDelete = [this](TDataSet *) {
        const QString id = TableSprAutoid->AsString();
        if (!id.isEmpty() && vehicleHasEntries(id))
            throw Error(vehicleDeleteRefusal);
    };

    // Whatever path deletes a type, one that expenses use stays: they would drop out of the sums.
    TableTYPE_EXPENSE->BeforeDelete = [this](TDataSet *) {
        const QString id = TableTYPE_EXPENSEID->AsString();
        if (const int expenses = id.isEmpty() ? 0 : expensesOfType(id); expenses > 0)
            throw Error(typeDeleteRefusal(expenses));
    };

    SourceBegin = create<TDataSource>(QStringLiteral("SourceBegin"));
    SourceOborot = create<TDataSource>(QStringLiteral("SourceOborot"));
    SourceEnde = create<TDataSource>(QStringLiteral("SourceEnde"));
    Source1 = create<TDataSource>(QStringLiteral("Source1"));

    // The highest reading is read again after anything that may change it.
    const auto forgetHighestReading = [this](TDataSet *) { highestReading_.reset(); };
    QueryDocMileage->AfterOpen = forgetHighestReading;
    QueryDocMileage->AfterClose = forgetHighestReading;
    QueryDocMileage->AfterPost = forgetHighestReading;
    QueryDocMileage->AfterDelete = forgetHighestReading;
    TableSprAuto->AfterPost = forgetHighestReading;
    TableSprAuto->AfterScroll = forgetHighestReading;

    SourceSprAuto->SetDataSet(TableSprAuto);
    SourceSprAuto->OnDataChange = [this](TDataSource *sender, TField *field) {
        SourceSprAutoDataChange(sender, field);
    };
    SourceDocExpense->SetDataSet(QueryDocExpense);
    SourceDocMileage->SetDataSet(QueryDocMileage);
    SourceDocEvents->SetDataSet(QueryDocEvents);
    SourceTYPE_EXPENSE->SetDataSet(TableTYPE_EXPENSE);
    SourceBegin->SetDataSet(QueryBegin);
    SourceOborot->SetDataSet(QueryOborot);
    SourceEnde->SetDataSet(QueryEnde);
    Source1->SetDataSet(ADOQuery1);

    EndLoading();
}

TDataModule1::~TDataModule1() = default;

TADOQuery *TDataModule1::scratchStatement(const QStringList &lines)
{
    ADOQuery1->Close();
    ADOQuery1->SQL.Clear();
    for (const QString &line : lines)
        ADOQuery1->SQL.Add(line);
    return ADOQuery1;
}

bool TDataModule1::vehicleHasEntries(const QString &id)
{
    bool hasEntries = false;
    for (const EntryCount &count : entryCounts) {
        TADOQuery *query = scratchStatement({QLatin1String(count.select), QLatin1String(count.from),
                                             QLatin1String(count.where) + sql_literal::integer(id.toLongLong())});
        query->Open();
        hasEntries = hasEntries || query->FieldByName(QStringLiteral("cnt"))->AsInteger() > 0;
    }
    return hasEntries;
}

int TDataModule1::expensesOfType(const QString &id)
{
    TADOQuery *query =
        scratchStatement({QStringLiteral("SELECT Count(DOC_EXPENSE.ID) AS cnt"), QStringLiteral("FROM DOC_EXPENSE"),
                          QStringLiteral("where DOC_EXPENSE.IDTYPE=") + sql_literal::integer(id.toLongLong())});
    query->Open();
    return query->FieldByName(QStringLiteral("cnt"))->AsInteger();
}

void TDataModule1::refreshVehicleList(TADOQuery *query, int conditionLine)
{
    const QString id = TableSprAutoid->AsString();
    if (id.isEmpty())
        return;
    query->Close();
    query->SQL.Set(conditionLine, QStringLiteral("where IDAUTO = ") + sql_literal::integer(id.toLongLong()));
    query->Open();
}

void TDataModule1::SourceSprAutoDataChange(TDataSource *, TField *)
{
    if (lists_ == Lists::Closed)
        return;
    refreshVehicleList(QueryDocMileage, 1);
    refreshVehicleList(QueryDocEvents, 1);
    refreshVehicleList(QueryDocExpense, 3);
}

reminders::Due TDataModule1::QueryDocEventsDue()
{
    const QString vehicle = TableSprAutoid->AsString();
    if (vehicle.isEmpty() || QueryDocEventsid->IsNull())
        return reminders::Due::None;
    if (!highestReading_) {
        // The list is drawn whatever happens to this reading: unread, nothing is due by mileage.
        try {
            highestReading_ = reminders::vehicleHighestReading(ADOConnection1->Engine(), vehicle.toLongLong());
        } catch (const Error &) {
            highestReading_ = std::optional<qint64>();
        }
    }
    const reminders::PlannedEvent event{
        QueryDocEventsidtype->AsInteger(), QueryDocEventsENDE->AsInteger(),
        QueryDocEventsdatedoc->IsNull()
            ? std::nullopt
            : std::optional<QDate>(date_time::datePart(QueryDocEventsdatedoc->AsDateTime())),
        QueryDocEventsmileage->IsNull() ? std::nullopt : std::optional<qint64>(QueryDocEventsmileage->AsInteger())};
    return reminders::due(event, Clock::current().now().date(), *highestReading_);
}

void TDataModule1::QueryDocEventsCalcFields(TDataSet *)
{
    if (const QString text = codeText(reminderTexts, QueryDocEventsidtype->AsInteger()); !text.isEmpty())
        QueryDocEventstyps->SetAsString(text);
    if (const QString text = codeText(statusTexts, QueryDocEventsENDE->AsInteger()); !text.isEmpty())
        QueryDocEventsgotovo_end->SetAsString(text);
}

}  // namespace vornak
