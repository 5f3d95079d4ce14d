#pragma once

#include "batch/TextGrid.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <variant>
#include <vector>

// The bar diagram of the analysis window and its two rulers as lists of drawing operations. Nothing
// here touches a widget or a painter: a player (DiagramPlayer) paints the lists onto the pictures.
namespace analysis {

// The rectangle filled with one colour, its outline included.
struct FillRect {
    QRect area;
    QColor colour;
    bool operator==(const FillRect&) const = default;
};
// The pen for the lines that follow.
struct SetPen {
    QColor colour;
    int width = 1;
    bool operator==(const SetPen&) const = default;
};
// A line in the current pen; its end point itself is not painted.
struct Line {
    QPoint from, to;
    bool operator==(const Line&) const = default;
};
// Text whose top-left corner stands at the point, opaque on its background colour.
struct Text {
    QPoint topLeft;
    QString text;
    QColor colour, background;
    bool operator==(const Text&) const = default;
};
using Operation = std::variant<FillRect, SetPen, Line, Text>;
using Operations = std::vector<Operation>;

// The surfaces of the analysis window: the diagram, the vertical ruler at its right, the horizontal
// ruler below both.
inline constexpr QSize kDiagramSize(298, 322);
inline constexpr QSize kVerticalRulerSize(49, 322);
inline constexpr QSize kHorizontalRulerSize(353, 16);

// What "Рассчитать" sets and the drawing uses: the horizontal slot of one bar in pixels, and the
// pixels per gram of weighed portion. The height scale is a real number: rounded to a whole number
// it would flatten every bar of a batch of 644 g or more and let bars of 110 g run off the top.
struct Scales {
    int barWidth = 0;
    long double heightScale = 0;
};

// Rounds to the nearest integer, a half to the even neighbour; a value beyond the 64-bit range is
// an invalid operation.
long long roundHalfEven(long double value);

// The pen colour of a row, counted from 1; the colours repeat every eight rows.
QColor barColour(int row);

// The diagram blackened.
Operations clearDiagram(QSize diagram);
// The 0 %–100 % scale on the vertical ruler's surface, with labels.
Operations verticalRuler(QSize ruler);
// The ten-division scale below the diagram, measured with the diagram's width.
Operations horizontalRuler(int diagramWidth);

// Sets the scales from the batch table: the bar slot from the row count, then the height scale
// from the total batch mass in column 3 of row 1. A failure (no rows, a total that is not a number
// or zero) throws batch::Failure; the bar slot has been set by then.
void setScales(const batch::TextGrid& cells, int rowCount, QSize diagram, Scales& scales);

// Appends the drawing of the diagram: the clear, then for each row its bar outline, its name and
// its share of the total. The cells are read as the drawing goes; a cell that is not a number or a
// total of zero throws batch::Failure, and what was appended until then stays in `out`.
void drawDiagram(const batch::TextGrid& cells, int rowCount, const Scales& scales, QSize diagram,
                 Operations& out);

} // namespace analysis
