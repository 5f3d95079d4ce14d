#include "export/JpegImage.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray aboutPicture() {
    QFile file(QStringLiteral(":/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Damaged data must come back as a null image; an abort or exit would end the test program.
TEST(JpegImage, TheAboutPictureDecodesAndDamagedDataGivesANullImage) {
    const QByteArray good = aboutPicture();
    ASSERT_EQ(exporting::decodeJpeg(good).size(), QSize(800, 600));
    QByteArray frameOverwritten = good;
    const qsizetype sof = good.indexOf("\xFF\xC0");
    ASSERT_GE(sof, 0);
    frameOverwritten.replace(sof + 2, 8, QByteArray(8, '\xFF'));
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG at all", QByteArray(5000, 'x')},
        {"cut inside the header", good.left(300)},
        {"cut half-way through the picture", good.left(good.size() / 2)},
        {"frame header overwritten", frameOverwritten},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_TRUE(exporting::decodeJpeg(bytes).isNull()) << what;
}

} // namespace
