// The office exports: a table into a new LibreOffice Calc spreadsheet, the picture of the table
// panel into a new Writer document.
#include "app/OfficeProgress.h"
#include "app/Unit1.h"

#include "export/LibreOfficeClient.h"
#include "export/PictureFile.h"
#include "export/ScreenshotFileName.h"
#include "export/SpreadsheetExport.h"
#include "export/TablePanelCapture.h"
#include "export/WordProcessorExport.h"

#include <QTabWidget>

std::unique_ptr<exporting::AutomationClient> TForm1::makeOfficeClient() const {
    if (officeClient)
        return officeClient();
    return std::make_unique<exporting::LibreOfficeClient>(exporting::LibreOfficeSettings::forProgram());
}

void TForm1::exportTable(const batch::TextGrid& grid, bool wrapSelection) {
    // The export reads the cells off the interface thread, so it gets a copy of them as they stand.
    batch::TextGrid cells;
    cells.assign(grid);
    const std::unique_ptr<exporting::AutomationClient> client = makeOfficeClient();
    OfficeProgress::run(this, [&](const OfficeProgress::Started& started) {
        exporting::exportToSpreadsheet(*client, cells, wrapSelection, started);
    });
    dialogs_.showMessage(this, QStringLiteral("Данные экспортированы!"));
}

void TForm1::N40Click() {
    exportTable(PageControl1->currentWidget() == TabSheet2 ? FractionTable : BatchTable, true);
}

void TForm1::Button117Click() {
    exportTable(BatchTable, false);
}

void TForm1::Button118Click() {
    exportTable(FractionTable, false);
}

void TForm1::Cj1Click() {
    // The picture is written before the office is asked for anything, and stays written whatever
    // happens to the export.
    const QString name = exporting::ScreenshotFileName(QStringLiteral("Screenshot"));
    exporting::writeBmp(exporting::TablePanelCapture(Panel1), name);
    const std::unique_ptr<exporting::AutomationClient> client = makeOfficeClient();
    bool started = false;
    OfficeProgress::run(this, [&](const OfficeProgress::Started& onStarted) {
        started = exporting::exportToWordProcessor(*client, name, onStarted);
    });
    if (!started)
        dialogs_.showMessage(this, QStringLiteral("Не могу запустить Microsoft Word"));
}
