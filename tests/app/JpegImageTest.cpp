#include "app/JpegImage.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QByteArray aboutPicture() {
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TEST(JpegImage, DecodesTheAboutPictureAtItsFullSize) {
    const QByteArray data = aboutPicture();
    ASSERT_FALSE(data.isEmpty()) << "the About picture is missing from the resources";
    const QImage image = decodeJpeg(data);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(800, 600));

    // Broken glass in blue tones: blue outweighs red over the part the window shows.
    long long red = 0;
    long long blue = 0;
    for (int y = 0; y < 313; y += 7)
        for (int x = 0; x < 340; x += 7) {
            red += qRed(image.pixel(x, y));
            blue += qBlue(image.pixel(x, y));
        }
    EXPECT_GT(blue, 2 * red);
}

struct Damage {
    const char* what;
    QByteArray (*make)(const QByteArray& good);
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.what;
}

class DamagedJpeg : public ::testing::TestWithParam<Damage> {};

// Each of these must come back as a null image; an abort or exit would end the test program.
TEST_P(DamagedJpeg, GivesANullImage) {
    const QByteArray good = aboutPicture();
    ASSERT_FALSE(good.isEmpty());
    const QByteArray bad = GetParam().make(good);
    EXPECT_TRUE(decodeJpeg(bad).isNull()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    JpegImage, DamagedJpeg,
    ::testing::Values(Damage{"empty", [](const QByteArray&) { return QByteArray(); }},
                      Damage{"not a JPEG at all", [](const QByteArray&) { return QByteArray(5000, 'x'); }},
                      Damage{"start marker only", [](const QByteArray& g) { return g.left(2); }},
                      Damage{"cut inside the header", [](const QByteArray& g) { return g.left(300); }},
                      Damage{"cut half-way through the picture",
                             [](const QByteArray& g) { return g.left(g.size() / 2); }},
                      Damage{"frame header overwritten",
                             [](const QByteArray& g) {
                                 QByteArray d = g;
                                 const qsizetype sof = d.indexOf("\xFF\xC0");
                                 if (sof >= 0)
                                     d.replace(sof + 2, 8, QByteArray(8, '\xFF'));
                                 return d;
                             }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::to_string(info.index); });

TEST(JpegImage, EncodedPictureDecodesToTheSameSizeAndColours) {
    // Blocks of 16 pixels keep each colour away from the chroma subsampling at block edges.
    const QColor colours[] = {QColor(200, 30, 30),   QColor(30, 160, 40), QColor(20, 40, 210),
                              QColor(240, 240, 240), QColor(10, 10, 10),  QColor(230, 200, 40)};
    QImage source(3 * 32 + 5, 2 * 32 + 3, QImage::Format_ARGB32);
    source.fill(Qt::white);
    for (int i = 0; i < 6; ++i)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                source.setPixelColor((i % 3) * 32 + x, (i / 3) * 32 + y, colours[i]);

    const QByteArray encoded = encodeJpeg(source, 90);
    ASSERT_GE(encoded.size(), 4);
    EXPECT_TRUE(encoded.startsWith("\xFF\xD8"));
    EXPECT_TRUE(encoded.endsWith("\xFF\xD9"));

    const QImage decoded = decodeJpeg(encoded);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), source.size());
    for (int i = 0; i < 6; ++i) {
        const QColor got = decoded.pixelColor((i % 3) * 32 + 16, (i / 3) * 32 + 16);
        EXPECT_LE(std::abs(got.red() - colours[i].red()), 10) << "block " << i;
        EXPECT_LE(std::abs(got.green() - colours[i].green()), 10) << "block " << i;
        EXPECT_LE(std::abs(got.blue() - colours[i].blue()), 10) << "block " << i;
    }
}

TEST(JpegImage, LowerQualityGivesASmallerFile) {
    const QImage picture = decodeJpeg(aboutPicture());
    ASSERT_FALSE(picture.isNull());
    EXPECT_LT(encodeJpeg(picture, 20).size(), encodeJpeg(picture, 95).size());
}

TEST(JpegImage, NothingToEncodeGivesNoBytes) {
    EXPECT_TRUE(encodeJpeg(QImage()).isEmpty());
}

} // namespace
