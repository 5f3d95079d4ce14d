#include "batch/GlassBatch.h"
#include "FailureOf.h"
#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/NumberText.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/GlassRawMaterials.h"
#include "chemistry/OxideYield.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace chemistry {
namespace {

using batch::CompositionRowText;
using batch::Extended;
using batch::GlassCompositionSheet;

CompositionRowText row(const char* oxide, const char* content, const char* material, const char* purity = "",
                       const char* moisture = "", const char* volatilisation = "") {
    return {QString::fromUtf8(oxide),  QString::fromUtf8(content),  QString::fromUtf8(material),
            QString::fromUtf8(purity), QString::fromUtf8(moisture), QString::fromUtf8(volatilisation)};
}

GlassCompositionSheet containerGlass() {
    return {{row("SiO2", "72", "SiO2"), row("Al2O3", "2", "Al(OH)3"), row("CaO", "8", "CaCO3"),
             row("MgO", "3", "CaMg(CO3)2"), row("Na2O", "14", "Na2CO3"), row("K2O", "1", "K2CO3")},
            false,
            QStringLiteral("100"),
            QStringLiteral("0")};
}

batch::GlassBatchResult solve(const GlassCompositionSheet& sheet) {
    return batch::solveGlassBatch(prepareGlassBatch(sheet));
}

void expectGrams(const batch::GlassBatchResult& result, std::vector<double> grams) {
    ASSERT_EQ(result.weighed.size(), grams.size());
    for (size_t i = 0; i < grams.size(); ++i)
        EXPECT_NEAR(static_cast<double>(result.weighed[i]), grams[i], 0.00005) << "row " << i + 1;
}

class GlassBatch : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(u','); }
};

TEST_F(GlassBatch, ContainerGlassFromCarbonatesAndHydrate) {
    const batch::GlassBatchResult result = solve(containerGlass());
    expectGrams(result, {72.0000, 3.0601, 6.8281, 13.7257, 23.9408, 1.4672});
    EXPECT_NEAR(static_cast<double>(result.batchMass), 121.0219, 0.00005);
    EXPECT_NEAR(static_cast<double>(result.glassYield), 82.6296, 0.00005);
    EXPECT_EQ(result.culletMass, 0);
    // Everything the batch loses is CO2 and water: nothing else leaves.
    EXPECT_NEAR(static_cast<double>(result.carbonDioxide + result.water), 21.0219, 0.00005);
    EXPECT_NEAR(static_cast<double>(result.otherGases), 0, 1e-9);
    // The check column gives the composition back.
    const double wanted[] = {72, 2, 8, 3, 14, 1};
    for (size_t o = 0; o < 6; ++o)
        EXPECT_NEAR(static_cast<double>(result.glassMassPercent[o]), wanted[o], 1e-12);
}

TEST_F(GlassBatch, LossesPurityMoistureAndCullet) {
    GlassCompositionSheet sheet = containerGlass();
    sheet.rows[0][4] = QStringLiteral("5");  // sand with 5 % moisture
    sheet.rows[4][3] = QStringLiteral("98"); // soda of 98 % purity
    sheet.rows[4][5] = QStringLiteral("3");  // Na2O volatilises by 3 %
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("20");
    const batch::GlassBatchResult result = solve(sheet);
    expectGrams(result, {606.3158, 24.4810, 54.6252, 109.8052, 201.4798, 11.7373});
    EXPECT_NEAR(static_cast<double>(result.batchMass), 1008.4444, 0.00005);
    EXPECT_EQ(result.culletMass, 200);
    // Every gram of the batch is accounted for: glass, gases, the volatilised oxide, the impurity.
    EXPECT_NEAR(static_cast<double>(result.glassFromBatch + result.carbonDioxide + result.water +
                                    result.otherGases + result.volatilised + result.impurities),
                static_cast<double>(result.batchMass), 1e-9);
    EXPECT_NEAR(static_cast<double>(result.impurities), 201.4798 * 0.02, 0.00005);
    // The loss is made up for, so the glass still has the composition asked for.
    EXPECT_NEAR(static_cast<double>(result.glassMassPercent[4]), 14, 1e-12);
    EXPECT_NEAR(static_cast<double>(result.glassYield), 800 / 1008.44438575194 * 100, 1e-9);
}

