// Cost of "Вычислить" as the formula grows: it should stay linear in the number of terms.

#include "batch/NumberText.h"
#include "chemistry/MassEvaluator.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

// About as many terms as asked for, in the shape the keyboard writes: elements with counts
// and a hydrate part now and then.
QString keyboardExpression(int terms) {
    static const QString groups[] = {QStringLiteral("+22,9898*2"), QStringLiteral("+10,810*4"),
                                     QStringLiteral("+15,9994*7"), QStringLiteral("+10*18,01534"),
                                     QStringLiteral("+28,086")};
    QString expression = QStringLiteral("0");
    int written = 1;
    for (int i = 0; written < terms; ++i) {
        const QString& group = groups[i % 5];
        expression += group;
        written += group.contains(u'*') ? 2 : 1;
    }
    return expression;
}

void BM_EvaluateMassExpression(benchmark::State& state) {
    batch::setDecimalSeparator(u',');
    const QString expression = keyboardExpression(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(chemistry::evaluateMassExpression(expression));
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_EvaluateMassExpression)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace
