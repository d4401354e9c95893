#include "data/data_module.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"

#include <QScopeGuard>

TDataModule1 *DataModule1 = nullptr;

using namespace vornak;

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

TADOQuery *TDataModule1::createQuery(const QString &name, const QStringList &lines)
{
    TADOQuery *query = create<TADOQuery>(name);
    query->Connection = ADOConnection1;
    query->CursorType = ctStatic;
    for (const QString &line : lines)
        query->SQL.Add(line);
    return query;
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

    QueryDocMileage = createQuery(QStringLiteral("QueryDocMileage"),
                                  {QStringLiteral("select *  from DOC_MILEAGE"), QStringLiteral("where IDAUTO = 1"),
                                   QStringLiteral("order by DATEDOC")});
    QueryDocMileageid = declareField<TAutoIncField>(QueryDocMileage, QStringLiteral("id"));
    QueryDocMileagedatedoc =
        declareField<TDateTimeField>(QueryDocMileage, QStringLiteral("datedoc"), QStringLiteral("Дата"));
    QueryDocMileageidauto = declareField<TIntegerField>(QueryDocMileage, QStringLiteral("idauto"));
    QueryDocMileagetekprobeg =
        declareField<TIntegerField>(QueryDocMileage, QStringLiteral("tekprobeg"), QStringLiteral("Текущий пробег"));
    QueryDocMileageraznica =
        declareField<TIntegerField>(QueryDocMileage, QStringLiteral("raznica"), QStringLiteral("Разница"));

    QueryDocEvents = createQuery(QStringLiteral("QueryDocEvents"),
                                 {QStringLiteral("select *  from DOC_EVENTS"), QStringLiteral("where IDAUTO = 1"),
                                  QStringLiteral("order by DATEDOC")});
    QueryDocEvents->OnCalcFields = [this](TDataSet *dataSet) { QueryDocEventsCalcFields(dataSet); };
    QueryDocEventsid = declareField<TAutoIncField>(QueryDocEvents, QStringLiteral("id"));
    QueryDocEventsidauto = declareField<TIntegerField>(QueryDocEvents, QStringLiteral("idauto"));
    QueryDocEventsidtype = declareField<TIntegerField>(QueryDocEvents, QStringLiteral("idtype"));
    QueryDocEventsENDE = declareField<TIntegerField>(QueryDocEvents, QStringLiteral("ENDE"), QStringLiteral("Готово"));
    QueryDocEventsdatedoc =
        declareField<TDateTimeField>(QueryDocEvents, QStringLiteral("datedoc"), QStringLiteral("Дата выполнения"));
    QueryDocEventsmileage =
        declareField<TIntegerField>(QueryDocEvents, QStringLiteral("mileage"), QStringLiteral("Пробег выполнения"));
    QueryDocEventsgotovo_end = declareField<TStringField>(QueryDocEvents, QStringLiteral("gotovo_end"),
                                                          QStringLiteral("Готово"), 20, fkCalculated);
    QueryDocEventstyps = declareField<TStringField>(QueryDocEvents, QStringLiteral("typs"),
                                                    QStringLiteral("Активность"), 20, fkCalculated);
    QueryDocEventsopisanie =
        declareField<TWideStringField>(QueryDocEvents, QStringLiteral("opisanie"), QStringLiteral("Описание"), 255);

    QueryDocExpense =
        createQuery(QStringLiteral("QueryDocExpense"),
                    {QStringLiteral("select DOC_EXPENSE.*, SYS_TYPE_EXPENSE.OPISANIE as typename  "),
                     QStringLiteral("from DOC_EXPENSE"),
                     QStringLiteral("left outer join  SYS_TYPE_EXPENSE on  SYS_TYPE_EXPENSE.id = DOC_EXPENSE.IDTYPE"),
                     QStringLiteral("where IDAUTO = 1"), QStringLiteral("order by DATEDOC")});
    QueryDocExpenseIDTYPE = declareField<TIntegerField>(QueryDocExpense, QStringLiteral("IDTYPE"));
    QueryDocExpenseIDAUTO = declareField<TIntegerField>(QueryDocExpense, QStringLiteral("IDAUTO"));
    QueryDocExpenseDATEDOC =
        declareField<TDateTimeField>(QueryDocExpense, QStringLiteral("DATEDOC"), QStringLiteral("Дата"));
    QueryDocExpenseDATEDOC->SetDisplayWidth(10);
    QueryDocExpenseKOLVO =
        declareField<TFloatField>(QueryDocExpense, QStringLiteral("KOLVO"), QStringLiteral("Количество"));
    QueryDocExpenseSUMMA = declareField<TFloatField>(QueryDocExpense, QStringLiteral("SUMMA"), QStringLiteral("Сумма"));
    QueryDocExpensetypename =
        declareField<TWideStringField>(QueryDocExpense, QStringLiteral("typename"), QStringLiteral("Тип расхода"), 255);
    QueryDocExpenseOPISANIE =
        declareField<TWideStringField>(QueryDocExpense, QStringLiteral("OPISANIE"), QStringLiteral("Описание"), 255);
    QueryDocExpenseID = declareField<TAutoIncField>(QueryDocExpense, QStringLiteral("ID"));

    TableSprAuto = create<TADOTable>(QStringLiteral("TableSprAuto"));
    TableSprAuto->Connection = ADOConnection1;
    TableSprAuto->CursorType = ctStatic;
    TableSprAuto->TableName = QStringLiteral("SPR_AUTO");
    TableSprAutoid = declareField<TAutoIncField>(TableSprAuto, QStringLiteral("id"));
    TableSprAutonameauto =
        declareField<TWideStringField>(TableSprAuto, QStringLiteral("nameauto"), QStringLiteral("Название"), 255);
    TableSprAutobeginkm =
        declareField<TIntegerField>(TableSprAuto, QStringLiteral("beginkm"), QStringLiteral("Начальный пробег"));
    TableSprAutobegindate =
        declareField<TDateTimeField>(TableSprAuto, QStringLiteral("begindate"), QStringLiteral("Дата начала"));
    // Whatever path deletes a vehicle, one with entries stays: their lists would lose them.
    TableSprAuto->BeforeDelete = [this](TDataSet *) {
        const QString id = TableSprAutoid->AsString();
        if (!id.isEmpty() && vehicleHasEntries(id))
            throw Error(vehicleDeleteRefusal);
    };
    TableSprAuto->SetActive(true);

    TableTYPE_EXPENSE = create<TADOTable>(QStringLiteral("TableTYPE_EXPENSE"));
    TableTYPE_EXPENSE->Connection = ADOConnection1;
    TableTYPE_EXPENSE->CursorType = ctStatic;
    TableTYPE_EXPENSE->TableName = QStringLiteral("SYS_TYPE_EXPENSE");
    TableTYPE_EXPENSEID = declareField<TAutoIncField>(TableTYPE_EXPENSE, QStringLiteral("ID"));
    TableTYPE_EXPENSEOPISANIE = declareField<TWideStringField>(TableTYPE_EXPENSE, QStringLiteral("OPISANIE"), {}, 255);
    // Whatever path deletes a type, one that expenses use stays: they would drop out of the sums.
    TableTYPE_EXPENSE->BeforeDelete = [this](TDataSet *) {
        const QString id = TableTYPE_EXPENSEID->AsString();
        if (const int expenses = id.isEmpty() ? 0 : expensesOfType(id); expenses > 0)
            throw Error(typeDeleteRefusal(expenses));
    };
    TableTYPE_EXPENSE->SetActive(lists == Lists::Open);

    ADOQuery1 = createQuery(
        QStringLiteral("ADOQuery1"),
        {QStringLiteral("select sys_type_expense.opisanie ,"),
         QStringLiteral("(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE"),
         QStringLiteral("WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC < #11/13/2011# AND "
                        "DOC_EXPENSE.IDAUTO=1 ) AS s1,"),
         QStringLiteral("(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE"),
         QStringLiteral(
             "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between #11/13/2011# And "
             "#11/13/2011# AND DOC_EXPENSE.IDAUTO=1 ) AS s2,"),
         QStringLiteral("(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE"),
         QStringLiteral("WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/13/2011# AND "
                        "DOC_EXPENSE.IDAUTO=1 ) AS s3"),
         QStringLiteral("FROM sys_type_expense"), QStringLiteral("ORDER BY sys_type_expense.opisanie;")});
    QueryBegin = createQuery(QStringLiteral("QueryBegin"),
                             {QStringLiteral("select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE "
                                             "doc_mileage.datedoc <#11/13/2011# and doc_mileage.idauto = 1")});
    QueryOborot =
        createQuery(QStringLiteral("QueryOborot"),
                    {QStringLiteral("SELECT Sum(doc_mileage.raznica) as sm"), QStringLiteral("FROM doc_mileage"),
                     QStringLiteral("WHERE doc_mileage.datedoc between #11/13/2011# and #11/13/2011#"),
                     QStringLiteral("and doc_mileage.idauto = 1")});
    QueryEnde = createQuery(QStringLiteral("QueryEnde"), {QStringLiteral("SELECT Sum(doc_mileage.raznica) as sm"),
                                                          QStringLiteral("FROM doc_mileage"),
                                                          QStringLiteral("WHERE doc_mileage.datedoc <=#11/13/2011#"),
                                                          QStringLiteral("and doc_mileage.idauto = 1")});

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
        TADOQuery *query =
            scratchStatement({QLatin1String(count.select), QLatin1String(count.from), QLatin1String(count.where) + id});
        query->Open();
        hasEntries = hasEntries || query->FieldByName(QStringLiteral("cnt"))->AsInteger() > 0;
    }
    return hasEntries;
}

