#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace storage {

// Text in our files is 8-bit Windows-1251. Every byte has a character, but most characters
// have no byte, and a character that cannot be written must never turn into a "?" on disk.

struct UnencodableCharacter {
    qsizetype position; // index of the first UTF-16 unit of the character in the text
    char32_t codePoint; // a lone surrogate is reported as itself
};

// The character of each byte, from the converter, worked out once.
const std::array<QChar, 256>& windows1251Characters();

// The first character of the text that Windows-1251 cannot hold, if any.
std::optional<UnencodableCharacter> findUnencodable(QStringView text);

// "Символ «α» (U+03B1) нельзя записать в кодировке Windows-1251", with an optional place
// ("в таблице …") put after the character.
QString unencodableMessage(char32_t codePoint, const QString& place = {});

// Throws batch::Failure with unencodableMessage() when the text holds a character that
// Windows-1251 cannot hold.
QByteArray encodeWindows1251(QStringView text);
// Nothing when the text holds such a character.
std::optional<QByteArray> tryEncodeWindows1251(QStringView text);
// Throws batch::Failure(kUndecodable) when the converter fails.
QString decodeWindows1251(QByteArrayView bytes);

inline const QString kUndecodable = QStringLiteral("Текст в кодировке Windows-1251 не удалось прочитать");

} // namespace storage
