#include "storage/AtomicFile.h"
#include "storage/IoError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

// What a file that is not a regular one gives: a pipe would wait for a reader or a writer for
// ever, and a device or a socket is no file of the program. Such a path is refused as a file that
// may not be written or read; a folder keeps its own EISDIR.
int notRegularFileError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : EACCES;
}

int writeAll(int fd, QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // A write that takes nothing although bytes remain is how a full disk shows up.
        if (written == 0)
            return ENOSPC;
        data += written;
        left -= written;
    }
    return 0;
}

int writeAllAt(int fd, QByteArrayView bytes) {
    return ::lseek(fd, 0, SEEK_SET) < 0 ? errno : writeAll(fd, bytes);
}

// Overwrites a regular file where it stands. The old contents are read first and written back
// when the new ones do not fit, so that a full disk costs no byte of the old file. The file is
// opened without waiting and checked again, should a pipe have taken its place meanwhile.
int overwriteInPlace(const QByteArray& target, QByteArrayView bytes) {
    const int fd = ::open(target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat opened {};
    const int statError = ::fstat(fd, &opened) != 0 ? errno : 0;
    if (statError != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return statError != 0 ? statError : notRegularFileError(opened.st_mode);
    }
    QByteArray old;
    char buffer[65536];
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0)
            break;
        old.append(buffer, got);
    }
    if (error == 0)
        error = writeAllAt(fd, bytes);
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0 && writeAllAt(fd, old) == 0) {
        (void)::ftruncate(fd, static_cast<off_t>(old.size()));
        (void)::fsync(fd);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// The file name of the temporary file: hidden, beside the target, short enough for any
// target name to leave room for the random part.
QByteArray temporaryName(const QByteArray& folder, const QByteArray& name) {
    const quint64 random = QRandomGenerator::global()->generate64();
    return folder + "/." + name.left(200) + '.' + QByteArray::number(random, 36) + ".tmp";
}

} // namespace

int replaceFileAtomically(const QString& path, QByteArrayView bytes) {
    QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        info = QFileInfo(info.canonicalFilePath());
    const QByteArray name = QFile::encodeName(info.fileName());
    if (name.isEmpty())
        return EINVAL;
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray target = folder + '/' + name;

    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode))
            return notRegularFileError(existing.st_mode);
        // Renaming would get past a file that may not be written; the user asked for that file.
        if (::access(target.constData(), W_OK) != 0)
            return errno;
    }

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(folder, name);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            // The folder takes no new file, but the file itself may still be written.
            if (exists && (errno == EACCES || errno == EPERM))
                return overwriteInPlace(target, bytes);
            return errno;
        }
    }
    if (fd < 0)
        return EEXIST;

    if (exists) {
        // The replacement keeps the old file's permissions and, where we may, its owner.
        (void)::fchmod(fd, existing.st_mode & 07777);
        (void)::fchown(fd, existing.st_uid, existing.st_gid);
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    // Make the rename itself durable; a folder that cannot be synced does not undo the save.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
    return 0;
}

ReadStatus readWholeFile(const QString& path, QByteArray& bytes, int& errorCode, qint64 maxBytes,
                         qint64* fileSize) {
    errorCode = 0;
    if (fileSize)
        *fileSize = 0;
    const QByteArray name = QFile::encodeName(path);
    // A device is not even opened: opening one may already do something (a tape rewinds).
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        errorCode = notRegularFileError(st.st_mode);
        return ReadStatus::NotOpened;
    }
    // Without O_NONBLOCK, opening a pipe that nobody writes to would wait for ever, should one
    // take the place of the file after the check above.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        errorCode = errno;
        return ReadStatus::NotOpened;
    }
    if (::fstat(fd, &st) != 0) {
        errorCode = errno;
        ::close(fd);
        return ReadStatus::NotOpened;
    }
    if (!S_ISREG(st.st_mode)) {
        errorCode = notRegularFileError(st.st_mode);
        ::close(fd);
        return ReadStatus::NotOpened;
    }
    if (fileSize)
        *fileSize = st.st_size;
    if (st.st_size > maxBytes) {
        errorCode = EFBIG;
        ::close(fd);
        return ReadStatus::TooLarge;
    }
    QByteArray data;
    if (st.st_size > 0)
        data.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            errorCode = errno;
            ::close(fd);
            return ReadStatus::Failed;
        }
        if (got == 0)
            break;
        // A file that grows while it is read (or that reports no size) stops at the bound too.
        if (data.size() + got > maxBytes) {
            errorCode = EFBIG;
            ::close(fd);
            return ReadStatus::TooLarge;
        }
        data.append(buffer, got);
    }
    ::close(fd);
    bytes = std::move(data);
    return ReadStatus::Read;
}

bool FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

FileStamp fileStamp(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

void replaceFileOrFail(const QString& path, QByteArrayView bytes) {
    if (const int error = replaceFileAtomically(path, bytes))
        throwIoError(error, path);
}

} // namespace storage
