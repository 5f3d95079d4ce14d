// "Рассчитать" in the window "Шихта по составу стекла" for a glass of nineteen oxides: the
// calculation, the result written into the tables and the window painted; then the same with the
// page of the glass's properties in view, whose table and viscosity chart are filled and painted
// as well, and the properties of the container glass alone, without raw materials; and the batch
// of 19 materials of a plant's library (read from Data/RawMaterials.csv as the window does) with 3
// fixed additions.

#include "GlassComposition19.h"
#include "app/Application.h"
#include "app/GlassPropertiesPanel.h"
#include "batch/NumberText.h"
#include "storage/DataRoot.h"
#include "storage/RawMaterialsFile.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
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

// The window with its properties page in view, shown and painted once before the clock runs.
void recalculateWithProperties(benchmark::State& state, const batch::GlassCompositionSheet& sheet) {
    batch::setDecimalSeparator(u',');
    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    GlassWindow& glass = windows.glassWindow();
    glass.setSheet(sheet);
    glass.glassTabs->setCurrentWidget(glass.propertiesPanel);
    glass.present();
    QApplication::processEvents();
    for (auto _ : state) {
        glass.calculateBatch();
        // The chart lays out its new series and asks for its repaint through the event loop.
        QApplication::processEvents();
        glass.repaint();
    }
    if (glass.propertiesPanel->propertiesTable.cell(0, 10).isEmpty())
        state.SkipWithError("the calculation wrote no properties");
}

void BM_RecalculateNineteenOxideGlassWithProperties(benchmark::State& state) {
    recalculateWithProperties(state, nineteenOxideGlass());
}
BENCHMARK(BM_RecalculateNineteenOxideGlassWithProperties)->Unit(benchmark::kMillisecond);

void BM_RecalculateContainerGlassPropertiesAlone(benchmark::State& state) {
    batch::GlassCompositionSheet sheet;
    for (const auto& [oxide, content] :
         {std::pair{"SiO2", "72"}, {"Al2O3", "2"}, {"CaO", "8"}, {"MgO", "3"}, {"Na2O", "14"}, {"K2O", "1"}})
        sheet.rows.push_back({QString::fromLatin1(oxide), QString::fromLatin1(content)});
    sheet.glassMass = QStringLiteral("100");
    recalculateWithProperties(state, sheet);
}
BENCHMARK(BM_RecalculateContainerGlassPropertiesAlone)->Unit(benchmark::kMillisecond);

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
