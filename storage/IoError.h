#pragma once

#include <QString>

namespace storage {

// The messages a file command shows when the file layer fails. They are shown as they stand,
// in English, and other parts of the program compare against them.
inline const QString kFileNotFound = QStringLiteral("File not found");
inline const QString kInvalidFilename = QStringLiteral("Invalid filename");
inline const QString kTooManyOpenFiles = QStringLiteral("Too many open files");
inline const QString kFileAccessDenied = QStringLiteral("File access denied");
inline const QString kReadBeyondEndOfFile = QStringLiteral("Read beyond end of file");
inline const QString kDiskFull = QStringLiteral("Disk full");
inline const QString kInvalidNumericInput = QStringLiteral("Invalid numeric input");

// The message for an errno value. ENOENT is "File not found" here; when the path is known,
// prefer the overload below, which tells a missing file from a missing folder.
QString ioErrorMessage(int errorCode);
// ENOENT becomes "Invalid filename" when the folder of the path does not exist either.
QString ioErrorMessage(int errorCode, const QString& path);

// The message for a file refused for its size before anything of it was read.
QString fileTooLargeMessage(const QString& path, qint64 size, qint64 maxBytes);

// Throws batch::Failure with the message for the errno value and the path.
[[noreturn]] void throwIoError(int errorCode, const QString& path);

} // namespace storage
