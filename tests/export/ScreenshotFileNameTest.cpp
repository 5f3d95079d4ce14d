#include "export/ScreenshotFileName.h"
#include "storage/DataRoot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

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

    // The program folder and the clock stand in for the data root and the time of day.
    exporting::setScreenshotProgramFolder("/opt/v");
    exporting::setScreenshotClock([moment] { return moment; });
    EXPECT_EQ(ScreenshotFileName("Calcul"), ScreenshotFileName("Calcul", "/opt/v", moment, QLocale()));
    exporting::setScreenshotProgramFolder({});
    // Without them, the screenshots go under the data root chosen at start.
    storage::setDataRoot("/home/u/.local/share/veltrona");
    EXPECT_EQ(ScreenshotFileName("Calcul"),
              ScreenshotFileName("Calcul", "/home/u/.local/share/veltrona", moment, QLocale()));
    storage::setDataRoot({});
    exporting::setScreenshotClock({});
}

TEST(ScreenshotFileName, ATakenNameGetsTheFirstFreeNumberBeforeItsExtension) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Saves/Screenshots"));
    const QDateTime moment(QDate(2026, 12, 7), QTime(2, 48, 39));
    exporting::setScreenshotProgramFolder(root.path());
    exporting::setScreenshotClock([moment] { return moment; });
    const QString base = ScreenshotFileName("Screenshot", root.path(), moment, QLocale());
    const QString stem = base.chopped(4); // the date's dots stay, only ".bmp" moves
    const auto take = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };

    QStringList names;
    for (int i = 0; i < 3; ++i) {
        names << ScreenshotFileName("Screenshot");
        ASSERT_TRUE(take(names.last()));
    }
    EXPECT_EQ(names, (QStringList{base, stem + " (2).bmp", stem + " (3).bmp"}));
    // A freed number is used again; a folder or a link to nothing holds its name like a file.
    ASSERT_TRUE(QFile::remove(stem + " (2).bmp"));
    EXPECT_EQ(ScreenshotFileName("Screenshot"), stem + " (2).bmp");
    ASSERT_TRUE(QDir().mkdir(stem + " (2).bmp"));
    ASSERT_EQ(::symlink("/nowhere", QFile::encodeName(stem + " (4).bmp").constData()), 0);
    EXPECT_EQ(ScreenshotFileName("Screenshot"), stem + " (5).bmp");
    // Another prefix or second is a name of its own.
    EXPECT_EQ(ScreenshotFileName("Calcul"), ScreenshotFileName("Calcul", root.path(), moment, QLocale()));
    exporting::setScreenshotProgramFolder({});
    exporting::setScreenshotClock({});

    // A name without an extension gets the number at its end, whatever dots its folder has.
    ASSERT_TRUE(QDir(root.path()).mkpath("a.b"));
    ASSERT_TRUE(take(root.filePath("a.b/picture")));
    EXPECT_EQ(exporting::firstFreeFileName(root.filePath("a.b/picture")), root.filePath("a.b/picture (2)"));
    EXPECT_EQ(exporting::firstFreeFileName(root.filePath("no/folder/x.bmp")),
              root.filePath("no/folder/x.bmp"));
}

} // namespace
