#include "properties/GlassProperties.h"

#include "FailureOf.h"
#include "chemistry/OxideYield.h"
#include "properties/ModelLimits.h"

#include <gtest/gtest.h>

namespace properties {
namespace {

GlassComposition glass(std::initializer_list<std::pair<const char*, double>> contents) {
    GlassComposition composition;
    for (const auto& [oxide, percent] : contents)
        composition.push_back({QLatin1String(oxide), percent});
    return composition;
}

GlassComposition containerGlass() {
    return glass({{"SiO2", 72}, {"Al2O3", 2}, {"CaO", 8}, {"MgO", 3}, {"Na2O", 14}, {"K2O", 1}});
}

double number(batch::Extended value) {
    return static_cast<double>(value);
}

// The rows as the window would show them: value, model and note of each label, one line each.
std::string rowsText(const std::vector<PropertyRow>& rows) {
    QString text;
    for (const PropertyRow& row : rows)
        text += row.label + u'|' + row.value + u'|' + row.model + u'|' + row.note + u'\n';
    return text.toStdString();
}

class PropertiesOfGlass : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(u','); }
};

TEST_F(PropertiesOfGlass, ContainerGlassGivesThePublishedFigures) {
    QString note;
    const Shares moles = molePercent(modelInput(
                                         containerGlass(), [](QStringView) { return true; }, note)
                                         .massPercent);
    const double expectedMoles[] = {71.69, 1.17, 8.53, 4.45, 13.51, 0.64};
    for (size_t i = 0; i < moles.size(); ++i)
        EXPECT_NEAR(number(moles[i].percent), expectedMoles[i], 0.005) << moles[i].oxide.toStdString();

    const properties::GlassProperties result = glassProperties(containerGlass());
    EXPECT_NEAR(number(result.appen.density), 2.489, 0.0005);
    EXPECT_NEAR(number(result.appen.expansion), 93.6, 0.05);
    EXPECT_NEAR(number(result.appen.refractiveIndex), 1.5178, 0.00005);
    ASSERT_TRUE(result.lakatos.hasIsokoms && result.lakatos.curve);
    EXPECT_NEAR(number(result.lakatos.isokoms[0]), 1467.0, 0.05);
    EXPECT_NEAR(number(result.lakatos.isokoms[1]), 1034.9, 0.05);
    EXPECT_NEAR(number(result.lakatos.isokoms[2]), 827.4, 0.05);
    EXPECT_NEAR(number(result.lakatos.curve->a), 1.6946, 0.00005);
    EXPECT_NEAR(number(result.lakatos.curve->b), 4545.6, 0.05);
    EXPECT_NEAR(number(result.lakatos.curve->t0), 236.67, 0.005);
    EXPECT_NEAR(number(result.fluegel.softening.temperature), 722.4, 0.05);
    EXPECT_NEAR(number(result.fluegel.annealing.temperature), 544.6, 0.05);

    EXPECT_EQ(rowsText(result.rows),
              "Плотность, г/см³|2,489|Аппен, 1974|\n"
              "ТКЛР α·10⁷, К⁻¹|93,6|Аппен, 1974|\n"
              "Показатель преломления n_D|1,5178|Аппен, 1974|\n"
              "Температура варки (η = 10 Па·с), °C|1467|Лакатос и др., 1976|\n"
              "Точка выработки (η = 10³ Па·с), °C|1035|Лакатос и др., 1976|\n"
              "Температура размягчения (η = 10^6,6 Па·с), °C|726|Лакатос и др., 1976|\n"
              "Температура размягчения (η = 10^6,6 Па·с), °C|722|Флюгель, 2007|\n"
              "Верхняя температура отжига (η = 10¹² Па·с), °C|546|Лакатос и др., 1976|\n"
              "Верхняя температура отжига (η = 10¹² Па·с), °C|545|Флюгель, 2007|\n"
              "Нижняя температура отжига (η = 10^13,5 Па·с), °C|517|Лакатос и др., 1976|\n");
    ASSERT_TRUE(result.rows[0].number.has_value());
    EXPECT_EQ(*result.rows[0].number, result.appen.density);
}

