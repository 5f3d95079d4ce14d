#pragma once

// Helpers shared by the storage tests: raw file access and the real obstacles (an immutable
// file, a small full disk) that a test sets up itself, since running as root gets past
// ordinary file permissions.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace storage_test {

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Windows-1251 for ASCII and the Russian alphabet, written out by hand so that the expected
// bytes of a test do not come from the encoder under test.
inline QByteArray cp1251(const QString& text) {
    QByteArray bytes;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            bytes += char(u);
        else if (u >= 0x0410 && u <= 0x044F)
            bytes += char(0xC0 + (u - 0x0410));
        else if (u == 0x0401)
            bytes += char(0xA8);
        else if (u == 0x0451)
            bytes += char(0xB8);
        else if (u == 0x2116)
            bytes += char(0xB9);
        else
            bytes += '?';
    }
    return bytes;
}

// Sets the immutable attribute, which stops even root from replacing, renaming or writing the
// file or adding to the folder. Cleared again on destruction so that the folder can go.
class Immutable {
public:
    explicit Immutable(const QString& path) : path_(QFile::encodeName(path)) { active_ = setFlag(true); }
    ~Immutable() {
        if (active_)
            setFlag(false);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool active() const { return active_; }

private:
    bool setFlag(bool on) {
        const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QByteArray path_;
    bool active_ = false;
};

// A tmpfs of a few pages mounted on a folder of its own: a disk that really fills up.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder, int kilobytes) : folder_(QFile::encodeName(folder)) {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }

    // Takes up every byte that is left, with a file of the given name.
    void fill(const QString& path) {
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        while (::write(fd, block.constData(), 1) > 0) {
        }
        ::close(fd);
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

} // namespace storage_test
