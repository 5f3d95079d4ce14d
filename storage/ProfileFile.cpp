#include "storage/ProfileFile.h"

#include "batch/Failure.h"
#include "storage/AtomicFile.h"
#include "storage/IoError.h"

#include <QFileInfo>
#include <cerrno>

namespace storage {

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

ProfileText ProfileFile::read() const {
    QByteArray bytes;
    int error = 0;
    qint64 size = 0;
    switch (readWholeFile(path_, bytes, error, kMaxBytes, &size)) {
    case ReadStatus::Read:
        return ProfileText(std::move(bytes));
    case ReadStatus::TooLarge:
        throw batch::Failure(fileTooLargeMessage(path_, size, kMaxBytes));
    case ReadStatus::NotOpened:
    case ReadStatus::Failed:
        break;
    }
    return ProfileText();
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    return read().readString(section, key, defaultValue);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    return read().readInteger(section, key, defaultValue);
}

void ProfileFile::writeStrings(const QString& section, const QList<QPair<QString, QString>>& entries) {
    const batch::Failure unableToWrite(
        QStringLiteral("Unable to write to %1").arg(QFileInfo(path_).absoluteFilePath()));
    QByteArray bytes;
    int error = 0;
    const ReadStatus status = readWholeFile(path_, bytes, error, kMaxBytes);
    // Only a file that is not there may be started afresh; one we cannot read must not be lost.
    if (status == ReadStatus::Failed || status == ReadStatus::TooLarge ||
        (status == ReadStatus::NotOpened && error != ENOENT))
        throw unableToWrite;
    ProfileText profile(std::move(bytes));
    for (const auto& [key, value] : entries)
        if (!profile.writeString(section, key, value))
            throw unableToWrite;
    if (replaceFileAtomically(path_, profile.bytes()) != 0)
        throw unableToWrite;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    writeStrings(section, {{key, value}});
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

} // namespace storage
