#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "platform/errors.h"
#include "platform/regional_settings.h"
#include "report/expr/aggregate_list.h"
#include "report/expr/report_expressions.h"
#include "report/model/custom_engine.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/sources/db_dataset.h"
#include "tests/fixtures/idle_engine.h"
#include "tests/fixtures/temp_database.h"

#include <gtest/gtest.h>

using namespace vornak;
using vornak::testing::TempDatabase;

namespace {

// The band engine is built later; this stand-in gives expressions what they read of it: the
// band being printed, the row number and the values of its aggregate list.
class AggregateEngine : public vornak::testing::IdleEngine {
public:
    explicit AggregateEngine(TfrxReport &report)
        : IdleEngine(report),
          aggregates(report)
    {
    }

    TfrxAggregateList aggregates;

    Variant GetAggregateValue(const QString &name, const QString &expression, TfrxBand *band, int flags) override
    {
        return aggregates.GetValue(CurBand, name, expression, band, flags);
    }
};

// A log book whose three expenses have the sums 10, none and 2.5, read by the report data source
// "Source1"; "Begin" reads the mileage total of a vehicle without readings (Null), "Auto" the
// vehicles (none). The report page has MasterData1 over Source1 with its footer Footer1. Text
// objects are printed the way the engine prints them (BeforePrint, GetData, AfterPrint).
struct ExpenseReport {
    TempDatabase file;
    TADOConnection connection;
    TADOQuery expenses, mileage, vehicles;
    TfrxDBDataset source1, begin, autoSource;
    TfrxReport report;
    ReportExpressions &expressions = ReportExpressions::install(report);
    AggregateEngine *engine = new AggregateEngine(report);
    TfrxAggregateList &aggregates = engine->aggregates;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxMasterData *masterData = new TfrxMasterData(page);
    TfrxFooter *footer = new TfrxFooter(page);
    const ScopedRegionalSettings russian{RegionalSettings::russian()};

    ExpenseReport()
    {
        connection.ConnectionString = file.absoluteConnectionString();
        for (const char *summa : {"10", "NULL", "2.5"})
            connection.Engine().execute(
                QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, SUMMA, OPISANIE) VALUES (1, 1, %1, 'x')")
                    .arg(QLatin1String(summa)));
        bind(expenses, source1, "Source1", "SELECT SUMMA AS s2, OPISANIE FROM DOC_EXPENSE ORDER BY ID");
        bind(mileage, begin, "Begin", "SELECT SUM(tekprobeg) AS km1 FROM DOC_MILEAGE WHERE idauto = 1");
        bind(vehicles, autoSource, "Auto", "SELECT nameauto FROM SPR_AUTO");
        masterData->SetName(QStringLiteral("MasterData1"));
        masterData->SetDataSet(&source1);
        masterData->FFooter = footer;
        footer->SetName(QStringLiteral("Footer1"));
        page->FSubBands = {masterData};
        report.SetEngine(std::unique_ptr<TfrxCustomEngine>(engine));
        engine->CurLine = 7;
    }

    void bind(TADOQuery &query, TfrxDBDataset &source, const char *userName, const char *sql)
    {
        query.Connection = &connection;
        query.SQL.Add(QString::fromLatin1(sql));
        source.SetName(QStringLiteral("frx") + QLatin1String(userName));
        source.SetUserName(QLatin1String(userName));
        source.SetDataSet(&query);
        report.Datasets().Add(&source);
    }

    TfrxMemoView *memo(TfrxBand *band, const QString &name, const QString &text)
    {
        auto *memo = new TfrxMemoView(band);
        memo->SetName(name);
        memo->SetText(text);
        return memo;
    }

    // Prepares the script and opens the data sources, as a run starts.
    void start()
    {
        ASSERT_TRUE(report.PrepareScript()) << report.Errors().join(u'\n').toStdString();
        report.RunScriptMainBlock();
        report.Datasets().Initialize();
        aggregates.Clear();
        aggregates.AddItems(*page);
    }

    QString print(TfrxBand *band, TfrxMemoView *memo)
    {
        engine->CurBand = band;
        report.CurObject = memo->Name();
        memo->BeforePrint();
        memo->GetData();
        const QString text = memo->Text();
        memo->AfterPrint();
        aggregates.Reset(*band);
        return text;
    }

    // Walks Source1 as MasterData1 does, printing `row` for each record; then prints `total`.
    QStringList walk(TfrxMemoView *row, TfrxMemoView *total)
    {
        QStringList printed;
        for (source1.First(); !source1.Eof(); source1.Next()) {
            if (row)
                printed << print(masterData, row);
            aggregates.AddValue(*masterData);
        }
        printed << print(footer, total);
        return printed;
    }
};

}  // namespace

