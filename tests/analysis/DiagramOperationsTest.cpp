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

    // "Рассчитать" on a batch table of these rows, and the drawing at its tick.
    Operations drawn(const std::vector<Portion>& rows) {
        for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
            const Portion& portion = rows[static_cast<size_t>(r - 1)];
            cells.setCell(0, r, portion.name);
            cells.setCell(3, r, portion.total);
            cells.setCell(4, r, portion.grams);
        }
        const int count = static_cast<int>(rows.size());
        setScales(cells, count, kDiagramSize, scales);
        Operations out;
        failure = failureOf([&] { drawDiagram(cells, count, scales, kDiagramSize, out); });
        return out;
    }

    batch::TextGrid cells{5, 20};
    Scales scales;
    QString failure;
};

TEST_F(DiagramTest, RulersStandAtTheirTicksAndThePaintedLinesLeaveTheirEndPointOut) {
    const Operations vertical = verticalRuler(kVerticalRulerSize);
    std::vector<int> ys, xs;
    for (const Line& line : only<Line>(vertical))
        if (line.from.y() == line.to.y())
            ys.push_back(line.from.y());
    for (const Line& line : only<Line>(horizontalRuler(kDiagramSize.width())))
        if (line.from.x() == line.to.x())
            xs.push_back(line.from.x());
    EXPECT_EQ(ys, (std::vector<int>{3, 32, 64, 97, 129, 161, 193, 225, 258, 290, 319}));
    EXPECT_EQ(xs, (std::vector<int>{3, 30, 60, 89, 119, 149, 179, 209, 238, 268, 295}));
    const std::vector<Text> labels = only<Text>(vertical);
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_EQ(labels[0], (Text{{10, 25}, "90%", Qt::black, Qt::white}));
    EXPECT_EQ(labels[9], (Text{{10, 307}, "0%", Qt::black, Qt::white}));
    EXPECT_EQ(labels[10], (Text{{10, 1}, "100%", Qt::black, Qt::white}));

    QImage ruler(kVerticalRulerSize, QImage::Format_RGB32);
    ruler.fill(Qt::white);
    play(vertical, ruler);
    // The tick at y = 161 runs from x = 3 to 7; the axis ends above y = 319, where the last tick is.
    const std::pair<QPoint, QRgb> pixels[] = {{{7, 161}, qRgb(0, 0, 0)},
                                              {{8, 161}, qRgb(255, 255, 255)},
                                              {{7, 162}, qRgb(255, 255, 255)},
                                              {{3, 318}, qRgb(0, 0, 0)},
                                              {{3, 320}, qRgb(255, 255, 255)}};
    for (const auto& [at, colour] : pixels)
        EXPECT_EQ(ruler.pixel(at), colour) << at.x() << "," << at.y();
}

TEST_F(DiagramTest, OneBarSpansTheDiagramAndNineteenShareItInTheirColours) {
    const Operations one = drawn({{"SiO2", "100", "50"}});
    EXPECT_EQ(
        only<Line>(one),
        (std::vector<Line>{
            {{5, 317}, {5, 166}}, {{293, 327}, {293, 166}}, {{5, 317}, {293, 317}}, {{5, 166}, {293, 166}}}));
    EXPECT_EQ(only<Text>(one), (std::vector<Text>{{{139, 232}, "SiO2", Qt::white, Qt::black},
                                                  {{137, 247}, "50,0%", Qt::white, Qt::black}}));

    const Operations nineteen = drawn(std::vector<Portion>(19, Portion{"B2O3", "100", "5"}));
    EXPECT_EQ(scales.barWidth, 16);
    const std::vector<Line> lines = only<Line>(nineteen);
    const std::vector<SetPen> pens = only<SetPen>(nineteen);
    ASSERT_EQ(lines.size(), 19u * 4);
    ASSERT_EQ(pens.size(), 21u); // black, one per row, and back to width 1
    const QColor colours[8] = {{128, 0, 0},   {0, 128, 32},  {128, 0, 64},  {0, 128, 96},
                               {128, 0, 128}, {0, 128, 160}, {128, 0, 192}, {0, 128, 224}};
    for (size_t i = 1; i <= 19; ++i) {
        EXPECT_EQ(lines[4 * (i - 1)].from.x(), 16 * static_cast<int>(i - 1) + 5) << i;
        EXPECT_EQ(lines[4 * (i - 1) + 1].from.x(), 16 * static_cast<int>(i) - 5) << i;
        EXPECT_EQ(pens[i], (SetPen{colours[(i - 1) % 8], 5})) << i;
    }
    EXPECT_EQ(pens.back().width, 1);
}

TEST_F(DiagramTest, TheSameBatchDrawsTheSamePictureAt100And1000Grams) {
    const Operations small = drawn({{"SiO2", "100", "74,4135"}, {"Na2O", "100", "25,5865"}});
    const Operations large = drawn({{"SiO2", "1000", "744,135"}, {"Na2O", "1000", "255,865"}});
    EXPECT_EQ(small, large);
    // 74,4135 g at 3,22 pixels per gram stand 240 pixels high: the top line at y = 322 + 5 - 240.
    EXPECT_EQ(only<Line>(large)[3].from.y(), 87);

    QImage diagram(kDiagramSize, QImage::Format_RGB32);
    diagram.fill(Qt::white);
    play(large, diagram);
    EXPECT_EQ(diagram.pixel(75, 87), qRgb(128, 0, 0));    // SiO2's top line
    EXPECT_EQ(diagram.pixel(220, 245), qRgb(0, 128, 32)); // Na2O's top line
    EXPECT_EQ(diagram.pixel(75, 150), qRgb(0, 0, 0));     // outlines only
    EXPECT_EQ(diagram.pixel(0, 0), qRgb(0, 0, 0));
    // White type of the name label at (65, 192).
    int white = 0;
    for (int y = 192; y < 205; ++y)
        for (int x = 65; x < 95; ++x)
            white += diagram.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 20);
}

TEST_F(DiagramTest, FailuresEndTheDrawingOrTheScalesAndKeepWhatWasDoneBefore) {
    const struct {
        Portion second;
        const char* message;
        size_t kept; // the clear, the black pen, all of row 1, and row 2 up to the failure
    } cases[] = {
        {{"Na2O", "100", "много"}, "'много' is not a valid floating point value", 2 + 7 + 1},
        {{"Na2O", "0", "25"}, "Floating point division by zero", 2 + 7 + 6},
        {{"Na2O", "1", "1e4000"}, "Invalid floating point operation", 2 + 7 + 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawn({{"SiO2", "100", "75"}, c.second}).size(), c.kept) << c.message;
        EXPECT_EQ(failure, c.message);
    }

    // The bar slot is set before the total is read.
    scales = Scales{7, 1.5L};
    EXPECT_EQ(failureOf([&] { setScales(cells, 0, kDiagramSize, scales); }),
              "Floating point division by zero");
    cells.setCell(3, 1, "0");
    EXPECT_EQ(failureOf([&] { setScales(cells, 2, kDiagramSize, scales); }),
              "Floating point division by zero");
    EXPECT_EQ(scales.barWidth, 149);
    EXPECT_EQ(scales.heightScale, 1.5L);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(3.5L), 4);
}

} // namespace
