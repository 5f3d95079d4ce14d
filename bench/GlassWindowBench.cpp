// "Рассчитать" in the window "Шихта по составу стекла" for a glass of nineteen oxides: the
// calculation, the result written into the tables and the window painted; from formulas, and from
// 19 materials of a plant's library (read from Data/RawMaterials.csv as the window does) with 3
// fixed additions.

#include "GlassComposition19.h"
#include "app/Application.h"
#include "batch/NumberText.h"
#include "storage/DataRoot.h"
#include "storage/RawMaterialsFile.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
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

void BM_CalculateAndShowNineteenOxidePlantGlass(benchmark::State& state) {
    batch::setDecimalSeparator(u',');
    const PlantGlass plant = nineteenOxidePlantGlass();
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Data"));
    storage::setDataRoot(root.path());
    storage::writeRawMaterialsFile(storage::rawMaterialsFilePath(), plant.library);
    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    GlassWindow& glass = windows.glassWindow();
    glass.setSheet(plant.sheet);
    glass.present();
    QApplication::processEvents();
    for (auto _ : state) {
        glass.calculateBatch();
        glass.repaint();
    }
    if (glass.library().materials.size() != plant.library.materials.size() ||
        glass.resultTable.cell(1, 22).isEmpty())
        state.SkipWithError("the window did not compute with the library");
    state.counters["materials"] = static_cast<double>(plant.sheet.rows.size());
    storage::setDataRoot({});
}
BENCHMARK(BM_CalculateAndShowNineteenOxidePlantGlass)->Unit(benchmark::kMillisecond);

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