TEST_F(PropertiesOfGlass, FusedSilicaOutsideTheViscosityModelsIsShownWithTheirRanges) {
    const properties::GlassProperties result = glassProperties(glass({{"SiO2", 100}}));
    EXPECT_NEAR(number(result.appen.refractiveIndex), 1.4585, 1e-12);
    EXPECT_NEAR(number(result.appen.density), 2.20454, 0.000005);
    EXPECT_NEAR(number(result.appen.expansion), 5, 1e-12);
    EXPECT_EQ(result.rows[0].value.toStdString(), "2,205");
    // The values stay; the notes say where the glass lies, in each model's unit.
    EXPECT_EQ(result.rows[3].value.toStdString(), "1848");
    EXPECT_EQ(result.lakatos.note.toStdString(), "вне области модели: SiO2 100,0 масс. % (≤ 77), "
                                                 "Na2O 0,0 масс. % (10–17), CaO 0,0 масс. % (4,48–13,32)");
    EXPECT_EQ(result.rows[6].note.toStdString(), "вне области модели: SiO2 100,0 мол. % (42,6–89,2)");
    EXPECT_TRUE(result.rows[6].number.has_value());
}

TEST_F(PropertiesOfGlass, ContentOutsideARangeIsWrittenWithAsManyDecimalsAsShowIt) {
    // Na2O 4 is the note's own example; 9,96 would read 10,0 and seem inside.
    EXPECT_EQ(
        lakatosViscosity(glass({{"SiO2", 78}, {"Na2O", 4}, {"CaO", 10}, {"Al2O3", 8}})).note.toStdString(),
        "вне области модели: SiO2 78,0 масс. % (≤ 77), Na2O 4,0 масс. % (10–17)");
    EXPECT_EQ(lakatosViscosity(glass({{"SiO2", 75.04}, {"Na2O", 9.96}, {"CaO", 15}})).note.toStdString(),
              "вне области модели: Na2O 9,96 масс. % (10–17), CaO 15,0 масс. % (4,48–13,32)");
    // On the bound is inside.
    EXPECT_EQ(lakatosViscosity(glass({{"SiO2", 74.92}, {"Na2O", 17}, {"CaO", 8.08}})).note.toStdString(), "");
}

TEST_F(PropertiesOfGlass, MinorUnknownOxideIsLeftOutAndNamedAndAMajorOneStopsTheModel) {
    GlassComposition withIron = containerGlass();
    withIron[0].massPercent = 71.95;
    withIron.push_back({QStringLiteral("Fe2O3"), 0.05});
    const properties::GlassProperties result = glassProperties(withIron);
    // Appen and Lakatos lack Fe2O3: they see the rest, renormalised; Fluegel has it.
    GlassComposition withoutIron = withIron;
    withoutIron.pop_back();
    EXPECT_NEAR(number(result.appen.refractiveIndex), number(appenProperties(withoutIron).refractiveIndex),
                1e-12);
    EXPECT_NEAR(number(result.lakatos.isokoms[2]), number(lakatosViscosity(withoutIron).isokoms[2]), 1e-9);
    EXPECT_NE(result.fluegel.softening.temperature, fluegelTemperatures(withoutIron).softening.temperature);
    EXPECT_EQ(result.rows[0].note.toStdString(), "не учтены: Fe2O3 0,05 %");
    EXPECT_EQ(result.rows[9].note.toStdString(), "не учтены: Fe2O3 0,05 %");
    EXPECT_EQ(result.rows[6].note.toStdString(), "");
    EXPECT_FALSE(result.rows[0].value.isEmpty());

    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(appenProperties(withIron).note.toStdString(), "не учтены: Fe2O3 0.05 %");
    batch::setDecimalSeparator(u',');

    // Above 1 % together, even where each is below: no value, and the note names them.
    const properties::GlassProperties boron = glassProperties(
        glass({{"SiO2", 70}, {"B2O3", 5}, {"Na2O", 14}, {"CaO", 9.8}, {"SrO", 0.6}, {"TiO2", 0.6}}));
    EXPECT_FALSE(boron.appen.valid);
    EXPECT_EQ(boron.rows[1].value.toStdString(), "");
    EXPECT_FALSE(boron.rows[1].number.has_value());
    EXPECT_EQ(boron.rows[1].note.toStdString(), "модель не учитывает B2O3, TiO2");
    EXPECT_EQ(boron.rows[3].note.toStdString(), "модель не учитывает SrO, TiO2");
    EXPECT_TRUE(boron.chart.curve.empty());
    // Fluegel knows them all; at the annealing point it has no term for ZnO.
    EXPECT_TRUE(boron.fluegel.softening.valid && boron.fluegel.annealing.valid);
    EXPECT_EQ(fluegelTemperatures(glass({{"SiO2", 70}, {"ZnO", 2}, {"Na2O", 15}, {"CaO", 13}}))
                  .annealing.note.toStdString(),
              "модель не учитывает ZnO");
}

