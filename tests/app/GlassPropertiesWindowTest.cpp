#include "MainWindowFixture.h"
#include "app/GlassPropertiesPanel.h"
#include "app/GlassWindow.h"
#include "chemistry/GlassBatchSetup.h"

#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <array>

namespace {

class GlassPropertiesWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        glass = std::make_unique<GlassWindow>(*mainWindow, dialogs);
        panel = glass->propertiesPanel;
        glass->present();
        emptyResult = result();
    }
    void TearDown() override {
        glass.reset();
        MainWindowTest::TearDown();
    }

    // Oxide, content and raw material of each row; rows without a raw material where it is empty.
    void type(const std::vector<std::array<const char*, 3>>& rows) {
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 3; ++c)
                typeCell(glass->compositionGrid, c, static_cast<int>(r) + 1, QString::fromUtf8(rows[r][c]));
    }
    void calculate() { QTest::mouseClick(glass->calculateBatchButton, Qt::LeftButton); }
    QStringList result() const { return cells(glass->resultTable) + cells(glass->summaryTable); }

    // The properties table as it must read for these rows of the core, column by column.
    static QStringList table(const std::vector<properties::PropertyRow>& rows) {
        QStringList texts;
        for (int c = 0; c < 4; ++c) {
            texts << QString::fromUtf8(properties::kPropertyHeaders[c]);
            for (size_t r = 0; r < 10; ++r) {
                const properties::PropertyRow row = r < rows.size() ? rows[r] : properties::PropertyRow{};
                texts << QStringList{row.label, row.value, row.model, row.note}[c];
            }
        }
        return texts;
    }
    std::vector<properties::PropertyRow> ofTyped() const {
        return properties::glassProperties(properties::typedComposition(glass->sheet()).value()).rows;
    }
    QStringList values() const { return cells(panel->propertiesTable).mid(12, 10); }
    int chartPoints() const {
        return panel->curveSeries->count() + panel->curveMarkSeries->count() + panel->pointSeries->count();
    }

    std::vector<std::array<const char*, 3>> containerGlass = {
        {"SiO2", "72", "SiO2"},     {"Al2O3", "2", "Al(OH)3"}, {"CaO", "8", "CaCO3"},
        {"MgO", "3", "CaMg(CO3)2"}, {"Na2O", "14", "Na2CO3"},  {"K2O", "1", "K2CO3"}};
    const QStringList kContainerValues = {"2,489", "93,6", "1,5178", "1467", "1035",
                                          "726",   "722",  "546",    "545",  "517"};
    std::unique_ptr<GlassWindow> glass;
    GlassPropertiesPanel* panel = nullptr;
    QStringList emptyResult;
};

// Without raw materials "Рассчитать" judges the glass alone, without a message, on the page of
// the properties; the table and the chart's series are the core's figures. "Очистить" clears them.
TEST_F(GlassPropertiesWindowTest, WithoutRawMaterialsThePropertiesComeAloneAndTheChartFollowsTheModel) {
    for (const char* name : {"GlassProperties", "GlassViscosityChart", "GlassPropertiesPicture"})
        EXPECT_FALSE(glass->findChild<QWidget*>(QString::fromLatin1(name))->statusTip().isEmpty()) << name;
    type(containerGlass);
    calculate();
    ASSERT_NE(result(), emptyResult);
    for (auto& row : containerGlass)
        row[2] = "";
    type(containerGlass);
    calculate();
    EXPECT_TRUE(dialogs.failures.isEmpty() && dialogs.messages.isEmpty());
    EXPECT_EQ(result(), emptyResult);
    EXPECT_EQ(glass->glassTabs->currentWidget(), panel);
    EXPECT_EQ(values(), kContainerValues);
    const properties::GlassProperties expected =
        properties::glassProperties(properties::typedComposition(glass->sheet()).value());
    EXPECT_EQ(cells(panel->propertiesTable), table(expected.rows));

    const properties::ViscosityChart& chart = expected.chart;
    ASSERT_EQ(panel->curveSeries->count(), static_cast<int>(chart.curve.size()));
    for (size_t i : {size_t{0}, chart.curve.size() - 1})
        EXPECT_EQ(panel->curveSeries->at(static_cast<int>(i)),
                  QPointF(chart.curve[i].temperature, chart.curve[i].logViscosity));
    ASSERT_EQ(panel->curveMarkSeries->count(), 5);
    ASSERT_EQ(panel->curveMarkLabels.size(), 5);
    const char* marks[] = {"Варка, 1467 °C", "Выработка, 1035 °C", "Размягчение, 726 °C",
                           "Верхний отжиг, 546 °C", "Нижний отжиг, 517 °C"};
    for (int i = 0; i < 5; ++i) {
        const properties::LabelledPoint& mark = chart.curveMarks[static_cast<size_t>(i)];
        EXPECT_EQ(panel->curveMarkSeries->at(i), QPointF(mark.temperature, mark.logViscosity));
        EXPECT_EQ(panel->curveMarkLabels[i]->text(), QString::fromUtf8(marks[i]));
    }
    ASSERT_EQ(panel->pointSeries->count(), 2);
    EXPECT_EQ(panel->pointSeries->at(1), QPointF(chart.points[1].temperature, chart.points[1].logViscosity));
    EXPECT_LE(panel->temperatureAxis->min(), chart.curveMarks.back().temperature - 10);
    EXPECT_GE(panel->temperatureAxis->max(), chart.curve.front().temperature);

    // A composition wrong in itself gets its own fault, not a demand for raw materials.
    typeCell(glass->compositionGrid, 1, 1, QStringLiteral("71"));
    calculate();
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral("Сумма содержаний оксидов равна 99, а должна быть 100% (±0,01)!")});
    EXPECT_EQ(cells(panel->propertiesTable), table({}));
    EXPECT_EQ(chartPoints(), 0);
    typeCell(glass->compositionGrid, 1, 1, QStringLiteral("72"));
    calculate();
    EXPECT_EQ(values(), kContainerValues);

    QTest::mouseClick(glass->clearAllButton, Qt::LeftButton);
    EXPECT_EQ(cells(panel->propertiesTable), table({}));
    EXPECT_EQ(chartPoints(), 0);
    EXPECT_TRUE(panel->curveMarkLabels.isEmpty());
}

