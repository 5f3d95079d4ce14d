// The batch of a glass from raw materials as a plant has them: library materials given by their
// analysis or formula, with moisture and price, fixed additions, oxides that come on top of the
// composition, cost and CO2.
#include "FailureOf.h"
#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/GlassBatch.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/OxideYield.h"

#include <gtest/gtest.h>
#include <tuple>

namespace chemistry {
namespace {

using batch::CompositionRowText;
using batch::Extended;
using batch::GlassCompositionSheet;

CompositionRowText row(const char* oxide, const char* content, const char* material, const char* purity = "",
                       const char* moisture = "", const char* volatilisation = "", const char* amount = "") {
    return {QString::fromUtf8(oxide),  QString::fromUtf8(content),  QString::fromUtf8(material),
            QString::fromUtf8(purity), QString::fromUtf8(moisture), QString::fromUtf8(volatilisation),
            QString::fromUtf8(amount)};
}

CompositionRowText addition(const char* material, const char* amount, const char* moisture = "") {
    return row("", "", material, "", moisture, "", amount);
}

RawMaterial analysed(const char* name, std::initializer_list<std::pair<const char*, Extended>> analysis,
                     Extended loss, Extended co2, std::optional<Extended> moisture, Extended price) {
    RawMaterial material{QString::fromUtf8(name), {}, {}, {}, moisture, price, loss, co2};
    for (const auto& [oxide, percent] : analysis)
        material.analysis.push_back({QString::fromLatin1(oxide), percent});
    return material;
}

RawMaterial byFormula(const char* name, const char* formula, std::optional<Extended> price,
                      std::optional<Extended> purity = {}, std::optional<Extended> moisture = {}) {
    return RawMaterial{
        QString::fromUtf8(name), QString::fromUtf8(formula), {}, purity, moisture, price, {}, {}};
}

// The example materials of the starter library, with prices a plant might pay.
RawMaterialLibrary plantLibrary() {
    return {{},
            {analysed("Песок (пример)", {{"SiO2", 99.5L}, {"Al2O3", 0.2L}, {"Fe2O3", 0.05L}, {"CaO", 0.1L}},
                      0.15L, 0, 5, 1200),
             analysed("Доломит (пример)",
                      {{"SiO2", 0.5L}, {"Al2O3", 0.2L}, {"Fe2O3", 0.1L}, {"CaO", 30.4L}, {"MgO", 21.7L}},
                      47.1L, 46.9L, {}, 2500),
             byFormula("Гидроксид алюминия", "Al(OH)3", 30000), byFormula("Мел", "CaCO3", 3000),
             byFormula("Сода", "Na2CO3", 21000), byFormula("Поташ", "K2CO3", 60000),
             byFormula("Сода (влажная)", "Na2CO3", 20000, 98, 1)}};
}

// The container glass of the guide, 100 g, from the plant's materials.
GlassCompositionSheet plantGlass() {
    return {{row("SiO2", "72", "Песок (пример)"), row("Al2O3", "2", "Гидроксид алюминия"),
             row("CaO", "8", "Мел"), row("MgO", "3", "Доломит (пример)"), row("Na2O", "14", "Сода"),
             row("K2O", "1", "Поташ")},
            false,
            QStringLiteral("100"),
            QString()};
}

batch::GlassBatchResult solve(const GlassCompositionSheet& sheet) {
    return batch::solveGlassBatch(prepareGlassBatch(sheet, plantLibrary()));
}

Extended massOf(const char* formula) {
    return rawMaterialYield(QString::fromUtf8(formula)).molarMass;
}

Extended oxideMass(const char* oxide) {
    return oxideMolarMass(*findGlassOxide(QString::fromUtf8(oxide)));
}

class GlassBatchMaterials : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(u','); }
};

// The certificate a perfectly pure compound would have.
RawMaterial ownAnalysis(const char* formula) {
    const DryGramYield perGram = dryGramYield(byFormula("", formula, {}));
    RawMaterial material;
    material.name = QStringLiteral("анализ ") + QString::fromUtf8(formula);
    for (const OxideGrams& share : perGram.oxides)
        material.analysis.push_back({share.oxide, share.grams * 100});
    material.lossOnIgnition = (perGram.carbonDioxide + perGram.water) * 100;
    material.carbonDioxide = perGram.carbonDioxide * 100;
    return material;
}