TEST_F(PropertiesOfGlass, LakatosGivesNoValueWithoutSilicaOrWithoutAViscosityCurve) {
    const properties::GlassProperties noSilica =
        glassProperties(glass({{"B2O3", 70}, {"Na2O", 20}, {"CaO", 10}}));
    EXPECT_FALSE(noSilica.lakatos.hasIsokoms);
    EXPECT_EQ(noSilica.rows[4].note.toStdString(),
              "в составе нет SiO2, а модель считает оксиды на 100 частей SiO2");
    EXPECT_TRUE(noSilica.fluegel.softening.valid);

    // Much lime: the isokoms come closer together as the glass cools, which no VFT curve does.
    const properties::GlassProperties lime =
        glassProperties(glass({{"SiO2", 50}, {"CaO", 40}, {"Na2O", 10}}));
    EXPECT_TRUE(lime.lakatos.hasIsokoms);
    EXPECT_FALSE(lime.lakatos.curve);
    for (int r : {3, 4, 5, 7, 9}) {
        EXPECT_EQ(lime.rows[r].value.toStdString(), "");
        EXPECT_EQ(lime.rows[r].note.toStdString(),
                  "изокомы 693,2 / 746,7 / 762,5 °C не ложатся на кривую Фогеля — Фулчера — Таммана; "
                  "вне области модели: CaO 40,0 масс. % (4,48–13,32)");
    }
    EXPECT_TRUE(lime.chart.curve.empty() && lime.chart.curveMarks.empty());
    EXPECT_EQ(lime.chart.points.size(), 2u);

    // The curve exists only where T(2) − T(4) > T(4) − T(6) > 0, and then passes through all three.
    EXPECT_FALSE(vftCurveThrough({1000, 900, 800}));
    EXPECT_FALSE(vftCurveThrough({1000, 700, 750}));
    const std::optional<VftCurve> curve = vftCurveThrough({1000, 900, 850});
    ASSERT_TRUE(curve);
    EXPECT_NEAR(number(*curve->temperature(1)), 1000, 1e-9);
    EXPECT_NEAR(number(*curve->temperature(3)), 900, 1e-9);
    EXPECT_NEAR(number(*curve->temperature(5)), 850, 1e-9);
    EXPECT_FALSE(curve->temperature(-1 - number(curve->a)));
}

TEST_F(PropertiesOfGlass, ChartHoldsTheCurveAndThePointsOfTheModels) {
    const properties::GlassProperties result = glassProperties(containerGlass());
    const ViscosityChart& chart = result.chart;
    const VftCurve& curve = *result.lakatos.curve;
    ASSERT_EQ(chart.curve.size(), 281u);
    EXPECT_EQ(chart.curve.front().logViscosity, 0);
    EXPECT_NEAR(chart.curve.back().logViscosity, 14, 1e-12);
    for (size_t i = 0; i < chart.curve.size(); ++i) {
        const ChartPoint& point = chart.curve[i];
        EXPECT_NEAR(point.logViscosity + 1, number(-curve.a + curve.b / (point.temperature - curve.t0)),
                    1e-9);
        if (i > 0) {
            EXPECT_LT(point.temperature, chart.curve[i - 1].temperature);
        }
    }
    const int rowOf[] = {3, 4, 5, 7, 9};
    const double logViscosity[] = {1, 3, 6.6, 12, 13.5};
    const char* marks[] = {"Варка", "Выработка", "Размягчение", "Верхний отжиг", "Нижний отжиг"};
    ASSERT_EQ(chart.curveMarks.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(chart.curveMarks[i].label.toStdString(), marks[i]);
        EXPECT_NEAR(chart.curveMarks[i].temperature, number(*result.rows[rowOf[i]].number), 1e-9);
        EXPECT_NEAR(chart.curveMarks[i].logViscosity, logViscosity[i], 1e-12);
    }
    ASSERT_EQ(chart.points.size(), 2u);
    EXPECT_EQ(chart.points[0].label.toStdString(), "Размягчение");
    EXPECT_NEAR(chart.points[0].temperature, 722.39, 0.01);
    EXPECT_NEAR(chart.points[1].logViscosity, 12, 1e-12);
    EXPECT_NEAR(chart.points[1].temperature, 544.59, 0.01);
    EXPECT_EQ(chart.curveName.toStdString(), "Лакатос и др., 1976");
    EXPECT_EQ(chart.pointsName.toStdString(), "Флюгель, 2007");
}