TEST(ReportExpressions, AggregatesOverRowsWithNull)
{
    const struct {
        bool convertNulls;
        QString call;
        QString expected;
    } cases[] = {
        {true, QStringLiteral("SUM(<Source1.\"s2\">,MasterData1)"), QStringLiteral("12,5")},
        {true, QStringLiteral("AVG(<Source1.\"s2\">,MasterData1)"), QStringLiteral("4,16666666666667")},
        {true, QStringLiteral("COUNT(MasterData1)"), QStringLiteral("3")},
        {true, QStringLiteral("MIN(<Source1.\"s2\">)"), QStringLiteral("0")},
        {false, QStringLiteral("SUM(<Source1.\"s2\">,MasterData1)"), QStringLiteral("12,5")},
        {false, QStringLiteral("AVG(<Source1.\"s2\">,MasterData1)"), QStringLiteral("6,25")},
        {false, QStringLiteral("COUNT(MasterData1)"), QStringLiteral("3")},
        {false, QStringLiteral("MIN(<Source1.\"s2\">, MasterData1, 0)"), QStringLiteral("2,5")},
        {false, QStringLiteral("MAX(<Source1.\"s2\">) * 2"), QStringLiteral("20")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.call.toStdString());
        ExpenseReport r;
        r.report.EngineOptions.ConvertNulls = c.convertNulls;
        TfrxMemoView *total = r.memo(r.footer, QStringLiteral("Memo9"), u'[' + c.call + u']');
        r.start();
        ASSERT_EQ(r.aggregates.Count(), 1);
        EXPECT_EQ(r.walk(nullptr, total), QStringList{c.expected});
        EXPECT_EQ(total->Text(), u'[' + c.call + u']');  // the template text is back
        EXPECT_TRUE(r.report.Errors().isEmpty()) << r.report.Errors().join(u'\n').toStdString();
    }
}

TEST(ReportExpressions, AggregateOverNoRowsAndOutsideItsBand)
{
    ExpenseReport r;
    r.expenses.SQL.Clear();
    r.expenses.SQL.Add(QStringLiteral("SELECT SUMMA AS s2 FROM DOC_EXPENSE WHERE ID < 0"));
    TfrxMemoView *total = r.memo(r.footer, QStringLiteral("Memo9"), QStringLiteral("[MIN(<Source1.\"s2\">)]"));
    TfrxMemoView *row = r.memo(r.masterData, QStringLiteral("Memo1"), QStringLiteral("[SUM(<Source1.\"s2\">)]"));
    r.start();
    EXPECT_EQ(r.walk(nullptr, total), QStringList{QStringLiteral("0")});
    // A call in a band that is not scanned for totals has no item: it prints as nothing.
    EXPECT_EQ(r.print(r.masterData, row), QString());
}

TEST(ReportExpressions, DataReferencesAndNames)
{
    ExpenseReport r;
    r.report.SetScriptText({QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
                            QStringLiteral("str := 'за [январь]';"), QStringLiteral("end.")});
    r.report.Variables().SetVariable(QStringLiteral("Rate"), Variant(QStringLiteral("2 * 3")));
    TfrxBand *title = new TfrxReportTitle(r.page);
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {QStringLiteral("[Begin.\"km1\"]"), QStringLiteral("0")},
        {QStringLiteral("Карточка автомобиля [Auto.\"nameauto\"]"), QStringLiteral("Карточка автомобиля ")},
        {QStringLiteral("Период [str]"), QStringLiteral("Период за [январь]")},
        {QStringLiteral("[Rate] [Line] [<Rate> + 1]"), QStringLiteral("6 7 7")},
        {QStringLiteral("A[1 + 1]B[Rate]C"), QStringLiteral("A2B6C")},
        {QStringLiteral("[TotalPages#] [CopyName#]"), QStringLiteral("[TotalPages#] [CopyName#]")},
        {QStringLiteral("[3.14159 #n%2.2f] [3.14159 #n%2,2f]"), QStringLiteral("3.14 3,14")},
        {QStringLiteral("[IIF(<Begin.\"km1\"> = 0, 'нет', 'есть')]"), QStringLiteral("нет")},
        {QStringLiteral("no expressions here"), QStringLiteral("no expressions here")},
    };
    r.start();
    r.mileage.Open();
    for (const auto &c : cases) {
        TfrxMemoView *memo = r.memo(title, QStringLiteral("Memo%1").arg(title->Objects().size() + 1), c.text);
        EXPECT_EQ(r.print(title, memo), c.expected) << c.text.toStdString();
    }
    EXPECT_TRUE(r.report.Errors().isEmpty()) << r.report.Errors().join(u'\n').toStdString();
}

