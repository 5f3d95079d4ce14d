#pragma once

#include <QString>

namespace storage {

// Windows profile (INI) semantics on one file; every read and write goes to the file at once.
// "[Section]" lines open sections; "key=value" lines below them are entries. Section names and
// keys match without regard to case, and the first match wins. Lines that are neither (comments,
// blank lines, anything else) are kept exactly as they are. Text is Windows-1251, lines end in CR LF.
class ProfileFile {
public:
    explicit ProfileFile(QString path); // touches no file
    const QString& path() const { return path_; }

    // The value with the blanks around it removed (and one pair of surrounding quotes), or the
    // default when the file, the section or the key is missing or the file cannot be read.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; the default when the value is missing,
    // empty or not a whole number in signed 32 bits.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Replaces the key's line or adds it to the section (creating section and file); keeps every
    // other line byte for byte. Throws batch::Failure("Unable to write to <full path>") on failure,
    // with the file as it was. The file is replaced atomically.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

private:
    QString path_;
};

} // namespace storage
