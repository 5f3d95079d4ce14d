// Cost of the properties of a glass without any window: the composition read from the grid's
// texts, the three models with their limits and notes, the rows' texts and the chart's series.

#include "GlassComposition19.h"
#include "batch/NumberText.h"
#include "properties/GlassProperties.h"

#include <benchmark/benchmark.h>

namespace {

void measure(benchmark::State& state, const batch::GlassCompositionSheet& sheet) {
    batch::setDecimalSeparator(u',');
    for (auto _ : state) {
        const properties::GlassProperties result =
            properties::glassProperties(*properties::typedComposition(sheet));
        benchmark::DoNotOptimize(result.rows.data());
    }
}

// Nineteen oxides in amounts every model stops at: each meets more than 1 % of oxides it lacks.
void BM_PropertiesOfNineteenOxideGlass(benchmark::State& state) {
    measure(state, nineteenOxideGlass());
}
BENCHMARK(BM_PropertiesOfNineteenOxideGlass)->Unit(benchmark::kMicrosecond);

// Nineteen oxides of which each model lacks at most 1 %: every model leaves some out, renormalises,
// computes and checks its range; the viscosity curve is sampled for the chart.
void BM_PropertiesOfNineteenOxideGlassWithinTheModels(benchmark::State& state) {
    const char* rows[][2] = {
        {"SiO2", "70,01"}, {"Na2O", "13"},  {"CaO", "8"},     {"MgO", "3"},     {"Al2O3", "2"},
        {"K2O", "1"},      {"Li2O", "0,5"}, {"BaO", "0,8"},   {"SrO", "0,2"},   {"ZnO", "0,5"},
        {"B2O3", "0,11"},  {"PbO", "0,11"}, {"TiO2", "0,11"}, {"ZrO2", "0,11"}, {"Fe2O3", "0,11"},
        {"P2O5", "0,11"},  {"SO3", "0,11"}, {"CeO2", "0,11"}, {"Cs2O", "0,11"},
    };
    batch::GlassCompositionSheet sheet;
    for (const auto& row : rows)
        sheet.rows.push_back({QString::fromUtf8(row[0]), QString::fromUtf8(row[1])});
    batch::setDecimalSeparator(u',');
    for (const properties::PropertyRow& row :
         properties::glassProperties(*properties::typedComposition(sheet)).rows)
        if (row.value.isEmpty())
            state.SkipWithError("a model gave no value");
    measure(state, sheet);
}
BENCHMARK(BM_PropertiesOfNineteenOxideGlassWithinTheModels)->Unit(benchmark::kMicrosecond);

} // namespace
