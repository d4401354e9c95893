#include "data/ado_query.h"
#include "platform/errors.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

template <class Operation>
QString failureOf(Operation operation)
{
    try {
        operation();
    } catch (const Error &error) {
        return error.message();
    }
    return QStringLiteral("(no failure)");
}

struct Vehicles {
    LogBookFile file;
    VehicleTable vehicles{file.connection};
    TADOTable &table = vehicles.table;

    explicit Vehicles(const QStringList &names = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
    {
        file.addVehicles(names);
    }
};

TEST(DataSetOpen, BindingFailuresNameTheFieldAndLeaveTheDataSetClosed)
{
    struct Case {
        std::function<void(TADOTable &)> declare;
        QString text;
    };
    const std::vector<Case> cases = {
        {[](TADOTable &t) {
             t.AddField<TIntegerField>(QStringLiteral("mileage"))->DisplayLabel = QStringLiteral("Пробег");
         },
         QStringLiteral("TableSprAuto: Field 'Пробег' not found")},
        {[](TADOTable &t) { t.AddField<TIntegerField>(QStringLiteral("NAMEAUTO")); },
         QStringLiteral("TableSprAuto: Type mismatch for field 'NAMEAUTO', expecting: Integer actual: WideString")},
        {[](TADOTable &t) { t.AddField<TIntegerField>(QStringLiteral("ID")); },
         QStringLiteral("TableSprAuto: Type mismatch for field 'ID', expecting: Integer actual: AutoInc")},
        {[](TADOTable &t) { t.AddField<TAutoIncField>(QStringLiteral("copy"), fkCalculated); },
         QStringLiteral("TableSprAuto: Field 'copy' cannot be a calculated or lookup field")},
    };
    for (const Case &c : cases) {
        Vehicles v;
        c.declare(v.table);
        EXPECT_EQ(failureOf([&] { v.table.Open(); }), c.text);
        EXPECT_FALSE(v.table.Active());
        EXPECT_EQ(v.table.State(), dsInactive);
        EXPECT_TRUE(v.vehicles.nameauto->AsString().isEmpty());
    }
}

TEST(DataSetOpen, TextFieldTakesAShorterColumnSize)
{
    Vehicles v;
    v.vehicles.nameauto->Size = 1000;
    v.table.Open();
    EXPECT_EQ(v.vehicles.nameauto->Size, 255);
}

TEST(DataSetFields, LookupIgnoresCaseAndFailsWithTheNameAskedFor)
{
    Vehicles v;
    v.table.Open();
    EXPECT_EQ(v.table.FieldByName(QStringLiteral("NameAuto")), v.vehicles.nameauto);
    EXPECT_EQ(v.table.FindField(QStringLiteral("cnt")), nullptr);
    EXPECT_EQ(failureOf([&] { v.table.FieldByName(QStringLiteral("CNT")); }),
              QStringLiteral("TableSprAuto: Field 'CNT' not found"));
}

TEST(DataSetEditing, WriteRulesRefuseWithTheirTexts)
{
    Vehicles v;
    TStringField *calculated = v.table.AddField<TStringField>(QStringLiteral("title"), fkCalculated);
    EXPECT_EQ(failureOf([&] { v.table.Delete(); }),
              QStringLiteral("TableSprAuto: Cannot perform this operation on a closed dataset"));
    EXPECT_EQ(failureOf([&] { v.table.Next(); }),
              QStringLiteral("TableSprAuto: Cannot perform this operation on a closed dataset"));
    v.table.Open();
    EXPECT_EQ(failureOf([&] { v.vehicles.beginkm->SetAsInteger(1); }),
              QStringLiteral("TableSprAuto: Dataset not in edit or insert mode"));
    EXPECT_EQ(failureOf([&] { calculated->SetAsString(QStringLiteral("x")); }),
              QStringLiteral("TableSprAuto: Dataset not in edit or insert mode"));
    EXPECT_EQ(failureOf([&] { v.table.Post(); }), QStringLiteral("TableSprAuto: Dataset not in edit or insert mode"));
    v.table.Edit();
    EXPECT_EQ(failureOf([&] { v.vehicles.id->SetAsInteger(99); }), QStringLiteral("Field 'id' cannot be modified"));
    EXPECT_FALSE(v.table.Modified());
}

TEST(DataSetEditing, PostOfAnInsertedVehicleReadsBackTheKey)
{
    Vehicles v;
    TDataSource source;
    source.SetDataSet(&v.table);
    QStringList log;
    recordHandlers(source, log);
    v.table.Open();
    v.table.Next();  // B
    v.table.Insert();
    EXPECT_EQ(v.table.RecNo(), -1);
    EXPECT_FALSE(v.table.Modified());
    v.vehicles.nameauto->SetAsString(QStringLiteral("Новая"));
    v.vehicles.beginkm->SetAsString(QStringLiteral("1500"));
    EXPECT_TRUE(v.table.Modified());
    log.clear();
    v.table.Post();
    EXPECT_EQ(v.table.State(), dsBrowse);
    EXPECT_FALSE(v.table.Modified());
    EXPECT_EQ(v.vehicles.id->AsInteger(), 4);
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("Новая"));
    EXPECT_EQ(v.table.RecordCount(), 4);
    EXPECT_EQ(log.last(), QStringLiteral("OnDataChange(nil)"));
    // Inserted where it was inserted, and stored in the file at once.
    EXPECT_EQ(v.vehicles.names(),
              (QStringList{QStringLiteral("A"), QStringLiteral("Новая"), QStringLiteral("B"), QStringLiteral("C")}));
    VehicleTable other(v.file.connection);
    other.table.Open();
    other.table.Last();
    EXPECT_EQ(other.nameauto->AsString(), QStringLiteral("Новая"));
    EXPECT_EQ(other.beginkm->AsInteger(), 1500);
}