TEST_F(GlassBatchMaterials, AnalysisThatIsTheFormulasOwnGivesTheSameBatch) {
    RawMaterialLibrary library;
    GlassCompositionSheet formulas{{row("SiO2", "65", "SiO2"), row("Al2O3", "3", "KAlSi3O8", "", "4"),
                                    row("CaO", "8", "CaCO3"), row("MgO", "3", "CaMg(CO3)2"),
                                    row("Na2O", "17", "Na2CO3", "", "", "3"), row("K2O", "4", "K2CO3")},
                                   false,
                                   QStringLiteral("1000"),
                                   QStringLiteral("20")};
    GlassCompositionSheet analyses = formulas;
    for (const int r : {1, 2, 3}) {
        library.materials.push_back(
            ownAnalysis(formulas.rows[static_cast<size_t>(r)][2].toUtf8().constData()));
        analyses.rows[static_cast<size_t>(r)][2] = library.materials.back().name;
    }
    const batch::GlassBatchResult expected = batch::solveGlassBatch(prepareGlassBatch(formulas));
    const batch::GlassBatchProblem problem = prepareGlassBatch(analyses, library);
    const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
    ASSERT_EQ(result.weighed.size(), 6u);
    for (size_t j = 0; j < 6; ++j) {
        EXPECT_NEAR(static_cast<double>(result.weighed[j] / expected.weighed[j]), 1, 1e-12) << j;
        EXPECT_NEAR(static_cast<double>(result.glassMassPercent[j]),
                    static_cast<double>(expected.glassMassPercent[j]), 1e-12);
    }
    EXPECT_NEAR(static_cast<double>(result.carbonDioxide), static_cast<double>(expected.carbonDioxide), 1e-9);
    EXPECT_NEAR(static_cast<double>(result.water), static_cast<double>(expected.water), 1e-9);
    EXPECT_TRUE(problem.extraOxides.empty());
    EXPECT_EQ(problem.materials[1].formula, QString());
    EXPECT_EQ(problem.materials[1].molarMassText, QStringLiteral("100"));
}

TEST_F(GlassBatchMaterials, FixedSulfateLowersTheSodaAndItsSulfurTrioxideComesOnTop) {
    GlassCompositionSheet sheet = plantGlass();
    sheet.glassMass = QStringLiteral("1000");
    const batch::GlassBatchResult without = solve(sheet);
    sheet.rows.insert(sheet.rows.begin() + 4, addition("Na2SO4", "0,8", "2"));
    const batch::GlassBatchResult result = solve(sheet);

    // 8 g as weighed, 7,84 g dry, bring 7,84 x 61,979 / 142,04 g Na2O that the soda need not bring.
    ASSERT_EQ(result.weighed.size(), 7u);
    EXPECT_NEAR(static_cast<double>(result.weighed[4]), 8, 1e-15);
    EXPECT_NEAR(static_cast<double>(result.dry[4]), 7.84, 1e-15);
    const Extended sodium = 7.84L * oxideMass("Na2O") / massOf("Na2SO4");
    EXPECT_NEAR(static_cast<double>(without.weighed[4] - result.weighed[5]),
                static_cast<double>(sodium * massOf("Na2CO3") / oxideMass("Na2O")), 1e-9);
    EXPECT_NEAR(static_cast<double>(result.weighed[0]), static_cast<double>(without.weighed[0]), 1e-9);

    const Extended sulfur = 7.84L * oxideMass("SO3") / massOf("Na2SO4");
    EXPECT_EQ(result.glassOxides.join(u' '), QStringLiteral("SiO2 Al2O3 CaO MgO Na2O K2O Fe2O3 SO3"));
    EXPECT_NEAR(static_cast<double>(result.glassFromBatch - without.glassFromBatch),
                static_cast<double>(sulfur), 1e-9);
    EXPECT_NEAR(static_cast<double>(result.glassMassPercent[7]),
                static_cast<double>(sulfur / result.glassFromBatch * 100), 1e-9);
    EXPECT_NEAR(static_cast<double>(result.glassMassPercent[4]),
                static_cast<double>(140 / result.glassFromBatch * 100), 1e-9);
    // The sulfate's moisture leaves as water.
    EXPECT_NEAR(static_cast<double>(result.water - without.water), 0.16, 1e-9);
}

