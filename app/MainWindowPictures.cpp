// Table pictures, the main window's screenshot and the link to the analysis window.
#include "app/MainWindow.h"

#include "analysis/AnalysisWindow.h"
#include "export/PictureFile.h"
#include "export/TablePanelCapture.h"
#include "export/WindowScreenshot.h"

#include <algorithm>

namespace {

const char* const kPictureFilter =
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
const char* const kPictureExtensions[3] = {".jpg", ".jpeg", ".bmp"};

} // namespace

void MainWindow::saveTablePicture() {
    // Taken before the dialog opens, so that the dialog never stands in the picture.
    const QImage picture = exporting::TablePanelCapture(tablePanel);
    const std::optional<Dialogs::PictureName> chosen =
        dialogs_.savePictureName(this, QString::fromUtf8(kPictureFilter), pictureType_, lastPictureName_);
    if (!chosen)
        return;
    const int type = std::clamp(chosen->fileType, 1, 3);
    pictureType_ = type;
    lastPictureName_ = chosen->path;
    // The extension of the chosen type is appended whatever the name already ends with.
    const QString path = chosen->path + QLatin1String(kPictureExtensions[type - 1]);
    if (type == 3)
        exporting::writeBmp(picture, path);
    else
        exporting::writeJpeg(picture, path, exporting::kTablePictureQuality);
}

void MainWindow::takeScreenshot() {
    exporting::WindowScreenshot(this, QStringLiteral("Screenshot"),
                                [this](const QString& text) { dialogs_.showMessage(this, text); });
}

void MainWindow::linkAnalysisWindow() {
    if (!analysisWindow_)
        return;
    analysisWindow_->attach(
        BatchLink{&batchTable, &batchRowCount, &batchComputed,
                  [this](const QString& text) { dialogs_.showMessage(analysisWindow_, text); },
                  [this](const QString& text) { dialogs_.showFailure(analysisWindow_, text); }});
}
