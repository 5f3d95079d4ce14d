#include "export/WindowScreenshot.h"

#include "export/PictureFile.h"
#include "export/ScreenshotFileName.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace exporting {

namespace {

// Only X11 lets a program read what the screen shows; offscreen and Wayland give nothing useful.
bool screenReadable() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QImage ownRendering(QWidget* window) {
    QImage client = window->grab().toImage();
    if (client.size() != window->size())
        client = client.scaled(window->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return client;
}

} // namespace

QImage WindowPicture(QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QPoint clientOffset = window->geometry().topLeft() - outer.topLeft();

    QImage picture(outer.size(), QImage::Format_RGB888);
    picture.fill(window->palette().color(QPalette::Window));
    QPainter painter(&picture);
    if (screenReadable() && window->isVisible()) {
        if (QScreen* screen = window->screen()) {
            const QRect onScreen = outer.translated(-screen->geometry().topLeft());
            const QPixmap frame =
                screen->grabWindow(0, onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height());
            painter.drawPixmap(QRect(QPoint(0, 0), outer.size()), frame);
        }
    }
    painter.drawImage(clientOffset, ownRendering(window));
    painter.end();
    // The outer rectangle stretched onto one pixel more in each direction, as a plain pixel copy.
    return picture.scaled(outer.width() + 1, outer.height() + 1, Qt::IgnoreAspectRatio,
                          Qt::FastTransformation);
}

void WindowScreenshot(QWidget* window, const QString& prefix,
                      const std::function<void(const QString&)>& showMessage) {
    const QString name = ScreenshotFileName(prefix);
    writeBmp(WindowPicture(window), name);
    showMessage(kScreenshotSaved);
}

} // namespace exporting
