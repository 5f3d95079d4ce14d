#pragma once

#include <QString>
#include <optional>

namespace exporting {

// What a table cell becomes in a spreadsheet. A text that the program's number text reads as a
// number (with the program's decimal separator, blanks around it allowed) goes in as that number,
// so that it stays a number whatever the office's own regional settings are; every other text
// goes in as text exactly as it stands, never read as a formula, whatever its first character.
// A number beyond what the spreadsheet can hold (a double) stays text rather than turning into an
// infinity or a zero.
std::optional<double> spreadsheetNumber(const QString& text);

} // namespace exporting
