#pragma once

// Helpers shared by the storage tests: raw file access and a real obstacle (an immutable file)
// that a test sets up itself, since running as root gets past ordinary file permissions.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringEncoder>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace storage_test {

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Windows-1251 by Qt's own converter, so that the expected bytes of a test do not come from the
// encoder under test.
inline QByteArray cp1251(const QString& text) {
    return QStringEncoder("windows-1251")(text);
}

// Sets the immutable attribute, which stops even root from writing, replacing or renaming the
// file or adding to the folder; cleared again on destruction so that the folder can go.
class Immutable {
public:
    explicit Immutable(const QString& path) : path_(QFile::encodeName(path)), active_(set(true)) {}
    ~Immutable() {
        if (active_)
            set(false);
    }
    Immutable(const Immutable&) = delete;
    bool active() const { return active_; }

private:
    bool set(bool on) const {
        const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }
    QByteArray path_;
    bool active_;
};

} // namespace storage_test
