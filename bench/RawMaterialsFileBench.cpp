// Reading and writing the raw-materials library at the most materials it may hold: 1000, half
// by formula and half by an analysis over fifteen oxide columns.

#include "chemistry/GlassRawMaterials.h"
#include "storage/RawMaterialsFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

chemistry::RawMaterialLibrary fullLibrary() {
    chemistry::RawMaterialLibrary library;
    library.oxideColumns = {"SiO2", "Al2O3", "Fe2O3", "TiO2", "CaO", "MgO",   "Na2O", "K2O",
                            "B2O3", "BaO",   "ZnO",   "SO3",  "MnO", "Cr2O3", "ZrO2"};
    const auto& formulas = chemistry::glassRawMaterials();
    for (int i = 0; i < chemistry::kMaxRawMaterials; ++i) {
        chemistry::RawMaterial material;
        material.name = QStringLiteral("Материал поставщика № %1").arg(i);
        material.moisture = 0.5L + i % 7;
        material.price = 1000 + 37 * i;
        if (i % 2 == 0) {
            material.formula = formulas[static_cast<size_t>(i / 2) % formulas.size()].formula;
            material.purity = 99.5L;
        } else {
            // Twelve oxides of a certificate, the rest of the hundred as loss on ignition.
            batch::Extended sum = 0;
            for (int k = 0; k < 12; ++k) {
                const batch::Extended percent = k == 0 ? 60.25L : 1.125L + k % 3;
                material.analysis.push_back({library.oxideColumns[k], percent});
                sum += percent;
            }
            material.lossOnIgnition = 100 - sum;
            material.carbonDioxide = (100 - sum) / 2;
        }
        library.materials.push_back(material);
    }
    return library;
}

struct FullFile {
    QTemporaryDir folder;
    QString path = folder.filePath(storage::kRawMaterialsFileName);
    chemistry::RawMaterialLibrary library = fullLibrary();
    FullFile() {
        batch::setDecimalSeparator(u',');
        storage::writeRawMaterialsFile(path, library);
    }
};

FullFile& fullFile() {
    static FullFile file;
    return file;
}

void BM_ReadFullLibrary(benchmark::State& state) {
    FullFile& file = fullFile();
    for (auto _ : state) {
        const chemistry::RawMaterialLibrary library = storage::readRawMaterialLibrary(file.path);
        benchmark::DoNotOptimize(library.materials.size());
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file.path).size());
}
BENCHMARK(BM_ReadFullLibrary)->Unit(benchmark::kMillisecond);

void BM_WriteFullLibrary(benchmark::State& state) {
    FullFile& file = fullFile();
    for (auto _ : state)
        storage::writeRawMaterialsFile(file.path, file.library);
}
BENCHMARK(BM_WriteFullLibrary)->Unit(benchmark::kMillisecond);

} // namespace
