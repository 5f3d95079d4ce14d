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

void throwIoError(int errorCode, const QString& path) {
    throw batch::Failure(ioErrorMessage(errorCode, path));
}

} // namespace storage
