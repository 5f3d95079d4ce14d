#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace exporting {

// The confirmation after a screenshot was written.
inline const QString kScreenshotSaved = QStringLiteral("Изображение сохранено в папку Saves\\Screenshots !");

// A picture of the whole window with its frame, one pixel wider and one pixel higher than the
// window's outer rectangle: the outer rectangle is stretched by that pixel in each direction.
// Where the program may read the screen (X11), the frame and caption come from the screen and the
// client area from the window's own rendering, so that a window standing on top never hides part
// of it; elsewhere the window's own rendering fills the picture.
QImage WindowPicture(QWidget* window);

// Writes WindowPicture as a 24-bit BMP file under ScreenshotFileName(prefix), replacing a file of
// that name, then shows the confirmation through `showMessage`. A failed write throws
// batch::Failure and shows nothing.
void WindowScreenshot(QWidget* window, const QString& prefix,
                      const std::function<void(const QString&)>& showMessage);

} // namespace exporting
