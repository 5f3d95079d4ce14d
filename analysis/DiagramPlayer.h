#pragma once

#include "analysis/DiagramOperations.h"

#include <QFont>
#include <QImage>

namespace analysis {

// The font of the analysis window's surfaces: a sans-serif face 11 pixels high.
QFont surfaceFont();

// Paints the operations onto the picture exactly: no antialiasing, the pens' widths and colours as
// given, text opaque on its background. Each list starts with the default pen, black and 1 pixel.
void play(const Operations& operations, QImage& picture, const QFont& font = surfaceFont());

} // namespace analysis
