#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

namespace exporting {

// The name of a new screenshot: <program folder>/Saves/Screenshots/<prefix><date>_<time>.bmp,
// the date in the locale's short format and the time in its long format without the time zone,
// its parts joined by "." (Screenshot07.12.2026_02.48.39.bmp under a Russian locale). A "/" in
// the date becomes ".", as a file name may not hold it. The folder is never created here: it
// belongs to the installation.
QString ScreenshotFileName(const QString& prefix);

// The same name for a given program folder, moment and locale.
QString ScreenshotFileName(const QString& prefix, const QString& programFolder, const QDateTime& when,
                           const QLocale& locale);

// Where the screenshot folder lies and what time it is; tests replace them. An empty folder
// means the folder of the executable, an empty clock the current time.
void setScreenshotProgramFolder(const QString& folder);
void setScreenshotClock(std::function<QDateTime()> clock);

// The folder the screenshots go to.
QString screenshotFolder();

} // namespace exporting
