#include "export/PictureFile.h"
#include "FailureOf.h"
#include "export/JpegImage.h"
#include "storage/StorageTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace exporting;
using storage_test::entriesOf;
using storage_test::Immutable;
using storage_test::readBytes;

// A picture with a different colour in each quarter, so that a flipped or shifted picture shows.
QImage quarters() {
    QImage picture(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             x < 20 ? (y < 15 ? qRgb(200, 0, 0) : qRgb(0, 160, 0))
                                    : (y < 15 ? qRgb(0, 0, 220) : qRgb(250, 250, 250)));
    return picture;
}

quint16 littleEndian16(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) | static_cast<quint8>(bytes[at + 1]) << 8);
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class PictureFileTest : public ::testing::Test {
protected:
    QString pathOf(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    QTemporaryDir folder;
};

TEST_F(PictureFileTest, BmpHas24BitsPerPixelAndJpegKeepsTheColours) {
    const QImage picture = quarters();
    writeBmp(picture, pathOf("table.bmp"));
    const QByteArray bmp = readBytes(pathOf("table.bmp"));
    ASSERT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(littleEndian16(bmp, 28), 24);
    EXPECT_EQ(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    writeJpeg(picture, pathOf("table.jpeg"));
    const QImage decoded = decodeJpeg(readBytes(pathOf("table.jpeg")));
    ASSERT_EQ(decoded.size(), picture.size());
    for (const QPoint at : {QPoint(5, 5), QPoint(5, 25), QPoint(35, 5), QPoint(35, 25)})
        EXPECT_TRUE(near(decoded.pixel(at), picture.pixel(at), 12)) << at.x() << "," << at.y();
    // Only the two pictures remain: no temporary file is left behind.
    EXPECT_EQ(entriesOf(folder.path()), QStringList({"table.bmp", "table.jpeg"}));
}

TEST_F(PictureFileTest, FailedWritesShowTheFileMessageAndKeepTheOldPicture) {
    const QString kept = pathOf("kept.bmp");
    storage_test::writeBytes(kept, "old picture");
    Immutable guard(kept);
    ASSERT_TRUE(guard.active()) << "the file system takes no immutable attribute";
    const std::pair<QString, const char*> cases[] = {
        {pathOf("Saves/Screenshots/a.bmp"), "Invalid filename"},
        {kept, "File access denied"},
        {"/dev/full", "Disk full"},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(failureOf([&] { writeBmp(quarters(), path); }), message) << path.toStdString();
        EXPECT_EQ(failureOf([&] { writeJpeg(quarters(), path); }), message) << path.toStdString();
    }
    EXPECT_EQ(readBytes(kept), "old picture");
    EXPECT_EQ(failureOf([&] { writeBmp(QImage(), pathOf("empty.bmp")); }), "Out of memory");
}

} // namespace
