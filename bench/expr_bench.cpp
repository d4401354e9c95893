// Text expressions against peers measured in the same run: one Calc of a data reference against
// reading the same field's display text from the report data source directly, and one compiled
// expression run through Calc against the same expression written in C++ over the same Get
// callback and operators.
#include "bench/bench_support.h"
#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "report/expr/report_expressions.h"
#include "report/model/report.h"
#include "report/script/variant_ops.h"
#include "report/sources/db_dataset.h"
#include "tools/log_book_schema.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vornak;

namespace {

const QString reference = QStringLiteral("<Source1.\"s2\">");
const QString expression = QStringLiteral("<Source1.\"s2\"> * 2 + 7");

// A log book with one expense of 1234.5 and a prepared report whose data source "Source1" reads
// it, positioned on that record.
struct ExpenseReport {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    TADOConnection connection;
    TADOQuery query;
    TfrxDBDataset source;
    TfrxReport report;
    ReportExpressions &expressions = ReportExpressions::install(report);

    ExpenseReport()
    {
        const QString path = dir.filePath(log_book::fileName);
        log_book::create(path);
        connection.ConnectionString = log_book::connectionString(path);
        connection.Engine().execute(
            QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, SUMMA) VALUES (1, 1, 1234.5)"));
        query.Connection = &connection;
        query.SQL.Add(QStringLiteral("SELECT SUMMA AS s2 FROM DOC_EXPENSE"));
        source.SetName(QStringLiteral("frxSource1"));
        source.SetUserName(QStringLiteral("Source1"));
        source.SetDataSet(&query);
        report.Datasets().Add(&source);
        report.PrepareScript();
        report.Datasets().Initialize();
        source.First();
    }
};

ExpenseReport &expenseReport()
{
    static ExpenseReport instance;
    return instance;
}

void check(benchmark::State &state, const Variant &value, double expected)
{
    if (value.toDouble() != expected)
        state.SkipWithError("wrong value");
}

void BM_CalcReference_Expr(benchmark::State &state)
{
    ExpenseReport &r = expenseReport();
    for (auto _ : state)
        benchmark::DoNotOptimize(r.expressions.Calc(reference));
    check(state, r.expressions.Calc(reference), 1234.5);
}
BENCHMARK(BM_CalcReference_Expr)->Repetitions(5);

void BM_CalcReference_Plain(benchmark::State &state)
{
    ExpenseReport &r = expenseReport();
    const QString field = QStringLiteral("s2");
    for (auto _ : state)
        benchmark::DoNotOptimize(r.source.DisplayText(field));
}
BENCHMARK(BM_CalcReference_Plain)->Repetitions(5);

void BM_CompiledExpression_Expr(benchmark::State &state)
{
    ExpenseReport &r = expenseReport();
    for (auto _ : state)
        benchmark::DoNotOptimize(r.expressions.Calc(expression));
    check(state, r.expressions.Calc(expression), 2476);
}
BENCHMARK(BM_CompiledExpression_Expr)->Repetitions(5);

void BM_CompiledExpression_Plain(benchmark::State &state)
{
    ExpenseReport &r = expenseReport();
    const ScriptCallback &get = r.report.ScriptNames.get;
    const QString name = QStringLiteral("Get");
    const QString argument = QStringLiteral("Source1.\"s2\"");
    Variant value;
    for (auto _ : state) {
        value = applyOperator(VariantOperator::Add,
                              applyOperator(VariantOperator::Multiply, get(name, {Variant(argument)}), Variant(2)),
                              Variant(7));
        benchmark::DoNotOptimize(value);
    }
    check(state, value, 2476);
}
BENCHMARK(BM_CompiledExpression_Plain)->Repetitions(5);

}  // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv, [] { expenseReport(); });
}
