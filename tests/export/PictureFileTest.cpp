#include "export/PictureFile.h"
#include "FailureOf.h"
#include "export/JpegImage.h"
#include "storage/StorageTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace exporting;

TEST(PictureFile, WritesReplaceWholeOrFailWithTheFileMessageAndKeepTheOldPicture) {
    QTemporaryDir folder;
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 0, 0));
    const QString kept = folder.filePath("kept.bmp");
    storage_test::writeBytes(kept, "old picture");
    writeBmp(picture, folder.filePath("a.bmp"));
    writeJpeg(picture, folder.filePath("a.bmp")); // replaces it
    const QRgb decoded = decodeJpeg(storage_test::readBytes(folder.filePath("a.bmp"))).pixel(20, 15);
    EXPECT_NEAR(qRed(decoded), 200, 6);
    EXPECT_NEAR(qGreen(decoded) + qBlue(decoded), 0, 6);

    storage_test::Immutable guard(kept);
    ASSERT_TRUE(guard.active()) << "the file system takes no immutable attribute";
    const std::pair<QString, const char*> cases[] = {
        {folder.filePath("Saves/Screenshots/a.bmp"), "Invalid filename"},
        {kept, "File access denied"},
        {"/dev/full", "File access denied"}, // a device is no file to save into
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(failureOf([&] { writeBmp(picture, path); }), message) << path.toStdString();
        EXPECT_EQ(failureOf([&] { writeJpeg(picture, path); }), message) << path.toStdString();
    }
    EXPECT_EQ(storage_test::readBytes(kept), "old picture");
    // No temporary file stays behind.
    EXPECT_EQ(storage_test::entriesOf(folder.path()), QStringList({"a.bmp", "kept.bmp"}));
}

} // namespace
