#include "analysis/DiagramOperations.h"
#include "FailureOf.h"
#include "analysis/DiagramPlayer.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace analysis;

struct Portion {
    const char* name;
    const char* total; // column 3
    const char* grams; // column 4
};

// A batch table (TextGrid is a QObject, so it is handed out on the heap).
std::unique_ptr<batch::TextGrid> table(const std::vector<Portion>& rows) {
    auto grid = std::make_unique<batch::TextGrid>(5, 20);
    int row = 1;
    for (const Portion& portion : rows) {
        grid->setCell(0, row, QString::fromUtf8(portion.name));
        grid->setCell(3, row, QString::fromUtf8(portion.total));
        grid->setCell(4, row, QString::fromUtf8(portion.grams));
        ++row;
    }
    return grid;
}

template <typename T> std::vector<T> only(const Operations& operations) {
    std::vector<T> found;
    for (const Operation& operation : operations)
        if (const auto* op = std::get_if<T>(&operation))
            found.push_back(*op);
    return found;
}

class DiagramTest : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(QLatin1Char(',')); }

    // "Рассчитать" and the drawing at its tick.
    Operations drawn(const batch::TextGrid& grid, int rows) {
        setScales(grid, rows, kDiagramSize, scales);
        Operations out;
        drawDiagram(grid, rows, scales, kDiagramSize, out);
        return out;
    }

    Scales scales;
};

TEST_F(DiagramTest, RulersStandAtTheirTicksWithTheirLabels) {
    std::vector<int> ys, xs;
    for (const Line& line : only<Line>(verticalRuler(kVerticalRulerSize)))
        if (line.from.y() == line.to.y())
            ys.push_back(line.from.y());
    for (const Line& line : only<Line>(horizontalRuler(kDiagramSize.width())))
        if (line.from.x() == line.to.x())
            xs.push_back(line.from.x());
    EXPECT_EQ(ys, (std::vector<int>{3, 32, 64, 97, 129, 161, 193, 225, 258, 290, 319}));
    EXPECT_EQ(xs, (std::vector<int>{3, 30, 60, 89, 119, 149, 179, 209, 238, 268, 295}));

    const std::vector<Text> labels = only<Text>(verticalRuler(kVerticalRulerSize));
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_EQ(labels[0], (Text{{10, 25}, "90%", Qt::black, Qt::white}));
    EXPECT_EQ(labels[8], (Text{{10, 283}, "10%", Qt::black, Qt::white}));
    EXPECT_EQ(labels[9], (Text{{10, 307}, "0%", Qt::black, Qt::white}));
    EXPECT_EQ(labels[10], (Text{{10, 1}, "100%", Qt::black, Qt::white}));

    // Painted: the axis runs from y = 3 and leaves its end point out; the tick ends at x = 7.
    QImage ruler(kVerticalRulerSize, QImage::Format_RGB32);
    ruler.fill(Qt::white);
    play(verticalRuler(kVerticalRulerSize), ruler);
    EXPECT_EQ(ruler.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(ruler.pixel(3, 318), qRgb(0, 0, 0));
    EXPECT_EQ(ruler.pixel(3, 319), qRgb(0, 0, 0)); // the bottom tick starts there
    EXPECT_EQ(ruler.pixel(3, 320), qRgb(255, 255, 255));
    EXPECT_EQ(ruler.pixel(7, 161), qRgb(0, 0, 0));
    EXPECT_EQ(ruler.pixel(8, 161), qRgb(255, 255, 255));
    EXPECT_EQ(ruler.pixel(7, 162), qRgb(255, 255, 255));
}

TEST_F(DiagramTest, BarSlotsForOneAndNineteenRowsAndTheRepeatingColours) {
    const Operations one = drawn(*table({{"SiO2", "100", "50"}}), 1);
    EXPECT_EQ(scales.BarWidth, 298);
    const std::vector<Line> bar = only<Line>(one);
    ASSERT_EQ(bar.size(), 4u);
    // Left side, right side, base, top: the bar spans x = 5 to 293, its top line at y = 166.
    EXPECT_EQ(bar[0], (Line{{5, 317}, {5, 166}}));
    EXPECT_EQ(bar[1], (Line{{293, 327}, {293, 166}}));
    EXPECT_EQ(bar[2], (Line{{5, 317}, {293, 317}}));
    EXPECT_EQ(bar[3], (Line{{5, 166}, {293, 166}}));
    const std::vector<Text> labels = only<Text>(one);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], (Text{{139, 232}, "SiO2", Qt::white, Qt::black}));
    EXPECT_EQ(labels[1], (Text{{137, 247}, "50,0%", Qt::white, Qt::black}));

    std::vector<Portion> rows(19, Portion{"B2O3", "100", "5"});
    const Operations nineteen = drawn(*table(rows), 19);
    EXPECT_EQ(scales.BarWidth, 16);
    const std::vector<Line> lines = only<Line>(nineteen);
    ASSERT_EQ(lines.size(), 19u * 4);
    for (int i = 1; i <= 19; ++i) {
        EXPECT_EQ(lines[static_cast<size_t>(4 * (i - 1))].from.x(), 16 * (i - 1) + 5) << i;
        EXPECT_EQ(lines[static_cast<size_t>(4 * (i - 1) + 1)].from.x(), 16 * i - 5) << i;
    }
    const QColor expected[8] = {{128, 0, 0},   {0, 128, 32},  {128, 0, 64},  {0, 128, 96},
                                {128, 0, 128}, {0, 128, 160}, {128, 0, 192}, {0, 128, 224}};
    const std::vector<SetPen> pens = only<SetPen>(nineteen);
    ASSERT_EQ(pens.size(), 21u); // black, one per row, and back to width 1
    for (int i = 1; i <= 19; ++i)
        EXPECT_EQ(pens[static_cast<size_t>(i)], (SetPen{expected[(i - 1) % 8], 5})) << i;
    EXPECT_EQ(pens.back().width, 1);
}

