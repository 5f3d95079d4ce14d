// The reader of the raw-materials library against arbitrary bytes: it fails only with a message
// about the library, whatever it reads passes the library's own checks, means the same with
// either regional decimal separator, and is written back into a file that reads as the same
// library and is written again byte for byte.
//
// Built and run by scripts/fuzz.

#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "storage/RawMaterialsFile.h"

#include <cstddef>
#include <cstdint>

namespace {

const auto check = fuzzCheck;

void fuzzOne(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    batch::setDecimalSeparator(u',');
    chemistry::RawMaterialLibrary library;
    try {
        library = storage::parseRawMaterialsFile(bytes);
    } catch (const batch::Failure& failure) {
        check(failure.message().startsWith(QStringLiteral("Справочник сырья, строка ")),
              "a failure that does not name the library's line");
        batch::setDecimalSeparator(u'.');
        // The message shows its figures with the regional separator; nothing else may change.
        const auto withPoints = [](QString message) { return message.replace(u',', u'.'); };
        bool refused = false;
        try {
            storage::parseRawMaterialsFile(bytes);
        } catch (const batch::Failure& again) {
            refused = withPoints(again.message()) == withPoints(failure.message());
        }
        check(refused, "the regional separator changes the refusal");
        return;
    }
    check(library.materials.size() <= size_t(chemistry::kMaxRawMaterials), "more materials than allowed");
    try {
        chemistry::checkRawMaterialLibrary(library);
    } catch (const batch::Failure&) {
        fuzzFault("a library that was read fails its own checks");
    }

    batch::setDecimalSeparator(u'.');
    check(storage::parseRawMaterialsFile(bytes) == library, "the regional separator changes the library");
    const QByteArray written = storage::formatRawMaterialsFile(library);
    batch::setDecimalSeparator(u',');
    const chemistry::RawMaterialLibrary again = storage::parseRawMaterialsFile(written);
    check(again == library, "written and read back differ");
    check(storage::formatRawMaterialsFile(again) == written, "a second write differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzOne(data, size);
    return 0;
}
