#include "analysis/DiagramOperations.h"

#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

using batch::Extended;

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

// Coordinates far outside every surface are held to a range that painting handles; what lies
// there is never visible.
int coordinate(long long value) {
    constexpr long long limit = 1 << 20;
    return static_cast<int>(std::clamp(value, -limit, limit));
}

QPoint at(long long x, long long y) {
    return {coordinate(x), coordinate(y)};
}

// The eleven ticks of a ruler along a length: at 3, at the nine tenths, and 3 before the end.
std::vector<int> tickPositions(int length) {
    std::vector<int> positions{3};
    for (int k = 1; k <= 9; ++k)
        positions.push_back(static_cast<int>(roundHalfEven(Extended(length) / 10 * k)));
    positions.push_back(length - 3);
    return positions;
}

} // namespace

long long roundHalfEven(long double value) {
    // The default rounding mode of the floating-point unit is to the nearest, a half to even.
    const long double rounded = std::nearbyint(value);
    if (!(std::fabs(rounded) < 0x1p63L))
        throw batch::Failure(QString::fromLatin1(batch::kInvalidOperation));
    return static_cast<long long>(rounded);
}

QColor barColour(int row) {
    const auto component = [](long long value) { return static_cast<int>(((value % 256) + 256) % 256); };
    return QColor(component(128LL * row), component(128LL * (row - 1)), component(32LL * (row - 1)));
}

Operations clearDiagram(QSize diagram) {
    return {FillRect{QRect(QPoint(0, 0), diagram), kBlack}};
}

Operations verticalRuler(QSize ruler) {
    const int height = ruler.height();
    const std::vector<int> ticks = tickPositions(height);
    Operations out{SetPen{kBlack, 1}, Line{{3, 3}, {3, height - 3}}};
    for (const int y : ticks)
        out.push_back(Line{{3, y}, {8, y}});
    const auto label = [&out](int y, const QString& text) {
        out.push_back(Text{{10, y}, text, kBlack, kWhite});
    };
    for (int k = 1; k <= 9; ++k)
        label(ticks[static_cast<size_t>(k)] - 7, QString::number(10 - k) + QStringLiteral("0%"));
    label(height - 15, QStringLiteral("0%"));
    label(1, QStringLiteral("100%"));
    return out;
}

Operations horizontalRuler(int diagramWidth) {
    Operations out{SetPen{kBlack, 1}, Line{{3, 3}, {diagramWidth - 3, 3}}};
    for (const int x : tickPositions(diagramWidth))
        out.push_back(Line{{x, 3}, {x, 8}});
    return out;
}

void setScales(const batch::TextGrid& cells, int rowCount, QSize diagram, Scales& scales) {
    const Extended slot = batch::checkedDivide(diagram.width(), rowCount);
    scales.barWidth = coordinate(roundHalfEven(slot));
    const Extended total = batch::textToNumber(cells.cell(3, 1));
    scales.heightScale = batch::checkedDivide(diagram.height(), total);
}

void drawDiagram(const batch::TextGrid& cells, int rowCount, const Scales& scales, QSize diagram,
                 Operations& out) {
    const long long H = diagram.height();
    const long long W = scales.barWidth;
    const Extended S = scales.heightScale;
    out.push_back(FillRect{QRect(QPoint(0, 0), diagram), kBlack});
    out.push_back(SetPen{kBlack, 5});
    QColor pen = kBlack;
    for (int i = 1; i <= rowCount; ++i) {
        pen = barColour(i);
        out.push_back(SetPen{pen, 5});
        const Extended v = batch::textToNumber(cells.cell(4, i));
        const long long h = roundHalfEven(batch::checkedMultiply(v, S));
        const long long x0 = (i - 1) * W + 5;
        const long long x1 = i * W - 5;
        out.push_back(Line{at(x0, H - 5), at(x0, H + 5 - h)});
        out.push_back(Line{at(x1, H + 5), at(x1, H + 5 - h)});
        out.push_back(Line{at(x0, H - 5), at(x1, H - 5)});
        out.push_back(Line{at(x0, H + 5 - h), at(x1, H + 5 - h)});
        const long long c = W / 2;
        const long long m = roundHalfEven(batch::checkedMultiply(v, S / 2));
        out.push_back(Text{at(i * W - 10 - c, H - 10 - m), cells.cell(0, i), kWhite, kBlack});
        const Extended total = batch::textToNumber(cells.cell(3, i));
        const Extended share = batch::checkedMultiply(v, batch::checkedDivide(100, total));
        out.push_back(Text{at(i * W - 12 - c, H + 5 - m), batch::fixedText(share, 3, 1) + QLatin1Char('%'),
                           kWhite, kBlack});
    }
    out.push_back(SetPen{pen, 1});
}

} // namespace analysis
