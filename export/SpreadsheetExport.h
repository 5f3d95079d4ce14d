#pragma once

#include "batch/TextGrid.h"
#include "export/OfficeAutomation.h"

#include <functional>

namespace exporting {

// Copies every cell of the table, headers and empty cells included, into the first worksheet of a
// new workbook of the spreadsheet server: cell (column c, row r) goes to Cells(r + 1, c + 1),
// column by column, each column top to bottom. With `wrapSelection` the application's selection
// wraps its text first. `started` is told once the server has answered.
// A server that does not start fails with its text followed by the automation name; any later
// failing call ends the export there, the cells already written stay.
void exportToSpreadsheet(AutomationClient& client, const batch::TextGrid& table, bool wrapSelection,
                         const std::function<void()>& started = {});

} // namespace exporting
