// Table pictures, the screenshots of both windows and the analysis window, driven through their
// menu items and buttons. The drawing's figures are the analysis core tests' business; here the
// pictures on the screen and on the disk are checked.
#include "MainWindowFixture.h"
#include "analysis/PictureBox.h"
#include "export/JpegImage.h"
#include "export/ScreenshotFileName.h"
#include "export/WindowScreenshot.h"

#include <QTimer>

namespace {

const QString kNoBatch = QStringLiteral("Недостаточно данных для расчета!");
const QDateTime kMoment(QDate(2026, 12, 7), QTime(2, 48, 39));

class PicturesWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
        exporting::setScreenshotProgramFolder(folder.path());
        exporting::setScreenshotClock([] { return kMoment; });
    }
    void TearDown() override {
        exporting::setScreenshotProgramFolder({});
        exporting::setScreenshotClock({});
        MainWindowTest::TearDown();
    }

    QString screenshot(const char* prefix) const {
        return exporting::ScreenshotFileName(QString::fromLatin1(prefix), folder.path(), kMoment, QLocale());
    }

    void computeExample() {
        fillBatch({{"1. SiO2", "75"}, {"9. Na2O", "25"}});
        run("Button112");
        ASSERT_TRUE(form1->BatchComputed);
    }

    // Chooses an item of the analysis window's menu.
    void analyse(const char* name) {
        auto* item = form5->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
    }

    // Lets the one-shot drawing timer of the analysis window run.
    static void tick() { QTest::qWait(350); }

    QImage surface(const char* name) const {
        auto* box = form5->findChild<PictureBox*>(QString::fromLatin1(name));
        return box ? box->picture : QImage();
    }
};

quint16 bitsPerPixel(const QByteArray& bmp) {
    return static_cast<quint16>(static_cast<quint8>(bmp[28]) | static_cast<quint8>(bmp[29]) << 8);
}

