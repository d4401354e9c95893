// The script engine on the work the report gives it: compiling expression functions in an
// expression script below the report's script, and calling one compiled expression again and
// again. Peers in the same run: the same expression written in C++ over the same callback and
// operators (for running), and compiling a regular expression of the same text (for compiling).
#include "report/script/script.h"
#include "report/script/variant_ops.h"

#include <benchmark/benchmark.h>
#include <QRegularExpression>

using namespace vornak;

namespace {

QString expressionFunction(int number)
{
    return QStringLiteral("function fr3f%1: Variant; begin Result := <Source1.\"s%2\"> * 2 + 7 end; begin end.")
        .arg(number)
        .arg(number);
}

Variant getField(const QString &, const QList<Variant> &arguments)
{
    return Variant(qint32(arguments.front().toString().size()));
}

struct Scripts {
    TfsScript report;
    TfsScript expressions{&report};
    Scripts() { report.AddMethod(QStringLiteral("function Get(Name: String): Variant"), getField); }
};

constexpr int expressionsPerPreparation = 1000;

void CompileExpression(benchmark::State &state)
{
    Scripts scripts;
    QStringList texts;
    for (int i = 0; i < expressionsPerPreparation; ++i)
        texts.append(expressionFunction(i));
    int next = 0;
    for (auto _ : state) {
        if (next == expressionsPerPreparation) {
            state.PauseTiming();
            scripts.expressions.Clear();
            next = 0;
            state.ResumeTiming();
        }
        scripts.expressions.SetText(texts[next++]);
        if (!scripts.expressions.Compile())
            state.SkipWithError(scripts.expressions.ErrorMsg().toStdString().c_str());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CompileExpression)->Iterations(expressionsPerPreparation)->Repetitions(5)->ReportAggregatesOnly(true);

void CompileRegularExpressionPeer(benchmark::State &state)
{
    int next = 0;
    for (auto _ : state) {
        QRegularExpression pattern(QStringLiteral("<Source1\\.\"s%1\">\\s*\\*\\s*2\\s*\\+\\s*7").arg(next++));
        pattern.optimize();
        benchmark::DoNotOptimize(pattern.match(expressionFunction(next)).hasMatch());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CompileRegularExpressionPeer)
    ->Iterations(expressionsPerPreparation)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void RunExpression(benchmark::State &state)
{
    Scripts scripts;
    scripts.expressions.SetText(expressionFunction(0));
    scripts.expressions.Compile();
    ScriptProcedure *function = scripts.expressions.FindProcedure(QStringLiteral("fr3f0"));
    for (auto _ : state)
        benchmark::DoNotOptimize(function->Call());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RunExpression)->Iterations(1'000'000)->Repetitions(3)->ReportAggregatesOnly(true);

void RunNativePeer(benchmark::State &state)
{
    const ScriptCallback get = getField;
    const QString name = QStringLiteral("Get");
    const Variant reference(QStringLiteral("Source1.\"s0\""));
    const Variant two(2);
    const Variant seven(7);
    for (auto _ : state) {
        QList<Variant> arguments;
        arguments.append(reference);
        const Variant field = get(name, arguments);
        benchmark::DoNotOptimize(
            applyOperator(VariantOperator::Add, applyOperator(VariantOperator::Multiply, field, two), seven));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RunNativePeer)->Iterations(1'000'000)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