TEST(ReportExpressions, DataFieldObjects)
{
    ExpenseReport r;
    TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo1"), QStringLiteral("[not evaluated]"));
    memo->SetDataSet(&r.source1);
    memo->SetDataField(QStringLiteral("s2"));
    memo->SetHideZeros(true);
    r.start();
    QStringList printed;
    for (r.source1.First(); !r.source1.Eof(); r.source1.Next())
        printed << r.print(r.masterData, memo);
    EXPECT_EQ(printed, (QStringList{QStringLiteral("10"), QString(), QStringLiteral("2,5")}));

    memo->DisplayFormat() = TfrxFormat{fkNumeric, QStringLiteral("%2.2f"), {}, {}};
    r.source1.First();
    EXPECT_EQ(r.print(r.masterData, memo), QStringLiteral("10,00"));
}

TEST(ReportExpressions, OneCompilePerTextPerPreparation)
{
    ExpenseReport r;
    TfrxMemoView *a = r.memo(r.masterData, QStringLiteral("Memo1"), QStringLiteral("[<Source1.\"s2\"> * 2]"));
    TfrxMemoView *b = r.memo(r.masterData, QStringLiteral("Memo2"), QStringLiteral("[<source1.\"s2\"> * 2]"));
    for (int preparation = 0; preparation < 3; ++preparation) {
        r.start();
        r.source1.First();
        EXPECT_EQ(r.print(r.masterData, a), QStringLiteral("20"));
        EXPECT_EQ(r.print(r.masterData, b), QStringLiteral("20"));
        EXPECT_EQ(r.expressions.Cache().Count(), 1);
        r.report.Datasets().Finalize();
    }
}

TEST(ReportExpressions, ErrorsNameTheObject)
{
    // A field the data source lacks is Null, which prints as 0 (a name that is not a field counts
    // as numeric).
    const struct {
        QString text;
        bool raises;
        QString error;
        QString printed;
    } cases[] = {
        {QStringLiteral("[1 +]"), true, QStringLiteral("Memo5: Ошибка в выражении '1 +': Expression expected"), {}},
        {QStringLiteral("[Nothing + 1]"),
         true,
         QStringLiteral("Memo5: Ошибка в выражении 'Nothing + 1': Неопределенный идентификатор: 'Nothing'"),
         {}},
        {QStringLiteral("[1 / 0]"), true, QStringLiteral("Memo5: Division by zero"), {}},
        {QStringLiteral("an empty [] expression"),
         true,
         QStringLiteral("Memo5: Ошибка в выражении '': Expression expected"),
         {}},
        {QStringLiteral("[<Nothing> + 1]"), false, QStringLiteral("Неизвестная переменная или поле БД: Nothing"),
         QString()},
        {QStringLiteral("[<Source1.\"none\">]"), false, QStringLiteral("Memo5: Поле не найдено: Source1.\"none\""),
         QStringLiteral("0")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        ExpenseReport r;
        TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo5"), c.text);
        r.start();
        r.source1.First();
        if (c.raises)
            EXPECT_THROW(r.print(r.masterData, memo), EngineError);
        else
            EXPECT_EQ(r.print(r.masterData, memo), c.printed);
        EXPECT_EQ(r.report.Errors(), QStringList{c.error});
    }
}

TEST(ReportExpressions, VariablesNamingEachOtherFailCleanly)
{
    ExpenseReport r;
    r.report.Variables().SetVariable(QStringLiteral("x"), Variant(QStringLiteral("y")));
    r.report.Variables().SetVariable(QStringLiteral("y"), Variant(QStringLiteral("x")));
    TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo5"), QStringLiteral("[x]"));
    r.start();
    EXPECT_THROW(r.print(r.masterData, memo), EngineError);
    EXPECT_EQ(r.report.Errors(), QStringList{QStringLiteral("Memo5: Слишком глубокая рекурсия")});
}

TEST(ReportExpressions, DivisionByZeroIgnoredOnlyWhenAsked)
{
    ExpenseReport r;
    r.report.EngineOptions.IgnoreDevByZero = true;
    TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo5"), QStringLiteral("a[1 / 0]b"));
    r.start();
    EXPECT_EQ(r.print(r.masterData, memo), QStringLiteral("ab"));
    EXPECT_TRUE(r.report.Errors().isEmpty());
}

TEST(ReportExpressions, HighlightAndSuppressRepeated)
{
    ExpenseReport r;
    TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo1"), QStringLiteral("[<Source1.\"OPISANIE\">]"));
    memo->Highlight().Condition = QStringLiteral("<Source1.\"s2\"> > 5");
    memo->SetSuppressRepeated(true);
    r.start();
    QStringList printed;
    QList<bool> highlighted;
    for (r.source1.First(); !r.source1.Eof(); r.source1.Next()) {
        printed << r.print(r.masterData, memo);
        highlighted << memo->Highlight().Active;
    }
    EXPECT_EQ(printed, (QStringList{QStringLiteral("x"), QString(), QString()}));
    EXPECT_EQ(highlighted, (QList<bool>{true, false, false}));
}

