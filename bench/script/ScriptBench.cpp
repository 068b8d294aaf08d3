// The calculation script per raw reading: compiled anew each time (the per-reading sequence the
// sensors follow) and compiled once then run per reading.
#include "core/PSExpress.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

std::string BuiltIn()
{
    return BuiltInCalcProc().toStdString();
}

// A spread of raw readings as a local block returns them.
int32_t Raw(uint32_t n, int k) { return static_cast<int32_t>((n * 2654435761u >> (k * 4)) % 4000) - 200; }

void CompileAndRunPerReading(benchmark::State& state)
{
    const std::string text = BuiltIn();
    uint32_t n = 0;
    for (auto _ : state) {
        ++n;
        benchmark::DoNotOptimize(TPSExpress::Evaluate(text, 51, Raw(n, 0) + 1000, Raw(n, 1), Raw(n, 2), Raw(n, 3)));
    }
    state.SetLabel("built-in procedure, per reading");
}
BENCHMARK(CompileAndRunPerReading);

void RunCompiledPerReading(benchmark::State& state)
{
    TPSExpress express(0, 0, 0, 0, 51);
    express.SetScript(BuiltIn());
    uint32_t n = 0;
    for (auto _ : state) {
        ++n;
        express.SetReading(Raw(n, 0) + 1000, Raw(n, 1), Raw(n, 2), Raw(n, 3));
        benchmark::DoNotOptimize(express.Calculate());
    }
    state.SetLabel("built-in procedure, per reading");
}
BENCHMARK(RunCompiledPerReading);

void RunLoopScript(benchmark::State& state)
{
    // A heavier user procedure: a loop of 100 steps with real arithmetic and a host function.
    TPSExpress express(1000, 0, 100, 1300, 51);
    express.SetScript("var k: integer; s: double;\n"
                      "begin\n"
                      "  s := 0;\n"
                      "  for k := 1 to 100 do s := s + Sqr(U1 / k);\n"
                      "  Result := s;\n"
                      "end;");
    for (auto _ : state)
        benchmark::DoNotOptimize(express.Calculate());
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(RunLoopScript);

} // namespace
