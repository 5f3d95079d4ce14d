// The profile reader and writer against arbitrary file contents and writes: whatever is written
// under a plain section and key reads back, writes never disturb what was written before, the
// text kept in memory is the text the bytes read as, and a refused write changes nothing.
#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "storage/ProfileText.h"
#include "storage/Windows1251.h"

#include <QMap>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Plain names: no blanks around them, no brackets, no "=", so that they are found again as
// written (in any case).
QString plainName(FuzzedDataProvider& input) {
    static const char alphabet[] = "abcdefABCDEF019_";
    QString name;
    const int length = input.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < length; ++i)
        name += QLatin1Char(alphabet[input.ConsumeIntegralInRange<size_t>(0, sizeof alphabet - 2)]);
    return name;
}

// The value as a read gives it back: blanks around it removed, then one pair of quotes.
QString asRead(const QString& value) {
    QString read = value.trimmed();
    if (read.size() >= 2 && (read.front() == u'"' || read.front() == u'\'') && read.back() == read.front())
        read = read.sliced(1, read.size() - 2);
    return read;
}

} // namespace

// Once: a write takes exactly the characters that the Windows-1251 encoding holds (every unit
// of UTF-16, alone), and each reads back as itself.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    storage::ProfileText profile;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const QChar character(static_cast<char16_t>(unit));
        const QString value = QStringLiteral("<") + character + u'>';
        if (character == u'\n' || character == u'\r')
            continue;
        bool written = false;
        try {
            written = profile.writeString(u"s", u"k", value);
        } catch (const batch::Failure&) {
        }
        fuzzCheck(written == storage::tryEncodeWindows1251(value).has_value(),
                  "a write takes other characters than the encoding");
        fuzzCheck(!written || profile.readString(u"s", u"k", QString()) == value,
                  "a character reads back otherwise");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string file = input.ConsumeRandomLengthString(4096);
    storage::ProfileText profile(QByteArray(file.data(), qsizetype(file.size())));
    const bool signature = profile.bytes().startsWith("\xEF\xBB\xBF");
    QMap<QPair<QString, QString>, QString> written; // lower-case section and key -> value
    const QString missing = QStringLiteral("\x01missing");

    while (input.remaining_bytes() > 0) {
        const QString section = plainName(input), key = plainName(input);
        const std::string raw = input.ConsumeRandomLengthString(64);
        // Mostly Windows-1251 text, sometimes a character it cannot hold or a line break.
        QString value = QString::fromLatin1(raw.data(), qsizetype(raw.size()));
        if (input.ConsumeBool())
            value = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
        const QByteArray before = profile.bytes();
        bool accepted = false;
        try {
            accepted = profile.writeString(section, key, value);
        } catch (const batch::Failure& failure) {
            // The names are plain, so the value holds the character that the encoding names.
            QString refusal;
            try {
                (void)storage::encodeWindows1251(value);
            } catch (const batch::Failure& encoding) {
                refusal = encoding.message();
            }
            fuzzCheck(failure.message() == refusal,
                      "a write was refused otherwise than the encoding refuses it");
            fuzzCheck(profile.bytes() == before, "a refused write changed the profile");
            continue;
        }
        if (!accepted) {
            fuzzCheck(value.contains(u'\n') || value.contains(u'\r'), "a plain entry was refused");
            fuzzCheck(profile.bytes() == before, "a refused write changed the profile");
            continue;
        }
        written[{section.toLower(), key.toLower()}] = value;
        fuzzCheck(profile.readString(section, key, missing) == asRead(value),
                  "a written entry does not read back");
        fuzzCheck(profile.bytes().startsWith("\xEF\xBB\xBF") == signature, "the byte-order mark changed");
    }

    // Every entry once, after all the writes: a write that disturbed an earlier entry shows here.
    // (Checking every entry after every write grew with the square of the writes and took four
    // fifths of the run time, without finding more.)
    const storage::ProfileText reread(profile.bytes());
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const QString expected = asRead(it.value());
        fuzzCheck(profile.readString(it.key().first, it.key().second, missing) == expected,
                  "a written entry does not read back");
        fuzzCheck(reread.readString(it.key().first.toUpper(), it.key().second.toUpper(), missing) == expected,
                  "the bytes read otherwise than the profile in memory");
    }
    return 0;
}
