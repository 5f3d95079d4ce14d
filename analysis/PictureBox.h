#pragma once

#include <QImage>
#include <QWidget>

// A picture control: it shows an off-screen picture of its own size, which stays as it was drawn,
// also while the window is hidden.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QSize& size, QWidget* parent);

    // The picture to draw on; call update() afterwards.
    QImage picture;

protected:
    void paintEvent(QPaintEvent* event) override;
};
