#include "storage/IoError.h"

#include "batch/Failure.h"

#include <QFileInfo>
#include <cerrno>

namespace storage {

QString ioErrorMessage(int errorCode) {
    switch (errorCode) {
    case ENOENT:
        return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return kFileAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    default:
        return QStringLiteral("I/O error %1").arg(errorCode);
    }
}

QString ioErrorMessage(int errorCode, const QString& path) {
    if (errorCode == ENOENT && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return kInvalidFilename;
    return ioErrorMessage(errorCode);
}

QString fileTooLargeMessage(const QString& path, qint64 size, qint64 maxBytes) {
    const auto megabytes = [](qint64 bytes) {
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1).replace(u'.', u',');
    };
    return QStringLiteral("Файл %1 слишком велик (%2 МБ): программа читает файлы не больше %3 МБ. "
                          "Файл не прочитан и не изменён.")
        .arg(QFileInfo(path).absoluteFilePath(), megabytes(size), megabytes(maxBytes));
}

void throwIoError(int errorCode, const QString& path) {
    throw batch::Failure(ioErrorMessage(errorCode, path));
}

} // namespace storage
