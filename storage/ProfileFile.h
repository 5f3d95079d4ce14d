#pragma once

#include "storage/ProfileText.h"

#include <QList>
#include <QPair>
#include <QString>

namespace storage {

// The settings file on disk, with the Windows profile semantics of ProfileText. The program reads
// it once at start (read()) and writes it once at close (writeStrings()); the one-key calls read
// or write the whole file each time.
class ProfileFile {
public:
    explicit ProfileFile(QString path); // touches no file
    const QString& path() const { return path_; }

    // Larger files are not read: their settings are not the program's.
    static constexpr qint64 kMaxBytes = qint64(256) << 20;

    // The whole file. A missing or unreadable file, and anything that is not a regular file
    // (a pipe, a device), read as an empty profile. Throws batch::Failure with a message naming
    // the size for a file above kMaxBytes.
    ProfileText read() const;

    // The value, or the default when the file, the section or the key is missing or the file
    // cannot be read (see ProfileText).
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Sets the entries of one section in order, each as ProfileText::writeString does, and
    // replaces the file once, atomically where a temporary file can be made beside it and in
    // place otherwise. Throws batch::Failure("Unable to write to <full path>") on any failure
    // (a file that exists but cannot be read, or is too large, included), with the file as it was.
    void writeStrings(const QString& section, const QList<QPair<QString, QString>>& entries);
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

private:
    QString path_;
};

} // namespace storage
