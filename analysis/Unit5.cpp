#include "analysis/Unit5.h"
#include "analysis/WindowPlacement.h"

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
    presentWindow(this);
}

void TForm5::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}
