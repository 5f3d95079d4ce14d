#include "storage/DataRoot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace storage {

namespace {

// Asked of the kernel for this process, so that a read-only mount, an immutable folder and
// permissions all count; root passes permissions but not the other two.
bool mayWrite(const QString& path, int mode) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0;
}

bool writableFolder(const QString& path) {
    return QFileInfo(path).isDir() && mayWrite(path, W_OK | X_OK);
}

bool writableFile(const QString& path) {
    return QFileInfo(path).isFile() && mayWrite(path, W_OK);
}

QString& chosenRoot() {
    static QString root;
    return root;
}

// A copy that is complete or absent, and never replaces a file that is there: QFile::copy writes
// a temporary file and gives it the name only if the name is still free.
bool copyIfMissing(const QFileInfo& shipped, const QString& target) {
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink())
        return false;
    if (!QFile::copy(shipped.absoluteFilePath(), target))
        return false;
    // The user's copy is the user's to change, whatever the shipped file's mode.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

} // namespace

QString userDataRoot(const QString& dataHome, const QString& homeFolder) {
    const QString base =
        QDir::isAbsolutePath(dataHome) ? dataHome : homeFolder + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/veltrona"));
}

QString chooseDataRoot(const DataRootPlaces& places) {
    const QString data = places.programFolder + QStringLiteral("/Data");
    if (writableFolder(data) || writableFile(data + QStringLiteral("/Settings.ini")))
        return QDir::cleanPath(places.programFolder);
    return userDataRoot(places.dataHome, places.homeFolder);
}

QStringList prepareUserDataRoot(const QString& root, const QString& shippedData) {
    const QDir dir(root);
    dir.mkpath(QStringLiteral("Saves/Screenshots"));
    if (!dir.mkpath(QStringLiteral("Data")))
        return {};
    QStringList copied;
    // Regular files only (QDir::Files leaves out pipes and devices, which a copy could wait on).
    const QFileInfoList files =
        QDir(shippedData).entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& shipped : files)
        if (shipped.isFile() &&
            copyIfMissing(shipped, dir.filePath(QStringLiteral("Data/") + shipped.fileName())))
            copied << shipped.fileName();
    return copied;
}

void chooseDataRootAtStart() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString root =
        chooseDataRoot({programFolder, qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()});
    if (root != QDir::cleanPath(programFolder))
        prepareUserDataRoot(root, programFolder + QStringLiteral("/Data"));
    setDataRoot(root);
}

QString dataRoot() {
    const QString& root = chosenRoot();
    return root.isEmpty() ? QCoreApplication::applicationDirPath() : root;
}

void setDataRoot(const QString& root) {
    chosenRoot() = root;
}

QString settingsFilePath() {
    return dataRoot() + QStringLiteral("/Data/Settings.ini");
}

QString rawMaterialsFilePath() {
    return dataRoot() + QStringLiteral("/Data/RawMaterials.csv");
}

} // namespace storage
