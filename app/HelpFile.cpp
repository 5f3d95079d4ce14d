#include "app/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString helpIndexPath() {
    const QString relative = QStringLiteral("help/index.html");
    const QString besideCurrent = QDir::current().absoluteFilePath(relative);
    if (QFileInfo::exists(besideCurrent))
        return besideCurrent;
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(relative);
}

QString helpMissingMessage(const QString& path) {
    return QStringLiteral("Файл справки не найден: %1").arg(QDir::toNativeSeparators(path));
}

QString helpNotOpenedMessage(const QString& path) {
    return QStringLiteral("Не удалось открыть справку в браузере. Откройте этот файл вручную: %1")
        .arg(QDir::toNativeSeparators(path));
}

bool openWithDesktop(const QUrl& url, std::function<void()> onFailure) {
    // QDesktopServices only tells whether xdg-open could be started, not whether it found a
    // browser; its exit code does. The opener is left without a parent: with some desktops it
    // waits for the browser, and it must neither hold up nor be killed with the program.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, onFailure = std::move(onFailure)](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             onFailure();
                         opener->deleteLater();
                     });
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    return true;
}
