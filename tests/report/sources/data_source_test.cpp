#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "data/data_source.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "report/model/class_registry.h"
#include "report/model/report.h"
#include "report/sources/db_dataset.h"
#include "tests/fixtures/temp_database.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vornak;
using vornak::testing::TempDatabase;

namespace {

// A log book with ten expense types ("Type 1" to "Type 10") and a report data source "Types"
// over a query of them, listed in a report.
struct ExpenseTypes {
    TempDatabase file;
    TADOConnection connection;
    TADOQuery query;
    TfrxDBDataset source;
    TfrxReport report;

    ExpenseTypes()
    {
        connection.ConnectionString = file.absoluteConnectionString();
        for (int i = 1; i <= 10; ++i)
            connection.Engine().execute(
                QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Type %1')").arg(i));
        query.Name = QStringLiteral("QueryTypes");
        query.Connection = &connection;
        setSql(QStringLiteral("SELECT ID, OPISANIE FROM SYS_TYPE_EXPENSE ORDER BY ID"));
        source.SetName(QStringLiteral("frxDBTypes"));
        source.SetUserName(QStringLiteral("Types"));
        source.SetDataSet(&query);
        report.Datasets().Add(&source);
        report.CurObject = QStringLiteral("Memo3");
    }

    void setSql(const QString &sql)
    {
        query.SQL.Clear();
        query.SQL.Add(sql);
    }

    // Runs the data source like a data band: the names of the records it yields.
    QStringList walk()
    {
        QStringList names;
        report.Datasets().Initialize();
        source.First();
        while (!source.Eof()) {
            names << source.Value(QStringLiteral("OPISANIE")).toString();
            source.Next();
        }
        report.Datasets().Finalize();
        return names;
    }
};

QStringList types(int from, int to)
{
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << QStringLiteral("Type %1").arg(i);
    return names;
}

}  // namespace

TEST(ReportDataSource, RangesOverARealQuery)
{
    const struct {
        TfrxRangeBegin begin;
        TfrxRangeEnd end;
        int count;
        QStringList expected;
    } cases[] = {
        {rbFirst, reLast, 0, types(1, 10)},     {rbFirst, reCount, 3, types(1, 3)},
        {rbCurrent, reLast, 0, types(4, 10)},   {rbFirst, reCurrent, 0, types(1, 4)},
        {rbCurrent, reCurrent, 0, types(4, 4)}, {rbCurrent, reCount, 2, types(4, 5)},
    };
    for (const auto &c : cases) {
        ExpenseTypes t;
        t.query.Open();
        t.query.MoveBy(3);  // the fourth record is current
        t.source.SetRangeBegin(c.begin);
        t.source.SetRangeEnd(c.end);
        t.source.SetRangeEndCount(c.count);
        EXPECT_EQ(t.walk(), c.expected) << c.begin << " " << c.end;
        const bool bookmarked = c.begin == rbCurrent || c.end == reCurrent;
        // With a start bookmark the dataset goes back to the record current at the start.
        if (bookmarked) {
            EXPECT_EQ(t.query.FieldByName(QStringLiteral("OPISANIE"))->AsString(), QStringLiteral("Type 4"));
        }
        EXPECT_TRUE(t.report.Errors().isEmpty());
    }
}

TEST(ReportDataSource, OpensAClosedDatasetAndClosesOnlyWhenAsked)
{
    ExpenseTypes t;
    ASSERT_FALSE(t.query.Active());
    EXPECT_EQ(t.walk().size(), 10);
    EXPECT_TRUE(t.query.Active());  // CloseDataSource False: left open, at its end
    EXPECT_TRUE(t.query.Eof());
    EXPECT_EQ(t.source.RecordCount(), 10);

    t.source.SetCloseDataSource(true);
    EXPECT_EQ(t.walk().size(), 10);
    EXPECT_FALSE(t.query.Active());
}

TEST(ReportDataSource, EmptyDatasetEndsAtOnce)
{
    ExpenseTypes t;
    t.setSql(QStringLiteral("SELECT ID, OPISANIE FROM SYS_TYPE_EXPENSE WHERE ID < 0"));
    t.report.Datasets().Initialize();
    t.source.First();
    EXPECT_TRUE(t.source.Eof());
    // Read at its current record without being walked: Null, an empty text, no error.
    EXPECT_TRUE(t.source.Value(QStringLiteral("OPISANIE")).isNull());
    EXPECT_EQ(t.source.DisplayText(QStringLiteral("OPISANIE")), QString());
    EXPECT_EQ(t.source.DisplayText(QStringLiteral("ID")), QString());
    t.report.Datasets().Finalize();
    EXPECT_TRUE(t.report.Errors().isEmpty());
}

TEST(ReportDataSource, NullAggregateGivesNull)
{
    ExpenseTypes t;
    t.setSql(QStringLiteral("SELECT Sum(SUMMA) AS sm FROM DOC_EXPENSE WHERE IDAUTO = 1"));
    t.report.Datasets().Initialize();
    EXPECT_TRUE(t.source.Value(QStringLiteral("sm")).isNull());
    EXPECT_TRUE(t.source.Value(QStringLiteral("SM")).isNull());
    EXPECT_EQ(t.source.DisplayText(QStringLiteral("sm")), QString());
    t.report.Datasets().Finalize();
    EXPECT_TRUE(t.report.Errors().isEmpty());
}

TEST(ReportDataSource, ValuesTextsAndFieldTypes)
{
    ExpenseTypes t;
    t.report.Datasets().Initialize();
    t.source.First();
    t.source.Next();
    EXPECT_EQ(t.source.RecNo(), 1);
    EXPECT_EQ(t.source.Value(QStringLiteral("opisanie")), Variant(QStringLiteral("Type 2")));
    EXPECT_EQ(t.source.Value(QStringLiteral("id")).toInt(), 2);
    EXPECT_EQ(t.source.DisplayText(QStringLiteral("ID")), QStringLiteral("2"));
    EXPECT_EQ(t.source.FieldType(QStringLiteral("OPISANIE")), fftString);
    EXPECT_EQ(t.source.FieldType(QStringLiteral("ID")), fftNumeric);
    EXPECT_EQ(t.source.FieldType(QStringLiteral("nothing")), fftNumeric);
    EXPECT_EQ(t.source.DisplayWidth(QStringLiteral("nothing")), 10);
    EXPECT_EQ(t.source.DisplayWidth(QStringLiteral("OPISANIE")),
              t.query.FieldByName(QStringLiteral("OPISANIE"))->DisplayWidth());
    QStringList fields;
    t.source.GetFieldList(fields);
    EXPECT_EQ(fields, (QStringList{QStringLiteral("ID"), QStringLiteral("OPISANIE")}));
    EXPECT_EQ(t.source.FieldsCount(), 2);
    EXPECT_TRUE(t.source.HasField(QStringLiteral("opisanie")));
    t.source.Prior();
    EXPECT_EQ(t.source.RecNo(), 0);
    EXPECT_EQ(t.source.Value(QStringLiteral("OPISANIE")), Variant(QStringLiteral("Type 1")));
    t.report.Datasets().Finalize();
}

TEST(ReportDataSource, UnknownFieldIsReportedOnce)
{
    ExpenseTypes t;
    t.report.Datasets().Initialize();
    t.source.First();
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(t.source.Value(QStringLiteral("km1")).isNull());
        EXPECT_EQ(t.source.DisplayText(QStringLiteral("km1")), QStringLiteral("Поле не найдено: Types.\"km1\""));
        t.source.Next();
    }
    t.report.Datasets().Finalize();
    ASSERT_EQ(t.report.Errors().size(), 1);
    EXPECT_EQ(t.report.Errors()[0], QStringLiteral("Memo3: Поле не найдено: Types.\"km1\""));
}

