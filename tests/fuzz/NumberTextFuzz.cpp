// Text to number and both number texts: any text either converts or fails with the conversion
// message; the general text of any value reads back to the same digits, and so does fixed text.
#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void checkReadsBack(const QString& text, int digits) {
    batch::Extended read = 0;
    fuzzCheck(batch::tryTextToNumber(text, read), "a number text does not read back");
    fuzzCheck(batch::generalText(read, digits) == text, "a number text reads back as another number");
}

void checkTexts(batch::Extended value) {
    if (!std::isfinite(value))
        return;
    for (const int digits : {15, 8, 7, 4, 1})
        checkReadsBack(batch::generalText(value, digits), digits);
    // Fixed text with the precisions and decimals the calculations use.
    for (const auto& [precision, decimals] : {std::pair{7, 4}, {8, 1}, {8, 2}}) {
        const QString text = batch::fixedText(value, precision, decimals);
        batch::Extended read = 0;
        fuzzCheck(batch::tryTextToNumber(text, read), "a fixed text does not read back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    batch::setDecimalSeparator(input.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.'));

    // Any 80 bits as a value: subnormals, the largest values and everything between.
    unsigned char bits[10] = {};
    const std::vector<std::uint8_t> raw = input.ConsumeBytes<std::uint8_t>(sizeof bits);
    if (!raw.empty())
        std::memcpy(bits, raw.data(), raw.size());
    // The integer bit follows the exponent, as in every value arithmetic produces (the other
    // encodings are invalid operands to the processor).
    const bool normal = (bits[8] | (bits[9] & 0x7F)) != 0;
    bits[7] = normal ? (bits[7] | 0x80) : (bits[7] & 0x7F);
    batch::Extended value = 0;
    std::memcpy(&value, bits, sizeof bits);
    checkTexts(value);

    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(rest.data(), qsizetype(rest.size()));
    batch::Extended converted = 0;
    if (batch::tryTextToNumber(text, converted)) {
        fuzzCheck(std::isfinite(converted), "a text converts to a value that is not finite");
        checkTexts(converted);
    } else {
        try {
            batch::textToNumber(text);
            fuzzFault("textToNumber takes what tryTextToNumber refuses");
        } catch (const batch::Failure& failure) {
            fuzzCheck(failure.message() == batch::conversionMessage(text), "unexpected failure message");
        }
    }
    return 0;
}
