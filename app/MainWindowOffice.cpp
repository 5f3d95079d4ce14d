// The office exports: a table into a new LibreOffice Calc spreadsheet, the picture of the table
// panel into a new Writer document.
#include "app/MainWindow.h"
#include "app/OfficeProgress.h"

#include "export/LibreOfficeClient.h"
#include "export/PictureFile.h"
#include "export/ScreenshotFileName.h"
#include "export/SpreadsheetExport.h"
#include "export/TablePanelCapture.h"
#include "export/WordProcessorExport.h"

#include <QTabWidget>

namespace {

// A new export while one that the user gave up still waits for the office would only wait behind
// it; nothing is started, not even the picture of the Writer export.
bool refusedWhilePreviousExportWaits(Dialogs& dialogs, QWidget* owner) {
    if (!OfficeProgress::abandonedExportWaiting())
        return false;
    dialogs.showMessage(owner, QStringLiteral("Предыдущий экспорт не закончен: LibreOffice не отвечает. "
                                              "Новый экспорт не начат; повторите его, когда LibreOffice "
                                              "снова заработает."));
    return true;
}

} // namespace

std::unique_ptr<exporting::AutomationClient> MainWindow::makeOfficeClient() const {
    if (officeClient)
        return officeClient();
    return std::make_unique<exporting::LibreOfficeClient>(exporting::LibreOfficeSettings::forProgram());
}

void MainWindow::exportTable(const batch::TextGrid& grid, bool wrapSelection) {
    if (refusedWhilePreviousExportWaits(dialogs_, this))
        return;
    // The export works on a copy of the cells as they stand, its own for as long as it runs.
    auto cells = std::make_shared<batch::TextGrid>();
    cells->assign(grid);
    const bool finished = OfficeProgress::run(
        this, makeOfficeClient(),
        [cells, wrapSelection](exporting::AutomationClient& client, const OfficeProgress::Started& started) {
            exporting::exportToSpreadsheet(client, *cells, wrapSelection, started);
        });
    if (finished)
        dialogs_.showMessage(this, QStringLiteral("Данные экспортированы!"));
}

void MainWindow::exportActiveTableToSpreadsheet() {
    exportTable(tableTabs->currentWidget() == fractionTab ? fractionTable : batchTable, true);
}

void MainWindow::exportBatchTableToSpreadsheet() {
    exportTable(batchTable, false);
}

void MainWindow::exportFractionTableToSpreadsheet() {
    exportTable(fractionTable, false);
}

void MainWindow::exportTablePictureToWordProcessor() {
    if (refusedWhilePreviousExportWaits(dialogs_, this))
        return;
    // The picture is written before the office is asked for anything, and stays written whatever
    // happens to the export.
    const QString name = exporting::ScreenshotFileName(QStringLiteral("Screenshot"));
    exporting::writeBmp(exporting::TablePanelCapture(tablePanel), name);
    auto started = std::make_shared<bool>(false);
    const bool finished = OfficeProgress::run(
        this, makeOfficeClient(),
        [name, started](exporting::AutomationClient& client, const OfficeProgress::Started& onStarted) {
            *started = exporting::exportToWordProcessor(client, name, onStarted);
        });
    if (finished && !*started)
        dialogs_.showMessage(this, QStringLiteral("Не могу запустить Microsoft Word"));
}
