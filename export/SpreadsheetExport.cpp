#include "export/SpreadsheetExport.h"

#include "batch/Failure.h"

namespace exporting {

void exportToSpreadsheet(AutomationClient& client, const batch::TextGrid& table, bool wrapSelection,
                         const std::function<void()>& started) {
    std::unique_ptr<SpreadsheetApplication> application;
    try {
        application = client.startSpreadsheet(kSpreadsheetServer);
    } catch (const batch::Failure& failure) {
        throw batch::Failure(failure.message() + QStringLiteral(", ProgID: \"%1\"").arg(kSpreadsheetServer));
    }
    if (started)
        started();
    application->setVisible(true);
    application->workbooks()->add();
    const std::unique_ptr<Worksheet> sheet = application->activeWorkbook()->worksheets(1);
    if (wrapSelection)
        application->selection()->setWrapText(true);
    for (int c = 0; c < table.columnCount(); ++c)
        for (int r = 0; r < table.rowCount(); ++r)
            sheet->setCells(r + 1, c + 1, table.cell(c, r));
}

} // namespace exporting
