// The reader of calculation files against arbitrary bytes: it must never crash, never hold more
// than the bounds allow, fail only with "Invalid numeric input", and whatever it loads must save
// and load back unchanged.
//
// Built by scripts/fuzz-calculation-file: with libFuzzer where clang is installed, otherwise
// with VELTRONA_FUZZ_STANDALONE, which supplies main() with a seeded loop of mutated inputs.

#include "batch/Failure.h"
#include "batch/TextGrid.h"
#include "storage/CalculationFile.h"
#include "storage/IoError.h"
#include "storage/Windows1251.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz fault: %s\n", what);
    std::abort();
}

void check(bool condition, const char* what) {
    if (!condition)
        fault(what);
}

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
    storage::readCalculationBytes(bytes, batchTable, fractionTable, batchCount, fractionCount);
    check(batchCount == contents.batch.substanceCount() &&
              fractionCount == contents.fraction.substanceCount(),
          "counts differ from the parse");

    // Every byte decodes to a character that encodes again, so what was loaded can be saved.
    const QByteArray saved = storage::formatCalculationFile(batchTable, fractionTable);
    batch::TextGrid batchAgain, fractionAgain;
    int batchCountAgain = -1, fractionCountAgain = -1;
    storage::readCalculationBytes(saved, batchAgain, fractionAgain, batchCountAgain, fractionCountAgain);
    check(sameTable(batchTable, batchAgain) && sameTable(fractionTable, fractionAgain),
          "save and load differ");
    check(batchCountAgain == batchCount && fractionCountAgain == fractionCount, "counts differ after a save");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzOne(data, size);
    return 0;
}

#ifdef VELTRONA_FUZZ_STANDALONE

#include <random>
#include <string>
#include <vector>

// Without libFuzzer: mutate a few well-formed files with the format's own tokens and with
// random bytes, from a fixed seed so that a fault can be replayed.
int main(int argc, char** argv) {
    const long long runs = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const std::vector<std::string> seeds = {
        "5\r\n20\r\n  \xc2\xe5\xf9\xe5\xf1\xf2\xe2\xee\r\n\r\nSiO2\r\n1\r\n1\r\n\r\n",
        "2\r\n3\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n1\r\n2\r\nx\r\ny\r\n",
        "$2\n0x2\n\n\n\n\n 5 x\n-1\n",
        "",
    };
    const std::vector<std::string> tokens = {"\r\n",      "\n",     "\r",     " ",
                                             "\t",        "$",      "0x",     "0X",
                                             "-",         "+",      "5x",     "1000",
                                             "1001",      "100000", "100001", "4294967296",
                                             "$FFFFFFFF", "\xb8",   "\x98",   std::string(1, '\0')};
    std::mt19937_64 random(seed);
    auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (long long run = 0; run < runs; ++run) {
        std::string input = seeds[below(seeds.size())];
        const std::size_t mutations = 1 + below(8);
        for (std::size_t m = 0; m < mutations; ++m) {
            const std::size_t at = input.empty() ? 0 : below(input.size() + 1);
            switch (below(4)) {
            case 0:
                input.insert(at, tokens[below(tokens.size())]);
                break;
            case 1:
                input.insert(at, 1, static_cast<char>(random()));
                break;
            case 2:
                if (!input.empty())
                    input.erase(std::min(at, input.size() - 1), 1 + below(4));
                break;
            default:
                if (!input.empty())
                    input[std::min(at, input.size() - 1)] = static_cast<char>(random());
            }
        }
        fuzzOne(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    std::printf("%lld inputs, seed %llu: no fault\n", runs, seed);
    return 0;
}

#endif