TEST(ReportDataSource, ClosedDatasetOutsideARunShowsTheReference)
{
    ExpenseTypes t;
    TfrxDBDataset other;
    other.SetUserName(QStringLiteral("Other"));
    EXPECT_EQ(other.DisplayText(QStringLiteral("x")), QStringLiteral("Other.\"x\""));
}

TEST(ReportDataSource, WithoutADatasetInitializeFails)
{
    TfrxDBDataset source;
    source.SetName(QStringLiteral("frxDBLost"));
    try {
        source.Initialize();
        FAIL();
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Компонент frxDBLost не подключен к данным"));
    }
}

TEST(ReportDataSource, ThroughADataSourceAndChainingTheDatasetHandlers)
{
    ExpenseTypes t;
    TDataSource dataSource;
    dataSource.SetDataSet(&t.query);
    t.source.SetDataSource(&dataSource);
    EXPECT_EQ(t.source.DataSet(), nullptr);
    EXPECT_EQ(t.source.GetDataSet(), &t.query);

    int afterOpen = 0, beforeClose = 0;
    t.query.AfterOpen = [&](TDataSet *) { ++afterOpen; };
    t.query.BeforeClose = [&](TDataSet *) { ++beforeClose; };
    t.source.SetCloseDataSource(true);
    EXPECT_EQ(t.walk().size(), 10);
    EXPECT_EQ(afterOpen, 1);
    EXPECT_EQ(beforeClose, 1);
    // The dataset's own handlers are back after the run.
    t.query.Open();
    EXPECT_EQ(afterOpen, 2);

    t.source.SetDataSet(&t.query);
    EXPECT_EQ(t.source.DataSource(), nullptr);
}

