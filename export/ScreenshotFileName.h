#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

namespace exporting {

// The name of a new screenshot: <data root>/Saves/Screenshots/<prefix><date>_<time>.bmp, the
// date in the locale's short format and the time in its long format without the time zone, its
// parts joined by "." (Screenshot07.12.2026_02.48.39.bmp under a Russian locale). A "/" in the
// date becomes ".", as a file name may not hold it. When a file of that name is there already (a
// second picture in the same second), the name gets " (2)", " (3)" ... before its extension, so
// that no picture replaces another. The folder is never created here: it belongs to the data
// root (storage/DataRoot.h).
QString ScreenshotFileName(const QString& prefix);

// The name before that check, for a given root folder, moment and locale.
QString ScreenshotFileName(const QString& prefix, const QString& rootFolder, const QDateTime& when,
                           const QLocale& locale);

// The path itself when nothing is there, otherwise the first of "<stem> (2)<extension>",
// "<stem> (3)<extension>" ... that is free.
QString firstFreeFileName(const QString& path);

// Where the screenshot folder lies and what time it is; tests replace them. An empty folder
// means the data root of the run, an empty clock the current time.
void setScreenshotProgramFolder(const QString& folder);
void setScreenshotClock(std::function<QDateTime()> clock);

// The folder the screenshots go to.
QString screenshotFolder();

} // namespace exporting
