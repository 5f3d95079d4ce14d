// Cost of reading a raw material's formula: the longest and deepest formulas the parser takes,
// and the refusal of a composition cell of a megabyte and of a formula of 10^5 characters.

#include "batch/Failure.h"
#include "chemistry/Formula.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

// Either the formula or the failure: the refusals are timed with the same loop.
void parseOrRefuse(benchmark::State& state, const QString& text) {
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(chemistry::parseFormula(text));
        } catch (const batch::Failure& failure) {
            benchmark::DoNotOptimize(failure.message());
        }
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

// 256 characters: sixteen times a group in a group with counts.
void BM_LongestFormula(benchmark::State& state) {
    parseOrRefuse(state, QStringLiteral("Ca(Mg(CO3)2)3Na2").repeated(16));
}

// Sixteen levels of parentheses with atoms at each, and crystal water.
void BM_DeepestFormula(benchmark::State& state) {
    QString text;
    for (int level = 0; level < 16; ++level)
        text += QStringLiteral("(OH");
    for (int level = 0; level < 16; ++level)
        text += QStringLiteral(")2");
    parseOrRefuse(state, QStringLiteral("Al") + text + QStringLiteral("·10H2O"));
}

// A composition cell of a megabyte with 400 000 levels of parentheses.
void BM_MegabyteOfParentheses(benchmark::State& state) {
    parseOrRefuse(state, QStringLiteral("Na") + QString(400000, u'(') + QStringLiteral("OH") +
                             QString(400000, u')') + QString((1 << 20) - 800004, u'H'));
}

// 10^5 characters: 80 000 atoms inside 10 000 levels, each of which the parser once copied.
void BM_Formula100000Characters(benchmark::State& state) {
    parseOrRefuse(state, QString(10000, u'(') + QString(80000, u'O') + QString(10000, u')'));
}

BENCHMARK(BM_LongestFormula)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeepestFormula)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MegabyteOfParentheses)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Formula100000Characters)->Unit(benchmark::kMicrosecond);

} // namespace
