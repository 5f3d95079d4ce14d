#include "analysis/DiagramPlayer.h"

#include <QFontMetrics>
#include <QPainter>

namespace analysis {

namespace {

QPen penOf(const SetPen& pen) {
    // A thin line leaves its end point out (flat cap); a wide one has round ends.
    return QPen(pen.colour, pen.width, Qt::SolidLine, pen.width > 1 ? Qt::RoundCap : Qt::FlatCap,
                Qt::RoundJoin);
}

} // namespace

QFont surfaceFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    // The surfaces are pixel pictures: type in pure colours, as a bitmap face would give.
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    font.setPixelSize(11);
    return font;
}

void play(const Operations& operations, QImage& picture, const QFont& font) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    QPen pen = penOf(SetPen{Qt::black, 1});
    for (const Operation& operation : operations) {
        if (const auto* fill = std::get_if<FillRect>(&operation)) {
            painter.fillRect(fill->area, fill->colour);
        } else if (const auto* setPen = std::get_if<SetPen>(&operation)) {
            pen = penOf(*setPen);
        } else if (const auto* line = std::get_if<Line>(&operation)) {
            painter.setPen(pen);
            painter.drawLine(line->from, line->to);
        } else if (const auto* text = std::get_if<Text>(&operation)) {
            const QRect box(text->topLeft, QSize(metrics.horizontalAdvance(text->text), metrics.height()));
            painter.fillRect(box, text->background);
            painter.setPen(text->colour);
            painter.drawText(text->topLeft + QPoint(0, metrics.ascent()), text->text);
        }
    }
}

} // namespace analysis
