// Times what large files cost the user: loading, showing and saving a calculation file of the
// given dimensions, showing a table with one very long cell, and reading and writing a large
// settings file at start and close. A measuring program with its own main(); see
// bench/measure-files.
//   FileCost <columns> <rows> <long cell MB> <settings MB> [declared-only | long-cells]
#include "app/Application.h"
#include "app/StringGrid.h"
#include "batch/Failure.h"
#include "storage/CalculationFile.h"
#include "storage/ProfileFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double cpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Runs the step once and prints its wall time and the processor time it took (on a machine
// shared with other work, the second is the steadier figure); a failure is printed instead.
void timed(const char* what, const std::function<void()>& step) {
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = cpuSeconds();
    try {
        step();
    } catch (const batch::Failure& failure) {
        std::printf("%-46s failed: %s\n", what, failure.message().toUtf8().constData());
        return;
    }
    std::printf("%-46s %8.3f s wall %8.3f s processor\n", what, double(clock.nsecsElapsed()) / 1e9,
                cpuSeconds() - cpuStart);
    std::fflush(stdout);
}

// Every cell filled, or (declaredOnly) only the two counts of each block, as in a damaged file.
QByteArray calculationFile(int columns, int rows, bool declaredOnly, bool longCells) {
    QByteArray block = QByteArray::number(columns) + "\r\n" + QByteArray::number(rows) + "\r\n";
    const QByteArray cell = longCells ? QByteArray(30, 'x') + "\r\n" : QByteArray("60,0848\r\n");
    if (!declaredOnly)
        block += cell.repeated(qsizetype(columns) * rows);
    return block + block;
}

QByteArray settingsFile(qsizetype megabytes) {
    const QByteArray line = "; a line of other text that the program keeps as it is\r\n";
    QByteArray bytes = "[Other]\r\n" + line.repeated(megabytes * 1024 * 1024 / line.size());
    return bytes + "[Form]\r\nForm1Color=255\r\nCheckbox2=1\r\n";
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int columns = argc > 1 ? std::atoi(argv[1]) : storage::kMaxCalculationColumns;
    const int rows = argc > 2 ? std::atoi(argv[2]) : storage::kMaxCalculationRows;
    const int longCellMegabytes = argc > 3 ? std::atoi(argv[3]) : 10;
    const int settingsMegabytes = argc > 4 ? std::atoi(argv[4]) : 100;
    const bool declaredOnly = argc > 5 && QByteArray(argv[5]) == "declared-only";
    const bool longCells = argc > 5 && QByteArray(argv[5]) == "long-cells";

    QTemporaryDir folder;
    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    MainWindow& mainWindow = windows.mainWindow;
    mainWindow.settingsFile = std::make_unique<storage::ProfileFile>(folder.filePath("Settings.ini"));
    mainWindow.resize(1280, 1000);
    mainWindow.show();
    QApplication::processEvents();

    const QString path = folder.filePath("large.veltra");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(calculationFile(columns, rows, declaredOnly, longCells)) < 0)
            return 1;
    }
    std::printf("calculation file: %d x %d cells in each table, %.1f MB\n", columns, rows,
                double(QFile(path).size()) / 1e6);
    timed("load", [&] {
        storage::ReadCalculationFile(path, mainWindow.batchTable, mainWindow.fractionTable,
                                     mainWindow.batchRowCount, mainWindow.fractionRowCount);
    });
    timed("show (draw the batch table)", [&] { (void)mainWindow.batchGrid->grab(); });
    timed("save", [&] {
        storage::WriteCalculationFile(folder.filePath("saved.veltra"), mainWindow.batchTable,
                                      mainWindow.fractionTable);
    });

    mainWindow.batchTable.assign(batch::TextGrid(5, 20));
    mainWindow.batchTable.setCell(0, 1, QString(longCellMegabytes * 1024 * 1024, u'A'));
    char longCell[64];
    std::snprintf(longCell, sizeof longCell, "show a table with a %d MB cell", longCellMegabytes);
    timed(longCell, [&] { (void)mainWindow.batchGrid->grab(); });

    {
        QFile file(mainWindow.settingsFile->path());
        if (!file.open(QIODevice::WriteOnly) || file.write(settingsFile(settingsMegabytes)) < 0)
            return 1;
    }
    std::printf("settings file: %.1f MB\n", double(QFile(mainWindow.settingsFile->path()).size()) / 1e6);
    timed("start: read the settings", [&] { mainWindow.readSettings(); });
    timed("close: write the settings", [&] { mainWindow.writeSettings(); });
    return 0;
}
