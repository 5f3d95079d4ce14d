#include "storage/Windows1251.h"

#include "batch/Failure.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace storage {

namespace {

// Qt's own codec list lacks this encoding; the name reaches ICU, which has it.
constexpr const char* kEncodingName = "windows-1251";

QStringEncoder makeEncoder() {
    QStringEncoder encoder(kEncodingName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        throw batch::Failure(QStringLiteral("Кодировка Windows-1251 недоступна"));
    return encoder;
}

} // namespace

std::optional<UnencodableCharacter> findUnencodable(QStringView text) {
    if (tryEncodeWindows1251(text))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.unicode() < 0x80)
            continue;
        qsizetype length = 1;
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text[i + 1]);
            length = 2;
        }
        if (length == 2 || unit.isSurrogate() || !tryEncodeWindows1251(text.mid(i, 1)))
            return UnencodableCharacter{i, codePoint};
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
    QStringEncoder encoder = makeEncoder();
    QByteArray bytes = encoder(text);
    // One byte per UTF-16 unit: a surrogate pair can never be one Windows-1251 byte.
    if (encoder.hasError() || bytes.size() != text.size())
        return std::nullopt;
    return bytes;
}

QByteArray encodeWindows1251(QStringView text) {
    auto bytes = tryEncodeWindows1251(text);
    if (!bytes) {
        const auto bad = findUnencodable(text);
        throw batch::Failure(unencodableMessage(bad ? bad->codePoint : 0xFFFD));
    }
    return *std::move(bytes);
}

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

} // namespace storage
