#pragma once

#include <QStringView>
#include <optional>

namespace storage {

// A whole number as the calculation file and the settings file write it by hand or by program:
// an optional sign, then decimal digits, or hexadecimal digits after "$", "0x" or "0X".
// Decimal must fit in a signed 32-bit number; hexadecimal may use all 32 bits and is taken as
// the bit pattern ("$FFFFFFFF" is -1), so that colours written either way read back the same.
// Anything else, the empty text included, is not a whole number.
std::optional<int> parseWholeNumber(QStringView text);

} // namespace storage
