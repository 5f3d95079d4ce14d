#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <ctime>
#include <sys/types.h>

namespace storage {

// What tells one version of a file from the next without reading it: whether it is there, which
// file it is (a save by renaming, ours or an office's, makes a new one), its size and the time it
// was last written, to the nanosecond.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const;
};
FileStamp fileStamp(const QString& path);

// Writes the bytes to a new file in the folder of the path, flushes it to the disk and renames
// it over the path, so that the old file stays whole until the new one is complete. Returns 0,
// or the errno of the first failure, after which the old file is untouched and the temporary
// file is gone. Only a regular file is replaced: a path that names a folder gives EISDIR, and one
// that names a pipe, a device or a socket EACCES, without it being opened (a pipe would wait for
// a reader for ever). Where no temporary file can be made in the folder (a read-only folder
// holding a writable file), the file is overwritten in place, and its old contents are put back
// if that fails.
int replaceFileAtomically(const QString& path, QByteArrayView bytes);
// The same, ending the command with the file layer's message for the path when it fails.
void replaceFileOrFail(const QString& path, QByteArrayView bytes);

enum class ReadStatus { Read, NotOpened, Failed, TooLarge };

// Reads the whole file. NotOpened: it could not be opened, or it is not a regular file (a folder
// gives EISDIR; a pipe, a device or a socket EACCES: reading those could wait or go on for ever);
// TooLarge: it holds more than maxBytes, and nothing was read; Failed: reading failed after it
// was opened. errorCode is the errno in each case, and fileSize the size the file has (0 when
// unknown).
ReadStatus readWholeFile(const QString& path, QByteArray& bytes, int& errorCode, qint64 maxBytes,
                         qint64* fileSize = nullptr);

} // namespace storage