TEST_F(PropertiesOfGlass, TypedCompositionIsTakenOnlyWhenValidByItself) {
    const auto sheet = [](std::vector<std::pair<const char*, const char*>> rows, bool molePercent = false) {
        batch::GlassCompositionSheet result;
        result.molePercent = molePercent;
        for (const auto& [oxide, content] : rows)
            result.rows.push_back(
                {QString::fromUtf8(oxide), QString::fromUtf8(content), QStringLiteral("Na2CO3")});
        return result;
    };
    const auto moles = typedComposition(sheet({{"SiO2", "75"}, {" Na2O ", "25"}, {"", ""}}, true));
    ASSERT_TRUE(moles);
    ASSERT_EQ(moles->size(), 2u);
    EXPECT_EQ((*moles)[1].oxide.toStdString(), "Na2O");
    EXPECT_NEAR(number((*moles)[0].massPercent), 74.4135, 0.00005);
    EXPECT_NEAR(number(typedComposition(sheet({{"SiO2", "72,005"}, {"Na2O", "28"}}))->at(0).massPercent),
                72.005 / 100.005 * 100, 1e-12);
    // Each fault in the words of the batch calculation.
    const std::vector<std::pair<std::vector<std::pair<const char*, const char*>>, const char*>> faults = {
        {{{"SiO2", "75"}, {"Na2O", "24"}}, "Сумма содержаний оксидов равна 99, а должна быть 100% (±0,01)!"},
        {{{"SiO2", "75"}, {"NaO", "25"}}, "Строка 2: неизвестный оксид «NaO»!"},
        {{{"SiO2", "75"}, {"Na2O", ""}}, "Строка 2, столбец «Содержание»: введите число!"},
        {{{"SiO2", "75"}, {"", "25"}}, "Строка 2: укажите оксид!"},
        {{{"SiO2", "125"}, {"Na2O", "-25"}}, "Содержание оксида SiO2 должно быть от 0 до 100%!"},
        {{{"SiO2", "75"}, {"SiO2", "25"}}, "Оксид SiO2 указан в строках 1 и 2: каждый оксид — в одной строке!"},
        {{}, "Введите состав стекла!"}};
    for (const auto& [rows, fault] : faults) {
        EXPECT_FALSE(typedComposition(sheet(rows))) << fault;
        EXPECT_EQ(failureOf([&] { compositionOfSheet(sheet(rows)); }).toStdString(), fault);
    }
    EXPECT_EQ(failureOf([] {
                  glassProperties(glass({{"SiO2", 101}, {"Na2O", -1}}));
              }).toStdString(),
              "Содержание оксида Na2O для расчёта свойств стекла должно быть числом не меньше нуля!");
    EXPECT_EQ(failureOf([] { glassProperties({}); }).toStdString(),
              "Для расчёта свойств стекла введите его состав!");
}

// The glass a calculated batch gives is the result's, oxides on top included.
TEST_F(PropertiesOfGlass, ABatchGivesItsOwnGlass) {
    batch::GlassBatchResult result;
    result.glassOxides = {QStringLiteral("SiO2"), QStringLiteral("Na2O"), QStringLiteral("SO3")};
    result.glassMassPercent = {74.5L, 25.3L, 0.2L};
    const GlassComposition given = batchComposition(result);
    ASSERT_EQ(given.size(), 3u);
    EXPECT_EQ(given[2].oxide.toStdString(), "SO3");
    EXPECT_EQ(given[2].massPercent, 0.2L);
    EXPECT_EQ(given[0].massPercent, 74.5L);
    EXPECT_EQ(given[1].massPercent, 25.3L);
}

TEST_F(PropertiesOfGlass, EveryOxideOfTheModelsIsAnOxideOfTheProgram) {
    for (const QStringList& oxides :
         {appenOxides(), lakatosOxides(), fluegelSofteningOxides(), fluegelAnnealingOxides()})
        for (const QString& oxide : oxides)
            EXPECT_TRUE(chemistry::findGlassOxide(oxide)) << oxide.toStdString();
    EXPECT_EQ(fluegelSofteningOxides().size(), 16);
    EXPECT_EQ(fluegelAnnealingOxides().size(), 14);
}

} // namespace
} // namespace properties
