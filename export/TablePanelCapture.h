#pragma once

#include <QImage>

class QWidget;

namespace exporting {

// A 24-bit picture (QImage::Format_RGB888) of the table panel at its current size, showing the
// active tab as it stands on the screen. The panel renders itself, so a window standing over it
// (the analysis window stays on top) or a dialog about to open never gets into the picture.
QImage TablePanelCapture(QWidget* panel);

} // namespace exporting
