#include "storage/Windows1251.h"
#include "batch/Failure.h"
#include "storage/WholeNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1251Test, EveryByteDecodesAndEncodesBackToItself) {
    // The profile file splices bytes at offsets of the decoded text, and the calculation file
    // promises cells back byte for byte: both need one character per byte, both ways.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = storage::decodeWindows1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.mid(0xC0, 3), QStringLiteral("АБВ"));
    EXPECT_EQ(text[0xB9], QChar(0x2116)); // №
    EXPECT_EQ(storage::encodeWindows1251(text), all);
}

TEST(Windows1251Test, FindsTheFirstCharacterThatHasNoByte) {
    struct Case {
        QString text;
        qsizetype position;
        char32_t codePoint;
    };
    const Case cases[] = {
        {QStringLiteral("Al₂O₃"), 2, 0x2082}, {QStringLiteral("ёé"), 1, 0xE9},
        {QStringLiteral("a😀b"), 1, 0x1F600},  {QStringLiteral("x") + QChar(0xD800), 1, 0xD800},
        {QStringLiteral("Ａ"), 0, 0xFF21}, // no silent best fit to "A"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto found = storage::findUnencodable(c.text);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->position, c.position);
        EXPECT_EQ(found->codePoint, c.codePoint);
        EXPECT_THROW(storage::encodeWindows1251(c.text), batch::Failure);
    }
    EXPECT_FALSE(storage::findUnencodable(QStringLiteral("Щёлочь № 5 — 10 €")).has_value());
}

TEST(Windows1251Test, MessageNamesTheCharacter) {
    try {
        storage::encodeWindows1251(QStringLiteral("α-Al2O3"));
        FAIL() << "no failure";
    } catch (const batch::Failure& failure) {
        EXPECT_EQ(failure.message(),
                  QStringLiteral("Символ «α» (U+03B1) нельзя записать в кодировке Windows-1251"));
    }
}

TEST(WholeNumberTest, ReadsDecimalAndHexadecimalInThirtyTwoBits) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"255", 255},
        {"0xFF", 255},
        {"0XfF", 255},
        {"$ff", 255},
        {"-16777201", -16777201},
        {"0xFF00000F", -16777201},
        {"+7", 7},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"5x", std::nullopt},
        {"abc", std::nullopt},
        {"1 2", std::nullopt},
        {"$G", std::nullopt},
        {"12e3", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(storage::parseWholeNumber(QString::fromLatin1(text)), expected);
    }
}

} // namespace
