#include "export/TablePanelCapture.h"

#include <QPixmap>
#include <QWidget>

namespace exporting {

QImage TablePanelCapture(QWidget* panel) {
    QImage picture = panel->grab().toImage();
    // On a high-density screen the rendering has more device pixels than the panel has pixels.
    if (picture.size() != panel->size())
        picture = picture.scaled(panel->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture.convertToFormat(QImage::Format_RGB888);
}

} // namespace exporting
