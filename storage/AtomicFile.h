#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace storage {

// Writes the bytes to a new file in the folder of the path, flushes it to the disk and renames
// it over the path, so that the old file stays whole until the new one is complete. Returns 0,
// or the errno of the first failure, after which the old file is untouched and the temporary
// file is gone. A path that names a device or a pipe is written directly: there is nothing to
// replace there, and renaming over it would remove it.
int replaceFileAtomically(const QString& path, QByteArrayView bytes);

enum class ReadStatus { Read, NotOpened, Failed };

// Reads the whole file. NotOpened: it could not be opened (a folder counts as such);
// Failed: reading failed after it was opened. errorCode is the errno in both cases.
ReadStatus readWholeFile(const QString& path, QByteArray& bytes, int& errorCode);

} // namespace storage