TEST_F(GlassBatch, MolePercentIsTurnedIntoMassWithTheOxideMasses) {
    // 75 mol % SiO2 and 25 mol % Na2O weigh as 74,4135 g and 25,5865 g in 100 g of glass.
    const batch::GlassBatchResult result = solve(
        {{row("SiO2", "75", "SiO2"), row("Na2O", "25", "Na2CO3")}, true, QStringLiteral("100"), QString()});
    expectGrams(result, {74.4135, 25.5865 * 105.9878 / 61.979});
    EXPECT_NEAR(static_cast<double>(result.glassMolePercent[0]), 75, 1e-12);
}

TEST_F(GlassBatch, MaterialsOfSeveralOxidesAreBalancedTogether) {
    // Feldspar brings K2O and SiO2 with its Al2O3, borax brings Na2O with its B2O3 and water.
    const batch::GlassBatchResult result =
        solve({{row("SiO2", "68", "SiO2"), row("Al2O3", "3", "KAlSi3O8"), row("K2O", "4", "K2CO3"),
                row("B2O3", "10", "Na2B4O7·10H2O"), row("Na2O", "15", "Na2CO3")},
               false,
               QStringLiteral("100"),
               QString()});
    const double feldspar = 2 * 3 / 101.9612, borax = 10 / 139.2364; // moles
    expectGrams(result, {68 - 3 * feldspar * 60.0848, feldspar * 278.3367,
                         (4 - feldspar / 2 * 94.2034) / 94.2034 * 138.2122, borax * 381.3688,
                         (15 - borax * 61.979) / 61.979 * 105.9878});
    const double wanted[] = {68, 3, 4, 10, 15};
    for (size_t o = 0; o < 5; ++o)
        EXPECT_NEAR(static_cast<double>(result.glassMassPercent[o]), wanted[o], 1e-12);
}

TEST_F(GlassBatch, EveryListedRawMaterialYieldsGlassOxides) {
    for (const GlassRawMaterial& material : glassRawMaterials()) {
        SCOPED_TRACE(material.formula.toStdString());
        const RawMaterialYield yield = rawMaterialYield(material.formula);
        EXPECT_FALSE(yield.oxides.empty());
        EXPECT_GT(yield.molarMass, 0);
    }
    EXPECT_GE(glassRawMaterials().size(), 25u);
}

