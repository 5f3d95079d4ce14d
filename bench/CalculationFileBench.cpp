// Loading and saving a calculation file far larger than the program itself makes: 5 columns and
// the largest row count a file may carry, in both tables.

#include "batch/TextGrid.h"
#include "storage/CalculationFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = storage::kMaxCalculationRows;

void fill(batch::TextGrid& grid) {
    grid.setDimensions(5, kRows);
    grid.setCell(0, 0, QStringLiteral("  Вещество"));
    grid.setCell(1, 0, QStringLiteral("Моляр.масса"));
    for (int r = 1; r < kRows; ++r) {
        grid.setCell(0, r, r % 2 ? QStringLiteral("SiO2") : QStringLiteral("Na2CO3"));
        grid.setCell(1, r, QStringLiteral("60,0848"));
        grid.setCell(2, r, QString::number(r % 97) + QStringLiteral(",5"));
        grid.setCell(3, r, QStringLiteral("100"));
        grid.setCell(4, r, QStringLiteral("74,4135"));
    }
}

struct LargeFile {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("large.veltra"));
    batch::TextGrid batchTable, fractionTable;
    LargeFile() {
        fill(batchTable);
        fill(fractionTable);
        storage::WriteCalculationFile(path, batchTable, fractionTable);
    }
};

LargeFile& largeFile() {
    static LargeFile file;
    return file;
}

void BM_ReadLargeCalculationFile(benchmark::State& state) {
    LargeFile& file = largeFile();
    for (auto _ : state) {
        batch::TextGrid batchTable, fractionTable;
        int batchCount = 0, fractionCount = 0;
        if (!storage::ReadCalculationFile(file.path, batchTable, fractionTable, batchCount, fractionCount) ||
            batchCount != kRows - 1) {
            state.SkipWithError("the file did not read back");
            break;
        }
        benchmark::DoNotOptimize(batchTable.cell(4, kRows - 1));
    }
}
BENCHMARK(BM_ReadLargeCalculationFile)->Unit(benchmark::kMillisecond);

void BM_WriteLargeCalculationFile(benchmark::State& state) {
    LargeFile& file = largeFile();
    const QString path = file.folder.filePath(QStringLiteral("copy.veltra"));
    for (auto _ : state)
        storage::WriteCalculationFile(path, file.batchTable, file.fractionTable);
}
BENCHMARK(BM_WriteLargeCalculationFile)->Unit(benchmark::kMillisecond);

} // namespace
