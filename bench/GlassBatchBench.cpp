// Cost of the batch for a given glass composition without any window: formulas parsed, oxide
// yields laid out, the 19 x 19 system solved.

#include "GlassComposition19.h"
#include "batch/GlassBatch.h"
#include "batch/NumberText.h"
#include "chemistry/GlassBatchSetup.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SolveNineteenOxideGlass(benchmark::State& state) {
    batch::setDecimalSeparator(u',');
    const batch::GlassCompositionSheet sheet = nineteenOxideGlass();
    for (auto _ : state) {
        const batch::GlassBatchResult result = batch::solveGlassBatch(chemistry::prepareGlassBatch(sheet));
        benchmark::DoNotOptimize(result.batchMass);
    }
}
BENCHMARK(BM_SolveNineteenOxideGlass)->Unit(benchmark::kMicrosecond);

} // namespace
