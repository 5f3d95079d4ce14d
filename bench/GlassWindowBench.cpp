// "Рассчитать" in the window "Шихта по составу стекла" for a glass of nineteen oxides: the
// calculation, the result written into the tables and the window painted.

#include "GlassComposition19.h"
#include "app/Application.h"
#include "batch/NumberText.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_CalculateAndShowNineteenOxideGlass(benchmark::State& state) {
    batch::setDecimalSeparator(u',');
    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    GlassWindow& glass = windows.glassWindow();
    glass.setSheet(nineteenOxideGlass());
    glass.present();
    QApplication::processEvents();
    for (auto _ : state) {
        glass.calculateBatch();
        glass.repaint(); // painted at once, not when the event loop gets to it
    }
    if (glass.resultTable.cell(1, 19).isEmpty())
        state.SkipWithError("the calculation wrote no result");
}
BENCHMARK(BM_CalculateAndShowNineteenOxideGlass)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
