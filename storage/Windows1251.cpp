#include "storage/Windows1251.h"

#include "batch/Failure.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace storage {

namespace {

// Qt's own codec list lacks this encoding; the name reaches ICU, which has it.
constexpr const char* kEncodingName = "windows-1251";

} // namespace

QString decodeWindows1251(QByteArrayView bytes) {
    QStringDecoder decoder(kEncodingName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        throw batch::Failure(QStringLiteral("Кодировка Windows-1251 недоступна"));
    QString text = decoder(bytes);
    // Every byte has a character, so a shorter text or an error means the converter gave up
    // (as it does on inputs of hundreds of megabytes); an empty result must not pass for a file.
    if (decoder.hasError() || text.size() != bytes.size())
        throw batch::Failure(kUndecodable);
    return text;
}

namespace {

// The 256 characters the other way, sorted by character. The encoding has a byte for these
// characters and for no other, so a lookup here writes what the converter would write, without
// making a converter for every text.
const std::array<std::pair<char16_t, uchar>, 256>& byteOfCharacter() {
    static const std::array<std::pair<char16_t, uchar>, 256> table = [] {
        std::array<std::pair<char16_t, uchar>, 256> bytes{};
        for (size_t b = 0; b < 256; ++b)
            bytes[b] = {windows1251Characters()[b].unicode(), static_cast<uchar>(b)};
        std::sort(bytes.begin(), bytes.end());
        return bytes;
    }();
    return table;
}

std::optional<uchar> byteOf(QChar character) {
    const auto& table = byteOfCharacter();
    const char16_t unit = character.unicode();
    const auto found =
        std::lower_bound(table.begin(), table.end(), unit,
                         [](const auto& entry, char16_t sought) { return entry.first < sought; });
    if (found == table.end() || found->first != unit)
        return std::nullopt;
    return found->second;
}

} // namespace

const std::array<QChar, 256>& windows1251Characters() {
    static const std::array<QChar, 256> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = decodeWindows1251(all);
        std::array<QChar, 256> characters{};
        for (int b = 0; b < 256; ++b)
            characters[static_cast<size_t>(b)] = text.at(b);
        return characters;
    }();
    return table;
}

std::optional<UnencodableCharacter> findUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteOf(text[i]))
            continue;
        // A surrogate pair is one character, and never one byte.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            return UnencodableCharacter{i, QChar::surrogateToUcs4(text[i], text[i + 1])};
        return UnencodableCharacter{i, text[i].unicode()};
    }
    return std::nullopt;
}

QString unencodableMessage(char32_t codePoint, const QString& place) {
    const bool printable = !(codePoint >= 0xD800 && codePoint <= 0xDFFF) && codePoint >= 0x20;
    QString shown = printable ? QString::fromUcs4(&codePoint, 1) : QString();
    QString message = QStringLiteral("Символ ");
    if (!shown.isEmpty())
        message += QStringLiteral("«%1» ").arg(shown);
    message += QStringLiteral("(U+%1)").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    if (!place.isEmpty())
        message += QLatin1Char(' ') + place;
    message += QStringLiteral(" нельзя записать в кодировке Windows-1251");
    return message;
}

std::optional<QByteArray> tryEncodeWindows1251(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<uchar> byte = byteOf(text[i]);
        if (!byte)
            return std::nullopt;
        bytes[i] = static_cast<char>(*byte);
    }
    return bytes;
}

QByteArray encodeWindows1251(QStringView text) {
    auto bytes = tryEncodeWindows1251(text);
    if (!bytes)
        throw batch::Failure(unencodableMessage(findUnencodable(text)->codePoint));
    return *std::move(bytes);
}

} // namespace storage
