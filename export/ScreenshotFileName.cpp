#include "export/ScreenshotFileName.h"

#include "storage/DataRoot.h"

#include <QFileInfo>

namespace exporting {

namespace {

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

std::function<QDateTime()>& clockOverride() {
    static std::function<QDateTime()> clock;
    return clock;
}

QString programFolder() {
    const QString& folder = programFolderOverride();
    return folder.isEmpty() ? storage::dataRoot() : folder;
}

// The long time format without its time-zone part ("t", "tt", ... outside quoted text) and the
// blanks that stood before it.
QString timeFormatWithoutZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && ch == QLatin1Char('t'))
            continue;
        result += ch;
    }
    return result.trimmed();
}

QString withSuffixSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString ScreenshotFileName(const QString& prefix, const QString& folder, const QDateTime& when,
                           const QLocale& locale) {
    QString date = locale.toString(when.date(), QLocale::ShortFormat);
    date.replace(QLatin1Char('/'), QLatin1Char('.'));
    QString time =
        locale.toString(when.time(), timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
    time.replace(QLatin1Char(':'), QLatin1Char('.'));
    time.replace(QLatin1Char('/'), QLatin1Char('.'));
    return withSuffixSeparator(folder) + QStringLiteral("Saves/Screenshots/") + prefix + date +
           QLatin1Char('_') + time + QStringLiteral(".bmp");
}

QString firstFreeFileName(const QString& path) {
    const auto taken = [](const QString& candidate) {
        const QFileInfo info(candidate);
        return info.exists() || info.isSymLink();
    };
    if (!taken(path))
        return path;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > path.lastIndexOf(QLatin1Char('/'));
    const QString stem = hasExtension ? path.left(dot) : path;
    const QString extension = hasExtension ? path.mid(dot) : QString();
    // Each number tried is a file that is there, so the folder's contents bound the search.
    for (qint64 number = 2;; ++number) {
        const QString candidate = stem + QStringLiteral(" (%1)").arg(number) + extension;
        if (!taken(candidate))
            return candidate;
    }
}

QString ScreenshotFileName(const QString& prefix) {
    const auto& clock = clockOverride();
    return firstFreeFileName(ScreenshotFileName(prefix, programFolder(),
                                                clock ? clock() : QDateTime::currentDateTime(), QLocale()));
}

void setScreenshotProgramFolder(const QString& folder) {
    programFolderOverride() = folder;
}

void setScreenshotClock(std::function<QDateTime()> clock) {
    clockOverride() = std::move(clock);
}

QString screenshotFolder() {
    return withSuffixSeparator(programFolder()) + QStringLiteral("Saves/Screenshots");
}

} // namespace exporting
