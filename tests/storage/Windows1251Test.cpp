#include "storage/Windows1251.h"
#include "FailureOf.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

TEST(Windows1251, EveryByteDecodesAndEncodesBackToItself) {
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

TEST(Windows1251, WritesEveryCharacterAsTheConverterDoesAndNoOther) {
    // The encoder looks characters up in the decoder's table; the converter itself must agree on
    // every UTF-16 unit, so that no character it would refuse, or write otherwise, gets through.
    int accepted = 0;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        // A converter of its own for each: an error stays with the converter that met it.
        QStringEncoder converter("windows-1251", QStringConverter::Flag::Stateless);
        ASSERT_TRUE(converter.isValid());
        const QChar character(static_cast<char16_t>(unit));
        const QByteArray expected = converter(QStringView(&character, 1));
        const bool convertible = !converter.hasError() && expected.size() == 1;
        const std::optional<QByteArray> written = storage::tryEncodeWindows1251(QStringView(&character, 1));
        ASSERT_EQ(written.has_value(), convertible) << "U+" << std::hex << static_cast<unsigned>(unit);
        if (written) {
            EXPECT_EQ(*written, expected) << "U+" << std::hex << static_cast<unsigned>(unit);
            ++accepted;
        }
    }
    EXPECT_EQ(accepted, 256);
}

TEST(Windows1251, RefusesTheFirstCharacterThatHasNoByteAndNamesIt) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("α-Al2O3"), QStringLiteral("«α» (U+03B1)")},
        {QStringLiteral("ёéₐ"), QStringLiteral("«é» (U+00E9)")},
        {QStringLiteral("a😀b"), QStringLiteral("«😀» (U+1F600)")},
        {QStringLiteral("x") + QChar(0xD800), QStringLiteral("(U+D800)")},
        {QStringLiteral("Ａ"), QStringLiteral("«Ａ» (U+FF21)")}, // no silent best fit to "A"
    };
    for (const auto& [text, shown] : cases) {
        const QString message = failureOf([&] { storage::encodeWindows1251(text); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Символ ")) &&
                    message.endsWith(shown + QStringLiteral(" нельзя записать в кодировке Windows-1251")))
            << message.toStdString();
    }
    EXPECT_FALSE(storage::findUnencodable(QStringLiteral("Щёлочь № 5 — 10 €")).has_value());
}

} // namespace