TEST(DataSetEditing, CancelRestoresStoredValuesAndThePreviousRecord)
{
    Vehicles v;
    v.table.Open();
    v.table.Next();
    v.table.Edit();
    v.vehicles.nameauto->SetAsString(QStringLiteral("X"));
    v.table.Cancel();
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("B"));
    v.table.Insert();
    v.vehicles.nameauto->SetAsString(QStringLiteral("Y"));
    v.table.Cancel();
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("B"));
    EXPECT_EQ(v.table.RecordCount(), 3);
    v.table.Insert();
    v.table.Delete();  // in insert state Delete cancels
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("B"));
    EXPECT_EQ(v.table.RecordCount(), 3);
}

TEST(DataSetEditing, RefusedPostKeepsStateAndValues)
{
    Vehicles v;
    v.table.Open();
    v.table.Edit();
    v.vehicles.nameauto->SetAsString(QStringLiteral("Z"));
    v.file.execute(QStringLiteral("DROP TABLE SPR_AUTO"));
    const QString failure = failureOf([&] { v.table.Post(); });
    EXPECT_NE(failure, QStringLiteral("(no failure)"));
    EXPECT_FALSE(failure.startsWith(QStringLiteral("TableSprAuto: ")));
    EXPECT_EQ(v.table.State(), dsEdit);
    EXPECT_TRUE(v.table.Modified());
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("Z"));
    v.table.Cancel();
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("A"));
}

TEST(DataSetDelete, CurrentRecordIsTheFollowingOrTheNewLast)
{
    Vehicles v({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    v.table.Open();
    v.table.Next();
    v.table.Delete();
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("C"));
    v.table.Last();
    v.table.Delete();
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("C"));
    EXPECT_EQ(v.table.RecNo(), 2);
    v.table.Delete();
    v.table.Delete();
    EXPECT_TRUE(v.table.Active());
    EXPECT_TRUE(v.table.IsEmpty());
    EXPECT_TRUE(v.table.Eof());
    EXPECT_EQ(v.table.RecordCount(), 0);
    EXPECT_EQ(failureOf([&] { v.table.Delete(); }),
              QStringLiteral("TableSprAuto: Cannot perform this operation on an empty dataset"));
    VehicleTable other(v.file.connection);
    other.table.Open();
    EXPECT_TRUE(other.table.IsEmpty());
}

TEST(DataSetMoving, EofAndBofFollowTheClassicWalk)
{
    Vehicles v;
    v.table.Open();
    EXPECT_TRUE(v.table.Bof());
    EXPECT_FALSE(v.table.Eof());
    EXPECT_EQ(v.vehicles.names(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(v.table.Eof());
    EXPECT_EQ(v.table.RecNo(), 3);
    EXPECT_EQ(v.table.MoveBy(-5), -2);
    EXPECT_TRUE(v.table.Bof());
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("A"));
}

TEST(DataSetMoving, BookmarksReturnToTheirRecord)
{
    Vehicles v;
    v.table.Open();
    v.table.Next();
    const TBookmark b = v.table.GetBookmark();
    v.table.Last();
    v.table.GotoBookmark(b);
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("B"));
    v.table.GotoBookmark({});
    EXPECT_EQ(v.vehicles.nameauto->AsString(), QStringLiteral("B"));
    v.table.Delete();
    EXPECT_EQ(failureOf([&] { v.table.GotoBookmark(b); }), QStringLiteral("TableSprAuto: Record not found"));
}

TEST(DataSetEditing, ReadOnlyResultRefusesEditAndInsert)
{
    Vehicles v;
    TADOQuery query;
    query.Name = QStringLiteral("QueryBegin");
    query.Connection = &v.file.connection;
    query.SQL.Add(QStringLiteral("select sum(beginkm) as km from SPR_AUTO"));
    query.Open();
    EXPECT_EQ(query.FieldByName(QStringLiteral("km"))->AsInteger(), 600);
    EXPECT_EQ(failureOf([&] { query.Edit(); }), QStringLiteral("QueryBegin: Cannot modify a read-only dataset"));
    EXPECT_EQ(failureOf([&] { query.Insert(); }), QStringLiteral("QueryBegin: Cannot modify a read-only dataset"));
    EXPECT_EQ(query.State(), dsBrowse);
}

}  // namespace