TEST_F(DiagramTest, TheSameBatchDrawsTheSamePictureAt100And1000Grams) {
    const Operations small = drawn(*table({{"SiO2", "100", "74,4135"}, {"Na2O", "100", "25,5865"}}), 2);
    const Operations large = drawn(*table({{"SiO2", "1000", "744,135"}, {"Na2O", "1000", "255,865"}}), 2);
    EXPECT_EQ(small, large);
    // 74,4135 g at 3,22 pixels per gram is 240 pixels high: the top line at y = 322 + 5 - 240.
    EXPECT_EQ(only<Line>(large)[3].from.y(), 87);
    EXPECT_EQ(only<Text>(large)[1].text, "74,4%");
}

TEST_F(DiagramTest, AFailingCellEndsTheDrawingAndKeepsWhatWasDrawn) {
    const struct {
        Portion second;
        const char* message;
        size_t operationsOfTheSecondRow; // its pen, then up to its lines and name
    } cases[] = {
        {{"Na2O", "100", "много"}, "'много' is not a valid floating point value", 1},
        {{"Na2O", "0", "25"}, "Floating point division by zero", 6},
        {{"Na2O", "", "25"}, "'' is not a valid floating point value", 6},
    };
    for (const auto& c : cases) {
        const auto grid = table({{"SiO2", "100", "75"}, c.second});
        setScales(*grid, 2, kDiagramSize, scales);
        Operations out;
        EXPECT_EQ(failureOf([&] { drawDiagram(*grid, 2, scales, kDiagramSize, out); }), c.message);
        // The clear, the black pen, the whole first row (pen, four lines, two labels), and the rest.
        EXPECT_EQ(out.size(), 2 + 7 + c.operationsOfTheSecondRow) << c.message;
    }
}

TEST_F(DiagramTest, ScalesFailWithoutRowsOrTotalAndKeepTheBarSlotSetFirst) {
    scales = Scales{7, 1.5L};
    EXPECT_EQ(failureOf([&] { setScales(*table({}), 0, kDiagramSize, scales); }),
              "Floating point division by zero");
    EXPECT_EQ(scales.BarWidth, 7);
    EXPECT_EQ(failureOf([&] {
                  setScales(*table({{"SiO2", "0", "1"}}), 2, kDiagramSize, scales);
              }),
              "Floating point division by zero");
    EXPECT_EQ(scales.BarWidth, 149);
    EXPECT_EQ(scales.HeightScale, 1.5L);
    setScales(*table({{"SiO2", "110", "1"}}), 1, kDiagramSize, scales);
    EXPECT_EQ(scales.HeightScale, 322.0L / 110);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(3.5L), 4);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(failureOf([] { roundHalfEven(1e30L); }), "Invalid floating point operation");
}

TEST_F(DiagramTest, PaintedBarsHaveTheirColoursWhiteLabelsAndABlackInside) {
    const Operations operations = drawn(*table({{"SiO2", "100", "74,4135"}, {"Na2O", "100", "25,5865"}}), 2);
    QImage diagram(kDiagramSize, QImage::Format_RGB32);
    diagram.fill(Qt::white);
    play(operations, diagram);
    // Bar 1 spans x = 5..144, its top at y = 87; bar 2 spans x = 154..293, its top at y = 245.
    EXPECT_EQ(diagram.pixel(75, 87), qRgb(128, 0, 0));
    EXPECT_EQ(diagram.pixel(5, 200), qRgb(128, 0, 0));
    EXPECT_EQ(diagram.pixel(75, 150), qRgb(0, 0, 0)); // outlines only
    EXPECT_EQ(diagram.pixel(220, 245), qRgb(0, 128, 32));
    EXPECT_EQ(diagram.pixel(0, 0), qRgb(0, 0, 0));    // the clear covers the whole surface
    EXPECT_EQ(diagram.pixel(200, 40), qRgb(0, 0, 0)); // above the short bar
    // The name label of bar 1 stands at (65, 192): white type somewhere in its first line.
    const Text name = only<Text>(operations)[0];
    ASSERT_EQ(name.topLeft, QPoint(65, 192));
    int white = 0;
    for (int y = 192; y < 205; ++y)
        for (int x = 65; x < 95; ++x)
            white += diagram.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 20);
}

} // namespace