TEST_F(GlassBatchMaterials, CostNeedsEveryPriceAndCarbonDioxideIsPerTonneOfGlassMelted) {
    const batch::GlassBatchResult result = solve(plantGlass());
    // 76,0972 x 1200 + 2,7966 x 30000 + 6,6481 x 3000 + 13,8249 x 2500 + 23,9408 x 21000 +
    // 1,4672 x 60000 руб per million grams, for 100,0500 g of glass.
    ASSERT_TRUE(result.cost && result.costPerTonne);
    EXPECT_NEAR(static_cast<double>(*result.cost), 0.82051, 0.000005);
    EXPECT_NEAR(static_cast<double>(*result.costPerTonne), 8201.0, 0.1);
    EXPECT_TRUE(result.unpriced.isEmpty());
    EXPECT_EQ(batch::fixedText(result.carbonDioxidePerTonne, 15, 2), QStringLiteral("198,05"));

    // Half the glass from cullet: half the CO2 for nearly the same tonne melted, 100,025 g.
    GlassCompositionSheet sheet = plantGlass();
    sheet.cullet = QStringLiteral("50");
    const batch::GlassBatchResult half = solve(sheet);
    EXPECT_EQ(batch::fixedText(half.carbonDioxidePerTonne, 15, 2), QStringLiteral("99,05"));
    // The cullet itself is not priced: the batch costs half as much for the same tonne.
    EXPECT_NEAR(static_cast<double>(*half.costPerTonne), 4101.5, 0.1);

    // A formula has no price; coal burns to CO2 on top of the carbonates'.
    sheet.rows[4][2] = QStringLiteral("Na2CO3");
    sheet.rows.push_back(addition("C", "0,05"));
    const batch::GlassBatchResult coal = solve(sheet);
    EXPECT_FALSE(coal.cost || coal.costPerTonne);
    EXPECT_EQ(coal.unpriced, (QStringList{QStringLiteral("Na2CO3"), QStringLiteral("C")}));
    EXPECT_NEAR(static_cast<double>(coal.carbonDioxide - half.carbonDioxide),
                static_cast<double>(0.05L * massOf("CO2") / massOf("C")), 1e-9);
}

// The sand's moisture from the library is in the figures of the starter library's test.
TEST_F(GlassBatchMaterials, LibraryPurityAndMoistureAreTheDefaultsOfEmptyCells) {
    GlassCompositionSheet sheet = plantGlass();
    sheet.rows[4][2] = QStringLiteral(" Сода (влажная) ");
    const batch::RawMaterialRow soda = prepareGlassBatch(sheet, plantLibrary()).materials[4];
    EXPECT_EQ(std::tuple(soda.purity, soda.moisture, soda.price), std::tuple(0.98L, 0.01L, Extended(20000)));
    sheet.rows[4][3] = QStringLiteral("100");
    sheet.rows[4][4] = QStringLiteral("0");
    const batch::RawMaterialRow typed = prepareGlassBatch(sheet, plantLibrary()).materials[4];
    EXPECT_EQ(std::pair(typed.purity, typed.moisture), std::pair(Extended(1), Extended(0)));
    // Without a library the same names are no formulas.
    EXPECT_TRUE(failureOf([&] {
                    prepareGlassBatch(plantGlass());
                }).startsWith(QStringLiteral("Строка 1: Ошибка в формуле «Песок (пример)»")));
}

