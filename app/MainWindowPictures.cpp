// Table pictures, the main window's screenshot and the link to the analysis window.
#include "app/MainWindow.h"

#include "analysis/AnalysisWindow.h"
#include "export/PictureFile.h"
#include "export/TablePanelCapture.h"
#include "export/WindowScreenshot.h"

#include <algorithm>

void MainWindow::saveTablePicture() {
    // Taken before the dialog opens, so that the dialog never stands in the picture.
    const QImage picture = exporting::TablePanelCapture(tablePanel);
    const std::optional<Dialogs::PictureName> chosen = dialogs_.savePictureName(
        this, QString::fromUtf8(exporting::kPictureFilter), pictureType_, lastPictureName_);
    if (!chosen)
        return;
    pictureType_ = std::clamp(chosen->fileType, 1, exporting::kPictureTypes);
    lastPictureName_ = chosen->path;
    exporting::writePictureOfType(picture, chosen->path, pictureType_);
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