// A failed batch shows its message as ever; the properties are those of the composition as typed
// (mole % turned into mass %) while that is valid by itself, and none when it is not.
TEST_F(GlassPropertiesWindowTest, AFailedBatchLeavesThePropertiesOfTheTypedCompositionOrNone) {
    type(containerGlass);
    typeCell(glass->compositionGrid, 2, 2, QString());
    glass->molePercentCheckBox->setChecked(true);
    calculate();
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Строка 2: укажите сырьё для оксида Al2O3!")});
    EXPECT_EQ(cells(panel->propertiesTable), table(ofTyped()));
    EXPECT_NE(values(), kContainerValues);

    typeCell(glass->compositionGrid, 1, 1, QStringLiteral("71")); // the contents add up to 99
    calculate();
    EXPECT_EQ(dialogs.failures.size(), 2);
    EXPECT_EQ(cells(panel->propertiesTable), table({}));
    EXPECT_EQ(chartPoints(), 0);
}

// Dolomite brings CaO, which the composition does not list: it comes on top, and the properties
// are those of the glass with it.
TEST_F(GlassPropertiesWindowTest, ACalculatedBatchGivesThePropertiesOfTheGlassItMakes) {
    type({{"SiO2", "80", "SiO2"},
          {"Al2O3", "2", "Al(OH)3"},
          {"MgO", "3", "CaMg(CO3)2"},
          {"Na2O", "14", "Na2CO3"},
          {"K2O", "1", "K2CO3"}});
    calculate();
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    EXPECT_EQ(glass->glassTabs->currentIndex(), 0); // the batch stays in view
    const batch::GlassBatchResult batch =
        batch::solveGlassBatch(chemistry::prepareGlassBatch(glass->sheet()));
    ASSERT_TRUE(batch.glassOxides.contains(QStringLiteral("CaO")));
    const QStringList ofBatch = table(properties::glassProperties(properties::batchComposition(batch)).rows);
    EXPECT_EQ(cells(panel->propertiesTable), ofBatch);
    EXPECT_NE(cells(panel->propertiesTable), table(ofTyped()));

    // "В таблицу навесок" calculates the batch as well, and with it the properties.
    panel->clear();
    QTest::mouseClick(glass->transferToBatchTableButton, Qt::LeftButton);
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    EXPECT_EQ(cells(panel->propertiesTable), ofBatch);
}

TEST_F(GlassPropertiesWindowTest, CtrlCCopiesTheTableAndThePictureIsSaved) {
    for (auto& row : containerGlass)
        row[2] = "";
    type(containerGlass);
    calculate();
    StringGrid* grid = panel->propertiesGrid;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(lines.size(), 12); // captions, ten rows, and nothing after the last line end
    EXPECT_EQ(lines[0], QStringLiteral("Свойство\tЗначение\tМодель\tПримечание"));
    EXPECT_EQ(lines[7],
              QStringLiteral("Температура размягчения (η = 10^6,6 Па·с), °C\t722\tФлюгель, 2007\t"));

    const QImage shown = panel->picture();
    EXPECT_EQ(shown.width(), grid->width() + 8 + panel->viscosityChartView->width());
    dialogs.pictureNames = {Dialogs::PictureName{path("свойства"), 3},
                            Dialogs::PictureName{path("нет/свойства"), 3}};
    QTest::mouseClick(panel->savePictureButton, Qt::LeftButton);
    EXPECT_EQ(QImage(path("свойства.bmp")).convertToFormat(QImage::Format_RGB888), shown);
    QTest::mouseClick(panel->savePictureButton, Qt::LeftButton); // a folder that does not exist
    EXPECT_EQ(dialogs.preselectedTypes, (QList<int>{1, 3}));     // the type chosen last is offered next
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Invalid filename")});
}

} // namespace
