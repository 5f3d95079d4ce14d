// Cost of the batch for a given glass composition without any window: formulas parsed, oxide
// yields laid out, the 19 x 19 system solved; and the same glass from 19 materials of a plant's
// library with 3 fixed additions, looked up in a library of 25 or of 1000 materials.

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

void BM_SolveNineteenOxidePlantGlass(benchmark::State& state) {
    batch::setDecimalSeparator(u',');
    const PlantGlass glass = nineteenOxidePlantGlass(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const batch::GlassBatchResult result =
            batch::solveGlassBatch(chemistry::prepareGlassBatch(glass.sheet, glass.library));
        benchmark::DoNotOptimize(result.batchMass);
    }
    const batch::GlassBatchResult result =
        batch::solveGlassBatch(chemistry::prepareGlassBatch(glass.sheet, glass.library));
    state.counters["materials"] = static_cast<double>(result.weighed.size());
    state.counters["oxides"] = static_cast<double>(result.glassOxides.size());
}
BENCHMARK(BM_SolveNineteenOxidePlantGlass)->Arg(25)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
