#include "export/SpreadsheetCell.h"

#include "batch/NumberText.h"

#include <cmath>

namespace exporting {

std::optional<double> spreadsheetNumber(const QString& text) {
    batch::Extended number = 0;
    if (!batch::tryTextToNumber(text, number))
        return std::nullopt;
    const double value = static_cast<double>(number);
    if (!std::isfinite(value) || (value == 0 && number != 0))
        return std::nullopt;
    return value;
}

} // namespace exporting