TEST(ReportExpressions, AddItemsFindsTheCallsOfTotalBands)
{
    ExpenseReport r;
    r.report.Variables().SetVariable(QStringLiteral("Total"), Variant(QStringLiteral("SUM(<Source1.\"s2\">)")));
    auto *child = new TfrxChild(r.page);
    r.footer->SetChild(child);
    auto *pageFooter = new TfrxPageFooter(r.page);
    pageFooter->SetName(QStringLiteral("PageFooter1"));
    r.memo(r.footer, QStringLiteral("Memo1"), QStringLiteral("[SUM(<Source1.\"s2\">,MasterData1,3)] [Source1.\"s2\"]"));
    r.memo(r.footer, QStringLiteral("Memo2"), QStringLiteral("[Total]"));
    r.memo(child, QStringLiteral("Memo3"), QStringLiteral("[COUNT(NoSuchBand)]"));
    r.memo(pageFooter, QStringLiteral("Memo4"), QStringLiteral("[ MAX( <Source1.\"s2\"> ) ]"));
    r.memo(r.masterData, QStringLiteral("Memo5"), QStringLiteral("[SUM(<Source1.\"s2\">)]"));
    r.memo(r.footer, QStringLiteral("Memo6"), QStringLiteral("[AVG(<Source1.\"s2\">)]"))->SetAllowExpressions(false);
    r.start();

    const struct {
        TfrxAggregateFunction function;
        QString expression;
        TfrxBand *parentBand;
        bool countInvisible;
        bool keepOnReset;
        QString memoName;
        QString callText;
    } expected[] = {
        {agSum, QStringLiteral("<Source1.\"s2\">"), r.footer, true, true, QStringLiteral("Memo1"),
         QStringLiteral("SUM(<Source1.\"s2\">,MasterData1,3)")},
        {agSum, QStringLiteral("<Source1.\"s2\">"), r.footer, false, false, QStringLiteral("Memo2"),
         QStringLiteral("SUM(<Source1.\"s2\">)")},
        {agCount, QString(), child, false, false, QStringLiteral("Memo3"), QStringLiteral("COUNT(NoSuchBand)")},
        {agMax, QStringLiteral("<Source1.\"s2\">"), pageFooter, false, false, QStringLiteral("Memo4"),
         QStringLiteral("MAX( <Source1.\"s2\"> )")},
    };
    ASSERT_EQ(r.aggregates.Count(), int(std::size(expected)));
    for (int i = 0; i < r.aggregates.Count(); ++i) {
        const TfrxAggregateItem &item = r.aggregates.Items(i);
        const auto &e = expected[i];
        SCOPED_TRACE(e.callText.toStdString());
        EXPECT_EQ(item.Function, e.function);
        EXPECT_EQ(item.Expression, e.expression);
        EXPECT_EQ(item.DataBand, r.masterData);
        EXPECT_EQ(item.ParentBand, e.parentBand);
        EXPECT_EQ(item.IsPageFooter, e.parentBand == pageFooter);
        EXPECT_EQ(item.CountInvisible, e.countInvisible);
        EXPECT_EQ(item.KeepOnReset, e.keepOnReset);
        EXPECT_EQ(item.MemoName, e.memoName);
        EXPECT_EQ(item.CallText, e.callText);
    }
}

TEST(ReportExpressions, TagStrAndUrlHoldValuesWhilePrinted)
{
    ExpenseReport r;
    TfrxMemoView *memo = r.memo(r.masterData, QStringLiteral("Memo1"), QStringLiteral("text"));
    memo->SetTagStr(QStringLiteral("row [Line]"));
    memo->SetURL(QStringLiteral("http://host/[<Source1.\"s2\"> * 2]"));
    r.start();
    r.source1.First();
    r.engine->CurBand = r.masterData;
    memo->BeforePrint();
    memo->GetData();
    EXPECT_EQ(memo->TagStr(), QStringLiteral("row 7"));
    EXPECT_EQ(memo->URL(), QStringLiteral("http://host/20"));
    memo->AfterPrint();
    EXPECT_EQ(memo->TagStr(), QStringLiteral("row [Line]"));
}
