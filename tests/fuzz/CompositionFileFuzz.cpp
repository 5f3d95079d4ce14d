// The reader of composition files against arbitrary bytes: it fails only with batch::Failure,
// whatever it loads saves and loads back as the same composition, and preparing and solving that
// composition with a plant's library fails only with batch::Failure too, or gives every raw
// material and every oxide of the glass.
//
// Built and run by scripts/fuzz.

#include "FuzzCheck.h"
#include "FuzzLibrary.h"
#include "batch/Failure.h"
#include "batch/GlassBatch.h"
#include "batch/NumberText.h"
#include "chemistry/GlassBatchSetup.h"
#include "storage/CompositionFile.h"

#include <cstddef>
#include <cstdint>

namespace {

bool sameSheet(const batch::GlassCompositionSheet& a, const batch::GlassCompositionSheet& b) {
    return a.rows == b.rows && a.molePercent == b.molePercent && a.glassMass == b.glassMass &&
           a.cullet == b.cullet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    batch::setDecimalSeparator(QLatin1Char(','));
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    batch::GlassCompositionSheet sheet;
    int unendedLine = -1;
    try {
        sheet = storage::parseCompositionFile(bytes, &unendedLine);
    } catch (const batch::Failure& failure) {
        fuzzCheck(failure.message().startsWith(QStringLiteral("Файл состава повреждён: строка ")),
                  "a failure that is not the damaged-file message");
        return 0;
    }
    fuzzCheck(sheet.rows.size() <= size_t(batch::kCompositionRows), "more rows than a composition has");
    fuzzCheck(unendedLine >= 0 && unendedLine <= qsizetype(size) + 1, "the unended line is out of range");
    if (size > 0 && (data[size - 1] == '\n' || data[size - 1] == '\r'))
        fuzzCheck(unendedLine == 0, "a file that ends with a line end is reported as unended");

    int againUnended = -1;
    batch::GlassCompositionSheet again;
    try {
        again = storage::parseCompositionFile(storage::formatCompositionFile(sheet), &againUnended);
    } catch (const batch::Failure&) {
        fuzzFault("a saved composition does not load");
    }
    fuzzCheck(sameSheet(sheet, again), "save and load differ");
    fuzzCheck(againUnended == 0, "a saved composition reads as cut");

    try {
        static const chemistry::RawMaterialLibrary library = fuzzLibrary();
        const batch::GlassBatchProblem problem = chemistry::prepareGlassBatch(sheet, library);
        const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
        fuzzCheck(result.weighed.size() == problem.materials.size() &&
                      result.dry.size() == problem.materials.size(),
                  "a result without every raw material");
        fuzzCheck(result.glassMassPercent.size() == problem.oxides.size() + problem.extraOxides.size() &&
                      size_t(result.glassOxides.size()) == result.glassMassPercent.size(),
                  "a result without every oxide of the glass");
        fuzzCheck(result.cost.has_value() == result.unpriced.isEmpty(), "a cost without every price");
        (void)batch::batchTableRows(problem, result);
    } catch (const batch::Failure&) {
    }
    return 0;
}