TEST_F(GlassBatchMaterials, RowsAndAdditionsThatCannotBeWeighedAreRefused) {
    const auto with = [](CompositionRowText extra, int index = -1) {
        GlassCompositionSheet sheet = plantGlass();
        if (index < 0)
            sheet.rows.push_back(extra);
        else
            sheet.rows[static_cast<size_t>(index)] = extra;
        return sheet;
    };
    RawMaterialLibrary library = plantLibrary();
    library.materials[1].analysis.back().percent = 11.7L; // the dolomite's MgO 10 % short
    const struct {
        GlassCompositionSheet sheet;
        RawMaterialLibrary library;
        std::string message;
    } cases[] = {
        {with(row("Na2O", "14", "Сода", "", "", "", "1"), 4), plantLibrary(),
         "Строка 5: для сырья Сода указаны и оксид Na2O, и заданное количество — оставьте что-то одно!"},
        {with(row("SiO2", "72", "Песок (пример)", "99"), 0), plantLibrary(),
         "Строка 1: сырьё Песок (пример) задано анализом, чистота для него не указывается!"},
        {with(row("", "", "Na2SO4", "", "", "50", "1")), plantLibrary(),
         "Строка 7: у добавки Na2SO4 нет оксида, улетучивание для неё не указывается!"},
        {with(addition("", "1")), plantLibrary(), "Строка 7: укажите сырьё для заданного количества!"},
        {with(addition("Na2SO4", "")), plantLibrary(),
         "Строка 7: укажите для сырья Na2SO4 оксид, который оно вносит, или заданное количество!"},
        {with(addition("Na2SO4", "1 г")), plantLibrary(),
         "Строка 7, столбец «Задано, г на 100 г стекла»: не удалось прочитать число «1 г»!"},
        {with(addition("Na2SO4", "100,001")), plantLibrary(),
         "Заданное количество сырья Na2SO4 должно быть от 0 до 100 г на 100 г стекла!"},
        // 40 g of sulfate bring 17,45 g Na2O, more than the 14 g of the glass.
        {with(addition("Na2SO4", "40")), plantLibrary(),
         "Добавка Na2SO4 (40,0000 г) вносит больше Na2O, чем нужно стеклу: уменьшите её количество!"},
        {[&] {
             GlassCompositionSheet sheet = with(addition("Na2SO4", "20"));
             sheet.rows.push_back(addition("NaNO3", "20", "5"));
             return sheet;
         }(),
         plantLibrary(),
         "Добавки Na2SO4 (20,0000 г), NaNO3 (20,0000 г) вносят больше Na2O, чем нужно стеклу: уменьшите их "
         "количество!"},
        {plantGlass(), library,
         "Строка 4: Справочник сырья, строка 3 («Доломит (пример)»): оксиды и ППП в сумме дают 90 %, а "
         "должны "
         "давать 100 ± 0,5!"},
        {with(addition("Песок (пример)", "1")), plantLibrary(),
         "Сырьё Песок (пример) указано в строках 1 и 7: каждое сырьё — в одной строке!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            failureOf([&] { batch::solveGlassBatch(prepareGlassBatch(c.sheet, c.library)); }).toStdString(),
            c.message);

    // Fixed amounts alone: nothing to solve for, and the window may ask for raw materials first.
    const GlassCompositionSheet onlyAdditions{
        {addition("Na2SO4", "1")}, false, QStringLiteral("100"), QString()};
    EXPECT_EQ(failureOf([&] { solve(onlyAdditions); }), QStringLiteral("Введите состав стекла!"));
    EXPECT_FALSE(namesNoRawMaterial(onlyAdditions));
    EXPECT_TRUE(namesNoRawMaterial({{row("SiO2", "100", " ")}, false, QString(), QString()}));
}

TEST_F(GlassBatchMaterials, BatchTableWeighsAnalysedMaterialsAndAdditionsAlike) {
    GlassCompositionSheet sheet = plantGlass();
    sheet.rows.push_back(addition("Na2SO4", "0,8"));
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("20");
    const batch::GlassBatchProblem problem = prepareGlassBatch(sheet, plantLibrary());
    const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
    const std::vector<batch::BatchTableRow> rows = batch::batchTableRows(problem, result);
    batch::TextGrid table, summary;
    batch::setupBatchTable(table);
    batch::setupBatchSummary(summary);
    for (const batch::BatchTableRow& r : rows)
        batch::addSubstanceRow(table, {r.formula, r.molarMass, r.moleFraction, r.totalMass});
    ASSERT_EQ(batch::calculateBatchWeights(table, summary, static_cast<int>(rows.size())), QString());
    QStringList names;
    for (int r = 1; r <= 7; ++r) {
        names << table.cell(0, r) + u'/' + table.cell(1, r);
        EXPECT_NEAR(static_cast<double>(batch::textToNumber(table.cell(4, r))),
                    static_cast<double>(result.weighed[static_cast<size_t>(r) - 1]), 0.0001);
    }
    EXPECT_EQ(names.join(u' ').toStdString(),
              std::string("Песок (пример)/100 Al(OH)3/78,00361 CaCO3/100,0882 "
                          "Доломит (пример)/100 Na2CO3/105,9878 K2CO3/138,2122 "
                          "Na2SO4/142,0412"));
}

} // namespace
} // namespace chemistry
