// Throughput of report expressions: every cell of a prepared page evaluates its expressions
// once per pass, so a typical memo expression (a field reference, arithmetic and a comparison)
// must cost far less than a microsecond or two.
#include <benchmark/benchmark.h>

#include "report/expr/Parser.h"

namespace {

TrpParser MakeParser()
{
    TrpParser parser;
    parser.OnGetValue = [](const QString& name, QVariant& value) {
        if (name.size() > 3)
            value = 21.5;   // the field reference
    };
    parser.OnFunction = [](const QString&, const QVariant&, const QVariant&, const QVariant&, QVariant& value) {
        value = 0;
    };
    return parser;
}

const QString kMemoExpression = QStringLiteral("[dmReport.\"TD1\"] * 2 + 1 > 40");

// The memo keeps the postfix form and evaluates it on every print.
void BM_EvaluatePostfix(benchmark::State& state)
{
    TrpParser parser = MakeParser();
    const QString postfix = parser.ToPostfix(kMemoExpression);
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.EvaluatePostfix(postfix));
}
BENCHMARK(BM_EvaluatePostfix)->Iterations(1000000);

// Places that evaluate an expression once convert it every time.
void BM_ConvertAndEvaluate(benchmark::State& state)
{
    TrpParser parser = MakeParser();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.Evaluate(kMemoExpression));
}
BENCHMARK(BM_ConvertAndEvaluate)->Iterations(1000000);

}  // namespace
