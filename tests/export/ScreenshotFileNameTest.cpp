#include "export/ScreenshotFileName.h"

#include <gtest/gtest.h>

namespace {

using exporting::ScreenshotFileName;

TEST(ScreenshotFileName, DateAndTimeOfTheLocaleWithDotsAndNoTimeZone) {
    const QDateTime moment(QDate(2026, 12, 7), QTime(2, 48, 39));
    const std::pair<const char*, const char*> cases[] = {
        {"ru_RU", "/opt/v/Saves/Screenshots/Calcul07.12.2026_02.48.39.bmp"},
        {"C", "/opt/v/Saves/Screenshots/Calcul7 Dec 2026_02.48.39.bmp"},
        // The American short date holds "/", which no file name may hold.
        {"en_US", "/opt/v/Saves/Screenshots/Calcul12.7.26_2.48.39 AM.bmp"},
    };
    for (const auto& [locale, name] : cases)
        EXPECT_EQ(ScreenshotFileName("Calcul", "/opt/v/", moment, QLocale(locale)), name) << locale;

    // The program folder and the clock stand in for the executable's folder and the time of day.
    exporting::setScreenshotProgramFolder("/opt/v");
    exporting::setScreenshotClock([moment] { return moment; });
    EXPECT_EQ(ScreenshotFileName("Calcul"), ScreenshotFileName("Calcul", "/opt/v", moment, QLocale()));
    exporting::setScreenshotProgramFolder({});
    exporting::setScreenshotClock({});
}

} // namespace
