#include "analysis/Unit5.h"

#include <QScreen>

namespace {

constexpr int clientWidth = 359;
constexpr int clientHeight = 350;

} // namespace

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("Form5");
    setWindowTitle(QStringLiteral("Анализ навесок"));
    // The diagram and its rulers are laid out in pixels, so the window keeps its size.
    setFixedSize(clientWidth, clientHeight);
}

void TForm5::present() {
    show();
    raise();
    activateWindow();
}

void TForm5::showEvent(QShowEvent* event) {
    // Centred once; after that the window stays where the user has put it.
    if (!placed_) {
        if (const QScreen* where = screen())
            move(where->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    QWidget::showEvent(event);
}