int TDataModule1::expensesOfType(const QString &id)
{
    TADOQuery *query =
        scratchStatement({QStringLiteral("SELECT Count(DOC_EXPENSE.ID) AS cnt"), QStringLiteral("FROM DOC_EXPENSE"),
                          QStringLiteral("where DOC_EXPENSE.IDTYPE=") + id});
    query->Open();
    return query->FieldByName(QStringLiteral("cnt"))->AsInteger();
}

void TDataModule1::selectVehicle(const QString &nameOrKey)
{
    // One walk with the lists held still notes the record of the key and those of the name; the
    // cursor then moves once onto the one chosen, and the lists follow it.
    int byKey = -1;
    QList<int> byName;
    TableSprAuto->DisableControls();
    {
        const auto enable = qScopeGuard([this] { TableSprAuto->EnableControls(); });
        for (TableSprAuto->First(); !TableSprAuto->Eof(); TableSprAuto->Next()) {
            if (TableSprAutoid->AsString() == nameOrKey)
                byKey = TableSprAuto->RecNo();
            if (TableSprAutonameauto->AsString() == nameOrKey)
                byName.append(TableSprAuto->RecNo());
        }
    }
    if (byKey < 0 && byName.size() > 1)
        throw Error(QStringLiteral("%1 vehicles are named '%2': give the vehicle's number instead.")
                        .arg(byName.size())
                        .arg(nameOrKey));
    const int chosen = byKey >= 0 ? byKey : byName.value(0, -1);
    if (chosen < 0)
        throw Error(QStringLiteral("No vehicle is named or numbered '%1'.").arg(nameOrKey));
    TableSprAuto->First();
    TableSprAuto->MoveBy(chosen - 1);
}

void TDataModule1::refreshVehicleList(TADOQuery *query, int conditionLine)
{
    const QString id = TableSprAutoid->AsString();
    if (id.isEmpty())
        return;
    query->Close();
    query->SQL.Set(conditionLine, QStringLiteral("where IDAUTO = ") + id);
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