TEST_F(PicturesWindowTest, TablePictureInEachFileTypeWithItsExtensionAlwaysAppended) {
    computeExample();
    const QSize panel = form1->Panel1->size();
    dialogs.pictureNames = {Dialogs::PictureName{path("table"), 1}, Dialogs::PictureName{path("table"), 2},
                            Dialogs::PictureName{path("table.bmp"), 3}, std::nullopt};
    run("pdf1");
    run("pdf1");
    run("ToolButton6");
    run("ToolButton6"); // cancelled: nothing written, nothing shown
    // Type 1 first, then the type chosen last time.
    EXPECT_EQ(dialogs.preselectedTypes, QList<int>({1, 1, 2, 3}));
    EXPECT_EQ(dialogs.pictureFilters.value(0),
              "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"table.bmp.bmp", "table.jpeg", "table.jpg"}));
    for (const char* name : {"table.jpg", "table.jpeg"})
        EXPECT_EQ(exporting::decodeJpeg(bytesOf(path(name))).size(), panel) << name;
    const QByteArray bmp = bytesOf(path("table.bmp.bmp"));
    ASSERT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(bitsPerPixel(bmp), 24);
    const QImage picture = QImage::fromData(bmp, "BMP");
    ASSERT_EQ(picture.size(), panel);
    // The picture is the panel as drawn: the same pixels as the panel's own rendering.
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32),
              form1->Panel1->grab().toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(PicturesWindowTest, ScreenshotsOfBothWindowsAreOnePixelLargerAndConfirmed) {
    run("N18");
    const QImage main(screenshot("Screenshot"));
    EXPECT_EQ(main.size(), form1->frameGeometry().size() + QSize(1, 1));
    EXPECT_EQ(bitsPerPixel(bytesOf(screenshot("Screenshot"))), 24);

    run("N9");
    analyse("N2");
    const QImage analysis(screenshot("Calcul"));
    EXPECT_EQ(analysis.size(), form5->frameGeometry().size() + QSize(1, 1));
    EXPECT_EQ(dialogs.messages, QStringList(2, exporting::kScreenshotSaved));

    // Without the screenshot folder the write fails and nothing is confirmed.
    ASSERT_TRUE(QDir(folder.filePath("Saves")).removeRecursively());
    run("N18");
    analyse("N2");
    EXPECT_EQ(dialogs.failures, QStringList(2, "Invalid filename"));
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(PicturesWindowTest, AnalysisWindowLayoutRulersAndEmptyDiagram) {
    run("N9");
    ASSERT_TRUE(form5->isVisible());
    EXPECT_EQ(form5->windowTitle(), "Анализ навесок");
    const auto sizeOf = [this](const char* name) {
        auto* widget = form5->findChild<QWidget*>(QString::fromLatin1(name));
        return widget ? widget->size() : QSize();
    };
    EXPECT_EQ(sizeOf("ClientArea"), QSize(359, 350));
    EXPECT_EQ(sizeOf("Panel8"), QSize(304, 328));
    EXPECT_EQ(sizeOf("Panel1"), QSize(55, 328));
    EXPECT_EQ(sizeOf("Panel2"), QSize(359, 22));
    EXPECT_EQ(sizeOf("Image1"), QSize(298, 322));
    EXPECT_EQ(sizeOf("Image3"), QSize(49, 322));
    EXPECT_EQ(sizeOf("Image2"), QSize(353, 16));
    EXPECT_EQ(form5->Image1->statusTip(), "Окно построения диаграмм");
    EXPECT_EQ(surface("Image1").pixel(150, 150), qRgb(0, 0, 0));
    EXPECT_EQ(surface("Image3").pixel(5, 161), qRgb(0, 0, 0));
    EXPECT_EQ(surface("Image2").pixel(149, 5), qRgb(0, 0, 0));
    EXPECT_EQ(surface("Image2").pixel(150, 5), qRgb(255, 255, 255));

    // No computed batch: the message, and no drawing.
    analyse("N3");
    EXPECT_EQ(dialogs.messages, QStringList({kNoBatch}));
    EXPECT_FALSE(form5->Timer1->isActive());
}

TEST_F(PicturesWindowTest, CalculateDrawsTheBarsOnceAndClearAndHidingKeepTheRulers) {
    computeExample();
    run("N9");
    analyse("N3");
    EXPECT_TRUE(form5->Timer1->isActive());
    tick();
    EXPECT_FALSE(form5->Timer1->isActive());
    EXPECT_EQ(form5->Scales.BarWidth, 149);
    EXPECT_EQ(form5->Scales.HeightScale, 3.22L);
    // The SiO2 bar's top line at y = 87, the Na2O bar's at y = 245.
    EXPECT_EQ(surface("Image1").pixel(75, 87), qRgb(128, 0, 0));
    EXPECT_EQ(surface("Image1").pixel(220, 245), qRgb(0, 128, 32));

    // Hidden and shown again, the window shows the same pictures.
    const QImage before = form5->grab().toImage();
    analyse("N5");
    EXPECT_FALSE(form5->isVisible());
    run("N9");
    EXPECT_EQ(form5->grab().toImage(), before);

    const QImage ruler = surface("Image3");
    analyse("N7");
    EXPECT_EQ(surface("Image1").pixel(75, 87), qRgb(0, 0, 0));
    EXPECT_EQ(surface("Image3"), ruler);
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(PicturesWindowTest, AFailingDrawingIsShownOnceAndKeepsItsFirstBars) {
    computeExample();
    form1->BatchTable.setCell(4, 2, QStringLiteral("x"));
    run("N9");
    analyse("N3");
    QTest::qWait(600); // several ticks' time
    EXPECT_EQ(dialogs.failures, QStringList({"'x' is not a valid floating point value"}));
    EXPECT_FALSE(form5->Timer1->isActive());
    EXPECT_EQ(surface("Image1").pixel(75, 87), qRgb(128, 0, 0));

    // A total of zero fails the command itself: no drawing is armed.
    form1->BatchTable.setCell(3, 1, QStringLiteral("0"));
    analyse("N3");
    EXPECT_EQ(dialogs.failures.value(1), "Floating point division by zero");
    EXPECT_FALSE(form5->Timer1->isActive());
}

} // namespace
