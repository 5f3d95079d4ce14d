#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace storage {

// The contents of a profile (INI) file in memory, with the Windows profile semantics: "[Section]"
// lines open sections; "key=value" lines below them are entries. Section names and keys match
// without regard to case, and the first match wins. Lines that are neither (comments, blank
// lines, anything else) are kept byte for byte, and so is a UTF-8 byte-order mark at the start,
// which is not part of the first line. Text is Windows-1251, new lines end in CR LF.
class ProfileText {
public:
    explicit ProfileText(QByteArray bytes = {});

    const QByteArray& bytes() const { return bytes_; }

    // The value with the blanks around it removed (and one pair of surrounding quotes), or the
    // default when the section or the key is missing.
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; the default when the value is missing,
    // empty or not a whole number in signed 32 bits.
    int readInteger(QStringView section, QStringView key, int defaultValue) const;

    // Replaces the key's line or adds it to the section (creating the section); keeps every other
    // line byte for byte. Returns false, changing nothing, when the entry cannot be written as one
    // line (a line break anywhere, or "=" in the key). Throws batch::Failure naming a character
    // that Windows-1251 cannot hold.
    bool writeString(QStringView section, QStringView key, QStringView value);

private:
    struct Line {
        qsizetype start;     // offset of the line's first character
        qsizetype length;    // without the line end
        qsizetype endLength; // 0 only for a last line that has no line end
    };
    struct Place {
        std::optional<size_t> section; // the section's header line
        std::optional<size_t> entry;   // the key's line in that section
        size_t lastContent = 0;        // the section's last line that is not blank
    };

    Place find(QStringView section, QStringView key) const;
    QString contentOf(size_t i) const;
    bool isSectionLine(size_t i) const;
    void splitLines();
    // Puts a new line at index i (lines from i on move down by one) and moves the starts of the
    // lines after it by `shift`.
    void insertLine(size_t i, Line line, qsizetype shift);
    // Replaces bytes with the given ones.
    void splice(qsizetype at, qsizetype removed, const QByteArray& inserted);

    // Windows-1251 has one byte per character, so a line's bytes are its characters and a write
    // splices the bytes of one line without touching any other.
    QByteArray bytes_;
    std::vector<Line> lines_;
    // The section lines, in order: a lookup walks these and the lines of one section only, so
    // that a file of millions of other lines costs one pass when it is read, not one per key.
    std::vector<size_t> sectionLines_;
};

} // namespace storage