TEST_F(GlassBatch, RefusesWhatCannotBeMelted) {
    const auto with = [](int index, CompositionRowText replacement) {
        GlassCompositionSheet sheet = containerGlass();
        sheet.rows[static_cast<size_t>(index)] = replacement;
        return sheet;
    };
    const struct {
        GlassCompositionSheet sheet;
        std::string message;
    } cases[] = {
        {with(0, row("SiO2", "71", "SiO2")),
         "Сумма содержаний оксидов равна 99, а должна быть 100% (±0,01)!"},
        {with(0, row("SiO3", "72", "SiO2")), "Строка 1: неизвестный оксид «SiO3»!"},
        {with(2, row("CaO", "8", "Ca(CO3")),
         "Строка 3: " + failureOf([] { rawMaterialYield(QStringLiteral("Ca(CO3")); }).toStdString()},
        {with(2, row("CaO", "8", "Na2CO3")),
         "Сырьё Na2CO3 указано в строках 3 и 5: каждое сырьё — в одной строке!"},
        // K2O would come on top, but nothing brings Fe2O3.
        {with(5, row("Fe2O3", "1", "K2CO3")), batch::kGlassSingular},
        {with(2, row("CaO", "8", "CaF2")),
         "Строка 3: Сырьё CaF2 не годится: элемент F не переходит ни в один оксид стекла!"},
        {with(5, row("K2O", "1", "H2O")), batch::kGlassSingular},
        {[&] {
             GlassCompositionSheet sheet = with(2, row("CaO", "3", "CaCO3"));
             sheet.rows[3][1] = QStringLiteral("8");
             return sheet;
         }(),
         // 8 g MgO take 8 x 184,4014 / 40,3044 = 36,6017 g of dolomite, which bring 11,1 g CaO.
         "Из выбранного сырья этот состав получить нельзя: CaO с избытком вносит CaMg(CO3)2 (36,6017 г); "
         "CaCO3 потребовалось бы в отрицательном количестве!"},
        {with(2, row("CaO", "x", "CaCO3")),
         "Строка 3, столбец «Содержание»: не удалось прочитать число «x»!"},
        {with(2, row("CaO", " ", "CaCO3")), "Строка 3, столбец «Содержание»: введите число!"},
        {with(4, row("Na2O", "14", "Na2CO3", "98.5")),
         "Строка 5, столбец «Чистота, %»: не удалось прочитать число «98.5»!"},
        {with(0, row("SiO2", "72", "SiO2", "", (std::string(45, '5') + "x").c_str())),
         "Строка 1, столбец «Влажность, %»: не удалось прочитать число «" + std::string(40, '5') + "…»!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { solve(c.sheet); }).toStdString(), c.message);

    GlassCompositionSheet sheet = containerGlass();
    for (const auto& [mass, cullet, message] :
         {std::tuple{"", "0", "Поле «Масса стекла, г»: введите число!"},
          std::tuple{"100", "2,5%", "Поле «Стеклобой, %»: не удалось прочитать число «2,5%»!"}}) {
        sheet.glassMass = QString::fromUtf8(mass);
        sheet.cullet = QString::fromUtf8(cullet);
        EXPECT_EQ(failureOf([&] { solve(sheet); }).toStdString(), message);
    }
}

// Each input is bounded to what a batch can be; at the bounds a result is finite and whole.
TEST_F(GlassBatch, InputsBeyondTheirBoundsAreRefused) {
    const auto edited = [](const char* mass, const char* cullet, int row, int column, const char* text) {
        GlassCompositionSheet sheet = containerGlass();
        sheet.glassMass = QString::fromUtf8(mass);
        sheet.cullet = QString::fromUtf8(cullet);
        sheet.rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = QString::fromUtf8(text);
        return sheet;
    };
    const char* const kMass = "Масса стекла должна быть от 0,000001 до 1000000000 г!";
    const char* const kSodaPurity = "Чистота сырья Na2CO3 должна быть больше 0,01% и не больше 100%!";
    const struct {
        GlassCompositionSheet sheet;
        const char* message; // nullptr: calculated
    } cases[] = {
        {edited("0,000001", "0", 0, 3, ""), nullptr},
        {edited("0,00000099", "0", 0, 3, ""), kMass},
        {edited("1E9", "0", 0, 3, ""), nullptr},
        {edited("1000000000,001", "0", 0, 3, ""), kMass},
        {edited("1E4000", "0", 4, 3, "1E-1000"), kMass},
        {edited("100", "0", 4, 3, "1E-1000"), kSodaPurity},
        {edited("100", "0", 4, 3, "0,01"), kSodaPurity},
        {edited("100", "0", 4, 3, "0,0100001"), nullptr},
        {edited("100", "0", 0, 1, "-0,000001"), "Содержание оксида SiO2 должно быть от 0 до 100%!"},
        {edited("100", "0", 0, 1, "100,001"), "Содержание оксида SiO2 должно быть от 0 до 100%!"},
        {edited("100", "99,999999999", 4, 4, "99,999999999"), nullptr},
        {edited("1E9", "0", 4, 5, "99,999999999"), nullptr},
    };
    for (const auto& c : cases) {
        if (c.message) {
            EXPECT_EQ(failureOf([&] { solve(c.sheet); }).toStdString(), c.message);
            continue;
        }
        const batch::GlassBatchResult result = solve(c.sheet);
        for (const batch::Extended grams : result.weighed)
            EXPECT_TRUE(std::isfinite(grams) && grams >= 0);
        EXPECT_NEAR(static_cast<double>(result.glassMassPercent[4]), 14, 1e-9);
    }
}

// A result that no batch can have is refused however the problem came about.
TEST_F(GlassBatch, ResultThatIsNotAFiniteMassIsRefused) {
    for (const auto& spoil : std::initializer_list<void (*)(batch::GlassBatchProblem&)>{
             [](batch::GlassBatchProblem& p) { p.materials[0].water = 1e4000L; },
             [](batch::GlassBatchProblem& p) {
                 for (batch::RawMaterialRow& material : p.materials)
                     material.price = 1000;
                 p.materials[1].price = 1e4000L;
             },
             [](batch::GlassBatchProblem& p) { p.materials[2].carbonDioxide = -1e6L; }}) {
        batch::GlassBatchProblem problem = prepareGlassBatch(containerGlass());
        spoil(problem);
        EXPECT_EQ(failureOf([&] { batch::solveGlassBatch(problem); }).toStdString(), batch::kGlassImpossible);
    }
}

// A negative amount that only rounding made is zero; a real one is refused, naming the raw material
// that brings the oxide in excess.
TEST_F(GlassBatch, ShortfallBeyondAMillionthIsRefusedAndRoundingIsNot) {
    // Feldspar for 1 g K2O, 2 x 1 / 94,2034 mol = 5,9093 g, brings 1 / 94,2034 x 101,9612 = 1,0824 g
    // Al2O3, more than the 1,07 g asked; the Na2O that nearly all volatilises makes the soda's amount
    // 10^11 times the others.
    const GlassCompositionSheet feldspar{{row("SiO2", "96,93", "SiO2"), row("K2O", "1", "KAlSi3O8"),
                                          row("Al2O3", "1,07", "Al(OH)3"),
                                          row("Na2O", "1", "Na2CO3", "", "", "99,999999999")},
                                         false,
                                         QStringLiteral("100"),
                                         QString()};
    const std::string refusal = "Из выбранного сырья этот состав получить нельзя: Al2O3 с избытком вносит "
                                "KAlSi3O8 (5,9093 г); Al(OH)3 потребовалось бы в отрицательном количестве!";
    EXPECT_EQ(failureOf([&] { solve(feldspar); }).toStdString(), refusal);

    // CaO exactly as the dolomite brings it, then a little less: the limestone comes out at zero
    // until the shortfall passes a millionth of the CaO.
    const Extended perMgO = oxideMolarMass(*findGlassOxide(QStringLiteral("CaO"))) /
                            oxideMolarMass(*findGlassOxide(QStringLiteral("MgO")));
    for (const auto& [share, refused] :
         {std::pair{1.0L, false}, std::pair{1 + 1e-12L, false}, std::pair{1 - 1e-12L, false},
          std::pair{1 - 0.9e-6L, false}, std::pair{1 - 1.1e-6L, true}}) {
        const Extended lime = 3 * perMgO * share;
        GlassCompositionSheet sheet = containerGlass();
        sheet.rows[2][1] = batch::generalText(lime, 18);
        sheet.rows[0][1] = batch::generalText(100 - 2 - 3 - 14 - 1 - lime, 18);
        SCOPED_TRACE(sheet.rows[2][1].toStdString());
        if (refused) {
            EXPECT_TRUE(failureOf([&] { solve(sheet); })
                            .startsWith(QStringLiteral(
                                "Из выбранного сырья этот состав получить нельзя: CaO с избытком вносит "
                                "CaMg(CO3)2 (13,7257 г); CaCO3 потребовалось бы")));
            continue;
        }
        const batch::GlassBatchResult result = solve(sheet);
        EXPECT_GE(result.weighed[2], 0);
        EXPECT_LT(result.weighed[2], 1e-5L);
        EXPECT_NEAR(static_cast<double>(result.glassMassPercent[2]), static_cast<double>(lime), 1e-5);
    }
}

TEST_F(GlassBatch, BatchTableWeighsTheSameGrams) {
    GlassCompositionSheet sheet = containerGlass();
    sheet.rows[4][3] = QStringLiteral("98");
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("20");
    const batch::GlassBatchProblem problem = prepareGlassBatch(sheet);
    const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
    batch::TextGrid table, summary;
    batch::setupBatchTable(table);
    batch::setupBatchSummary(summary);
    const std::vector<batch::BatchTableRow> rows = batch::batchTableRows(problem, result);
    for (const batch::BatchTableRow& r : rows)
        batch::addSubstanceRow(table, {r.formula, r.molarMass, r.moleFraction, r.totalMass});
    EXPECT_EQ(table.cell(1, 4), QStringLiteral("184,4014"));
    ASSERT_EQ(batch::calculateBatchWeights(table, summary, static_cast<int>(rows.size())), QString());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_NEAR(static_cast<double>(batch::textToNumber(table.cell(4, static_cast<int>(i) + 1))),
                    static_cast<double>(result.weighed[i]), 0.0001);
}

} // namespace
} // namespace chemistry
