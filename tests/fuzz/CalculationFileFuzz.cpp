// The reader of calculation files against arbitrary bytes: it must never crash, never hold more
// than the bounds allow, fail only with "Invalid numeric input", and whatever it loads must save
// and load back unchanged.
//
// Built and run by scripts/fuzz.

#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "batch/TextGrid.h"
#include "storage/CalculationFile.h"
#include "storage/IoError.h"
#include "storage/Windows1251.h"

#include <cstddef>
#include <cstdint>

namespace {

const auto check = fuzzCheck;

// Building a table costs memory for every cell it has, file or not; beyond this size only the
// parse is exercised, which holds no more than the lines the input really has.
constexpr qint64 kLargestBuiltTable = 1 << 16;

void checkBlock(const storage::CalculationBlock& block, qsizetype inputSize) {
    check(block.columns >= 1 && block.columns <= storage::kMaxCalculationColumns, "columns out of bounds");
    check(block.rows >= 1 && block.rows <= storage::kMaxCalculationRows, "rows out of bounds");
    check(block.cells.size() <= qint64(block.columns) * block.rows, "more cells than the table has");
    check(block.cells.size() <= inputSize + 1, "more cells than the input has lines");
    for (const QString& cell : block.cells)
        check(!cell.contains(u'\n'), "a cell holds a line end");
    const int count = block.substanceCount();
    check(count >= 0 && count <= block.rows - 1, "count out of range");
}

bool sameTable(const batch::TextGrid& a, const batch::TextGrid& b) {
    if (a.columnCount() != b.columnCount() || a.rowCount() != b.rowCount())
        return false;
    for (int c = 0; c < a.columnCount(); ++c)
        for (int r = 0; r < a.rowCount(); ++r)
            if (a.cell(c, r) != b.cell(c, r))
                return false;
    return true;
}

void fuzzOne(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    storage::CalculationContents contents;
    try {
        contents = storage::parseCalculationFile(storage::decodeWindows1251(bytes));
    } catch (const batch::Failure& failure) {
        check(failure.message() == storage::kInvalidNumericInput, "unexpected failure message");
        return;
    }
    checkBlock(contents.batch, bytes.size());
    checkBlock(contents.fraction, bytes.size());
    if (qint64(contents.batch.columns) * contents.batch.rows > kLargestBuiltTable ||
        qint64(contents.fraction.columns) * contents.fraction.rows > kLargestBuiltTable)
        return;

    batch::TextGrid batchTable, fractionTable;
    int batchCount = -1, fractionCount = -1;
    const storage::CalculationShortfall shortfall =
        storage::readCalculationBytes(bytes, batchTable, fractionTable, batchCount, fractionCount);
    check(shortfall.missingCells >= 0 && shortfall.missingCells <= shortfall.declaredCells &&
              shortfall.declaredCells == qint64(batchTable.columnCount()) * batchTable.rowCount() +
                                             qint64(fractionTable.columnCount()) * fractionTable.rowCount(),
          "shortfall out of range");
    check(batchCount == contents.batch.substanceCount() &&
              fractionCount == contents.fraction.substanceCount(),
          "counts differ from the parse");

    // Every byte decodes to a character that encodes again, so what was loaded can be saved.
    const QByteArray saved = storage::formatCalculationFile(batchTable, fractionTable);
    batch::TextGrid batchAgain, fractionAgain;
    int batchCountAgain = -1, fractionCountAgain = -1;
    const storage::CalculationShortfall again =
        storage::readCalculationBytes(saved, batchAgain, fractionAgain, batchCountAgain, fractionCountAgain);
    check(!again.endedEarly(), "a saved file reads as cut short");
    check(sameTable(batchTable, batchAgain) && sameTable(fractionTable, fractionAgain),
          "save and load differ");
    check(batchCountAgain == batchCount && fractionCountAgain == fractionCount, "counts differ after a save");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzOne(data, size);
    return 0;
}
