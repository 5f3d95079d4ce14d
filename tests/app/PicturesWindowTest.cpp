// Table pictures, the screenshots of both windows and the analysis window, driven through their
// menu items and buttons; the pictures on the screen and on the disk are checked.
#include "MainWindowFixture.h"
#include "analysis/PictureBox.h"
#include "export/JpegImage.h"
#include "export/ScreenshotFileName.h"
#include "export/WindowScreenshot.h"
#include "storage/DataRoot.h"

#include <QTimer>

namespace {

const QDateTime kMoment(QDate(2026, 12, 7), QTime(2, 48, 39));

class PicturesWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDir(folder.path()).mkpath("Saves/Screenshots"));
        exporting::setScreenshotProgramFolder(folder.path());
        exporting::setScreenshotClock([] { return kMoment; });
        fillBatch({{"1. SiO2", "75"}, {"9. Na2O", "25"}});
        run("Button112");
        run("N9");
    }
    void TearDown() override {
        exporting::setScreenshotProgramFolder({});
        exporting::setScreenshotClock({});
        MainWindowTest::TearDown();
    }

    QString screenshot(const char* prefix) const {
        return exporting::ScreenshotFileName(prefix, folder.path(), kMoment, QLocale());
    }
    void analyse(QAction* item, int wait = 0) {
        item->trigger();
        QTest::qWait(wait);
    }
    QRgb diagramAt(int x, int y) const { return analysisWindow->diagram->picture.pixel(x, y); }
};

quint16 bitsPerPixel(const QByteArray& bmp) {
    return static_cast<quint16>(static_cast<quint8>(bmp[28]) | static_cast<quint8>(bmp[29]) << 8);
}

TEST_F(PicturesWindowTest, TablePictureInEachFileTypeWithItsExtensionAlwaysAppended) {
    dialogs.pictureNames = {Dialogs::PictureName{path("table"), 1}, Dialogs::PictureName{path("table"), 2},
                            Dialogs::PictureName{path("table.bmp"), 3}, std::nullopt};
    for (const char* command : {"pdf1", "pdf1", "ToolButton6", "ToolButton6"}) // the last one cancelled
        run(command);
    EXPECT_EQ(dialogs.preselectedTypes, QList<int>({1, 1, 2, 3})); // type 1, then the last chosen
    EXPECT_EQ(dialogs.pictureFilters.value(0),
              "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({"table.bmp.bmp", "table.jpeg", "table.jpg"}));
    const QImage panel = mainWindow->tablePanel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const char* name : {"table.jpg", "table.jpeg"})
        EXPECT_EQ(exporting::decodeJpeg(bytesOf(path(name))).size(), panel.size()) << name;
    const QByteArray bmp = bytesOf(path("table.bmp.bmp"));
    EXPECT_EQ(bitsPerPixel(bmp), 24);
    EXPECT_EQ(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32), panel);
    EXPECT_TRUE(dialogs.messages.isEmpty() && dialogs.failures.isEmpty());
}

TEST_F(PicturesWindowTest, ScreenshotsOfBothWindowsAreOnePixelLargerOrFailWithoutTheirFolder) {
    run("N18");
    analyse(analysisWindow->screenshotAction);
    EXPECT_EQ(QImage(screenshot("Screenshot")).size(), mainWindow->frameGeometry().size() + QSize(1, 1));
    EXPECT_EQ(QImage(screenshot("Calcul")).size(), analysisWindow->frameGeometry().size() + QSize(1, 1));
    EXPECT_EQ(bitsPerPixel(bytesOf(screenshot("Calcul"))), 24);
    EXPECT_EQ(dialogs.messages, QStringList(2, exporting::kScreenshotSaved));

    ASSERT_TRUE(QDir(folder.filePath("Saves")).removeRecursively());
    run("N18");
    analyse(analysisWindow->screenshotAction);
    EXPECT_EQ(dialogs.failures, QStringList(2, "Invalid filename"));
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(PicturesWindowTest, TwoScreenshotsInOneSecondAreBothKept) {
    run("N18");
    const QByteArray first = bytesOf(screenshot("Screenshot"));
    run("N18");
    const QString second = screenshot("Screenshot").chopped(4) + " (2).bmp";
    EXPECT_EQ(QDir(folder.filePath("Saves/Screenshots")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(bytesOf(screenshot("Screenshot")), first);
    EXPECT_EQ(QImage(second).size(), mainWindow->frameGeometry().size() + QSize(1, 1));
    EXPECT_EQ(dialogs.messages, QStringList(2, exporting::kScreenshotSaved));
}

TEST_F(PicturesWindowTest, SettingsAndScreenshotsGoUnderTheDataRootAndFailThereAsAnywhere) {
    // The user's root is a file: the screenshot fails with the file layer's message.
    exporting::setScreenshotProgramFolder({});
    const QString root = path("veltrona");
    writeBytes(root, "a file");
    storage::setDataRoot(root);
    MainWindow started(dialogs);
    run("N18");
    storage::setDataRoot({});
    EXPECT_EQ(started.settingsFile->path(), root + "/Data/Settings.ini");
    EXPECT_EQ(dialogs.failures, QStringList{"Invalid filename"});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PicturesWindowTest, CalculateDrawsOnceAndClearHideAndShowKeepTheRulers) {
    EXPECT_EQ(analysisWindow->findChild<QWidget*>("ClientArea")->size(), QSize(359, 350));
    EXPECT_EQ(analysisWindow->diagram->size(), QSize(298, 322));
    EXPECT_EQ(diagramAt(75, 87), qRgb(0, 0, 0));
    analyse(analysisWindow->calculateAction, 350);
    EXPECT_FALSE(analysisWindow->drawTimer->isActive());
    EXPECT_EQ(analysisWindow->scales.heightScale, 3.22L);
    EXPECT_EQ(diagramAt(75, 87), qRgb(128, 0, 0));    // the SiO2 bar's top line
    EXPECT_EQ(diagramAt(220, 245), qRgb(0, 128, 32)); // the Na2O bar's

    const QImage shown = analysisWindow->grab().toImage();
    analyse(analysisWindow->exitAction);
    EXPECT_FALSE(analysisWindow->isVisible());
    run("N9");
    EXPECT_EQ(analysisWindow->grab().toImage(), shown);

    const QImage ruler = analysisWindow->verticalRuler->picture;
    analyse(analysisWindow->clearAction);
    EXPECT_EQ(diagramAt(75, 87), qRgb(0, 0, 0));
    EXPECT_EQ(analysisWindow->verticalRuler->picture, ruler);

    // Without a computed batch: the message, and the diagram stays as it is.
    run("Button113");
    analyse(analysisWindow->calculateAction, 350);
    EXPECT_EQ(dialogs.messages, QStringList({"Недостаточно данных для расчета!"}));
    EXPECT_FALSE(analysisWindow->drawTimer->isActive());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(PicturesWindowTest, AFailingDrawingIsShownOnceAndKeepsItsFirstBars) {
    mainWindow->batchTable.setCell(4, 2, "x");
    analyse(analysisWindow->calculateAction, 600); // several ticks' time
    EXPECT_EQ(dialogs.failures, QStringList({"'x' is not a valid floating point value"}));
    EXPECT_FALSE(analysisWindow->drawTimer->isActive());
    EXPECT_EQ(diagramAt(75, 87), qRgb(128, 0, 0));
}

} // namespace
