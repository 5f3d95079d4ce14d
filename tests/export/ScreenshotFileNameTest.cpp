#include "export/ScreenshotFileName.h"

#include <gtest/gtest.h>

namespace {

using exporting::ScreenshotFileName;

const QDateTime kMoment(QDate(2026, 12, 7), QTime(2, 48, 39));

TEST(ScreenshotFileName, DateAndTimeOfTheLocaleWithDotsAndNoTimeZone) {
    const struct {
        const char* locale;
        const char* prefix;
        const char* name;
    } cases[] = {
        {"ru_RU", "Screenshot", "/opt/veltrona/Saves/Screenshots/Screenshot07.12.2026_02.48.39.bmp"},
        {"ru_RU", "Calcul", "/opt/veltrona/Saves/Screenshots/Calcul07.12.2026_02.48.39.bmp"},
        {"C", "Screenshot", "/opt/veltrona/Saves/Screenshots/Screenshot7 Dec 2026_02.48.39.bmp"},
        // The American short date holds "/", which no file name may hold.
        {"en_US", "Screenshot", "/opt/veltrona/Saves/Screenshots/Screenshot12.7.26_2.48.39 AM.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScreenshotFileName(QString::fromLatin1(c.prefix), QStringLiteral("/opt/veltrona"), kMoment,
                                     QLocale(QString::fromLatin1(c.locale))),
                  QString::fromUtf8(c.name))
            << c.locale;
    }
    // A folder given with its trailing separator gets no second one.
    EXPECT_EQ(ScreenshotFileName(QStringLiteral("Calcul"), QStringLiteral("/opt/veltrona/"), kMoment,
                                 QLocale(QStringLiteral("ru_RU"))),
              QStringLiteral("/opt/veltrona/Saves/Screenshots/Calcul07.12.2026_02.48.39.bmp"));
}

TEST(ScreenshotFileName, TheProgramFolderAndTheClockCanBeReplaced) {
    exporting::setScreenshotProgramFolder(QStringLiteral("/srv/glass"));
    exporting::setScreenshotClock([] { return kMoment; });
    const QString expected =
        ScreenshotFileName(QStringLiteral("Screenshot"), QStringLiteral("/srv/glass"), kMoment, QLocale());
    EXPECT_EQ(ScreenshotFileName(QStringLiteral("Screenshot")), expected);
    EXPECT_EQ(exporting::screenshotFolder(), QStringLiteral("/srv/glass/Saves/Screenshots"));
    exporting::setScreenshotProgramFolder({});
    exporting::setScreenshotClock({});
    EXPECT_NE(ScreenshotFileName(QStringLiteral("Screenshot")), expected);
}

} // namespace
