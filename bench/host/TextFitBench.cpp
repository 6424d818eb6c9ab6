// Wrapping and comparing what the terminal host prints: a long word (a template name typed
// without blanks) and a screen of many distinct lines. Both should grow with the text's length,
// not with its square.
#include "host/TextFit.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void WrapOneLongWord(benchmark::State& state)
{
    const std::string sWord(static_cast<std::size_t>(state.range(0)), 'N');
    for (auto _ : state)
        benchmark::DoNotOptimize(host::WrapText("[" + sWord + "]", 120));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(WrapOneLongWord)->RangeMultiplier(4)->Range(1 << 14, 1 << 20)->Complexity();

void CompareDistinctLines(benchmark::State& state)
{
    std::string sBefore;
    std::string sAfter;
    for (long i = 0; i < state.range(0); ++i) {
        sBefore += "row " + std::to_string(i) + "\n";
        sAfter += "row " + std::to_string(state.range(0) - i) + "\n";
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(host::ChangedLines(sBefore, sAfter));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(CompareDistinctLines)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

} // namespace
