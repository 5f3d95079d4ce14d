#pragma once

#include <QScreen>
#include <QWidget>

// Shows a window without blocking the others; a window already shown is only brought forward.
inline void presentWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Centres a window on its screen the first time it is shown; after that it stays where the user
// has put it.
inline void centreOnFirstShow(QWidget* window, bool& placed) {
    if (placed)
        return;
    if (const QScreen* where = window->screen())
        window->move(where->availableGeometry().center() - window->rect().center());
    placed = true;
}