TEST(ReportDataSource, FieldAliases)
{
    ExpenseTypes t;
    t.source.SetFieldAliases({QStringLiteral("-ID=Key"), QStringLiteral("OPISANIE=Name")});
    t.report.Datasets().Initialize();
    t.source.First();
    QStringList fields;
    t.source.GetFieldList(fields);
    EXPECT_EQ(fields, QStringList{QStringLiteral("Name")});
    EXPECT_EQ(t.source.Value(QStringLiteral("name")), Variant(QStringLiteral("Type 1")));
    EXPECT_TRUE(t.source.Value(QStringLiteral("OPISANIE")).isNull());
    // Type and width follow the alias too; a hidden field is not there.
    EXPECT_EQ(t.source.FieldType(QStringLiteral("Name")), fftString);
    EXPECT_EQ(t.source.DisplayWidth(QStringLiteral("Name")),
              t.query.FieldByName(QStringLiteral("OPISANIE"))->DisplayWidth());
    EXPECT_NE(t.source.DisplayWidth(QStringLiteral("Name")), 10);
    EXPECT_FALSE(t.source.IsBlobField(QStringLiteral("Name")));
    EXPECT_EQ(t.source.FieldType(QStringLiteral("OPISANIE")), fftNumeric);
    t.report.Datasets().Finalize();
    EXPECT_EQ(t.report.Errors().size(), 1);
}

TEST(ReportDataSource, NamesAndLookup)
{
    ExpenseTypes t;
    EXPECT_THROW(t.source.SetUserName(QStringLiteral("  ")), EngineError);
    EXPECT_EQ(t.source.UserName(), QStringLiteral("Types"));

    TfrxDBDataset follower;
    follower.SetName(QStringLiteral("frxDBFirst"));
    EXPECT_EQ(follower.UserName(), QStringLiteral("frxDBFirst"));
    follower.SetName(QStringLiteral("frxDBSecond"));
    EXPECT_EQ(follower.UserName(), QStringLiteral("frxDBSecond"));
    follower.SetUserName(QStringLiteral("Fixed"));
    follower.SetName(QStringLiteral("frxDBThird"));
    EXPECT_EQ(follower.UserName(), QStringLiteral("Fixed"));

    EXPECT_EQ(t.report.GetDataset(QStringLiteral("types")), &t.source);
    EXPECT_EQ(t.report.GetDataset(QStringLiteral("Fixed")), nullptr);  // not in the report's list
    EXPECT_EQ(t.report.GetAlias(&follower), QStringLiteral("(компонент не включен в Report.DataSets)"));
    EXPECT_EQ(t.report.GetAlias(nullptr), QString());
    EXPECT_TRUE(TfrxDataSet::GlobalList().contains(&follower));

    // A data set name given to a report item is looked up in the global list.
    TfrxDataSetItem &item = t.report.Datasets().Add();
    item.SetDataSetName(QStringLiteral("fixed"));
    EXPECT_EQ(item.DataSet(), &follower);
    EXPECT_EQ(item.DataSetName(), QStringLiteral("Fixed"));
    item.SetDataSetName(QString());
    EXPECT_EQ(item.DataSet(), nullptr);
    EXPECT_FALSE(t.report.CheckDataSets());
    EXPECT_EQ(t.report.Errors(), QStringList{QStringLiteral("Набор данных \"\" не найден")});
}

// The data source classes register themselves with the model's class registry.
TEST(ReportDataSource, ClassesAreRegisteredFromTheirFolder)
{
    std::unique_ptr<TfrxComponent> created(frxCreateComponent(QStringLiteral("TfrxDBDataset"), nullptr));
    ASSERT_NE(dynamic_cast<TfrxDBDataset *>(created.get()), nullptr);
    EXPECT_EQ(frxParentClassName(QStringLiteral("TfrxDBDataset")), QStringLiteral("TfrxCustomDBDataSet"));
    EXPECT_TRUE(created->inheritsScriptClass(QStringLiteral("TfrxDataSet")));
    EXPECT_TRUE(created->inheritsScriptClass(QStringLiteral("TfrxDialogComponent")));
    EXPECT_EQ(frxCreateComponent(QStringLiteral("TfrxCustomDBDataSet"), nullptr), nullptr);
}
