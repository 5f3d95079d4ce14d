#include "analysis/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(const QSize& size, QWidget* parent)
    : QWidget(parent), picture(size, QImage::Format_RGB32) {
    picture.fill(Qt::white);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}
