// Table pictures from capture to file on disk, as JPEG and as BMP, and one drawing of the
// analysis diagram with 19 rows (operations and painting).
#include "analysis/DiagramOperations.h"
#include "analysis/DiagramPlayer.h"
#include "app/Application.h"
#include "batch/NumberText.h"
#include "export/PictureFile.h"
#include "export/TablePanelCapture.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The main window with a full batch table of 19 substances, as the user sees it.
ProgramWindows& windows() {
    static QtDialogs dialogs;
    static ProgramWindows programWindows(dialogs);
    static bool filled = false;
    if (!filled) {
        MainWindow& mainWindow = programWindows.mainWindow;
        for (int row = 1; row <= 19; ++row) {
            mainWindow.batchTable.setCell(0, row, QStringLiteral("Na2B4O7x10H2O"));
            mainWindow.batchTable.setCell(1, row, QStringLiteral("381,372"));
            mainWindow.batchTable.setCell(2, row, QStringLiteral("5,2632"));
            mainWindow.batchTable.setCell(3, row, QStringLiteral("100"));
            mainWindow.batchTable.setCell(4, row, QStringLiteral("5,2632"));
        }
        mainWindow.batchRowCount = 19;
        mainWindow.show();
        QApplication::processEvents();
        filled = true;
    }
    return programWindows;
}

void tablePicture(benchmark::State& state, bool jpeg) {
    QWidget* panel = windows().mainWindow.tablePanel;
    QTemporaryDir folder;
    const QString path = folder.filePath(jpeg ? QStringLiteral("table.jpg") : QStringLiteral("table.bmp"));
    for (auto _ : state) {
        const QImage picture = exporting::TablePanelCapture(panel);
        if (jpeg)
            exporting::writeJpeg(picture, path);
        else
            exporting::writeBmp(picture, path);
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void TablePictureJpeg(benchmark::State& state) {
    tablePicture(state, true);
}
void TablePictureBmp(benchmark::State& state) {
    tablePicture(state, false);
}

void DiagramDrawing19Rows(benchmark::State& state) {
    batch::TextGrid& cells = windows().mainWindow.batchTable;
    analysis::Scales scales;
    analysis::setScales(cells, 19, analysis::kDiagramSize, scales);
    QImage diagram(analysis::kDiagramSize, QImage::Format_RGB32);
    for (auto _ : state) {
        analysis::Operations operations;
        analysis::drawDiagram(cells, 19, scales, analysis::kDiagramSize, operations);
        analysis::play(operations, diagram);
        benchmark::DoNotOptimize(diagram.constBits());
    }
}

BENCHMARK(TablePictureJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(TablePictureBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(DiagramDrawing19Rows)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    // Widgets need an application object; without a display the offscreen platform stands in.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    batch::setDecimalSeparator(QLatin1Char(','));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
