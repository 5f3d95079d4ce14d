// The molar-mass evaluator against any mass text: it gives a number that reads back, or fails
// with a floating-point message, or names a term of the text itself, never a number of its own.
#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"
#include "chemistry/MassEvaluator.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    batch::setDecimalSeparator(input.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.'));
    // Mostly the characters of mass texts, so that long products and sums come about.
    static const char alphabet[] = "0123456789,,,,+++***-=.E 0123456789";
    QString expression;
    while (input.remaining_bytes() > 0) {
        const std::uint8_t byte = input.ConsumeIntegral<std::uint8_t>();
        expression += byte < 200 ? QLatin1Char(alphabet[byte % (sizeof alphabet - 1)]) : QChar(byte);
    }

    QString result;
    try {
        result = chemistry::evaluateMassExpression(expression);
    } catch (const batch::Failure& failure) {
        const QString message = failure.message();
        if (message == QLatin1String(batch::kOverflow) || message == QLatin1String(batch::kInvalidOperation))
            return 0;
        const QStringList terms = expression.split(QRegularExpression(QStringLiteral("[*+-]")));
        bool named = false;
        for (const QString& term : terms)
            named = named || message == batch::conversionMessage(term);
        fuzzCheck(named, "the failure names no term of the mass text");
        return 0;
    }
    batch::Extended value = 0;
    fuzzCheck(batch::tryTextToNumber(result, value), "the molar mass does not read back");
    return 0;
}
