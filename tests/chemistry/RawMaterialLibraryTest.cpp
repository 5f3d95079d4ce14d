// The raw-materials model: what a gram of a material brings, whether given by its formula or by
// its analysis, where an analysis stops adding up, and the import of another library.
#include "chemistry/RawMaterialLibrary.h"
#include "FailureOf.h"
#include "chemistry/Formula.h"

#include <gtest/gtest.h>

namespace chemistry {
namespace {

batch::Extended massOf(const char* formula) {
    return molarMass(parseFormula(QString::fromUtf8(formula)));
}

struct Part {
    const char* formula;   // an oxide, CO2 or H2O
    batch::Extended units; // per formula unit of the material
};

// The certificate a perfectly pure compound would have, from the molar masses alone.
RawMaterial ownAnalysis(const char* formula, const std::vector<Part>& parts) {
    RawMaterial material;
    material.name = QStringLiteral("анализ ") + QString::fromUtf8(formula);
    const batch::Extended whole = massOf(formula);
    batch::Extended loss = 0, carbonDioxide = 0;
    for (const Part& part : parts) {
        const batch::Extended percent = 100 * part.units * massOf(part.formula) / whole;
        const QString oxide = QString::fromUtf8(part.formula);
        if (oxide == u"CO2")
            carbonDioxide += percent;
        if (oxide == u"CO2" || oxide == u"H2O")
            loss += percent;
        else
            material.analysis.push_back({oxide, percent});
    }
    material.lossOnIgnition = loss;
    material.carbonDioxide = carbonDioxide;
    return material;
}

TEST(RawMaterialLibrary, FormulaAndItsOwnAnalysisBringTheSameGramsPerGram) {
    const struct {
        const char* formula;
        std::vector<Part> parts;
    } cases[] = {
        {"CaCO3", {{"CaO", 1}, {"CO2", 1}}},
        {"CaMg(CO3)2", {{"CaO", 1}, {"MgO", 1}, {"CO2", 2}}},
        {"Al(OH)3", {{"Al2O3", 0.5L}, {"H2O", 1.5L}}},
        {"Al2Si2O5(OH)4", {{"Al2O3", 1}, {"SiO2", 2}, {"H2O", 2}}},
        {"Na2B4O7·10H2O", {{"Na2O", 1}, {"B2O3", 2}, {"H2O", 10}}},
        {"Na2SO4", {{"Na2O", 1}, {"SO3", 1}}},
        {"NaHCO3", {{"Na2O", 0.5L}, {"CO2", 1}, {"H2O", 0.5L}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        RawMaterial byFormula;
        byFormula.name = QStringLiteral("формула");
        byFormula.formula = QString::fromUtf8(c.formula);
        const RawMaterial analysed = ownAnalysis(c.formula, c.parts);
        EXPECT_EQ(failureOf([&] { checkRawMaterial(analysed, 2); }), QStringLiteral("<no failure>"));

        const DryGramYield fromFormula = dryGramYield(byFormula), fromAnalysis = dryGramYield(analysed);
        ASSERT_EQ(fromFormula.oxides.size(), fromAnalysis.oxides.size());
        for (size_t i = 0; i < fromFormula.oxides.size(); ++i) {
            EXPECT_EQ(fromFormula.oxides[i].oxide, fromAnalysis.oxides[i].oxide);
            EXPECT_NEAR(double(fromFormula.oxides[i].grams), double(fromAnalysis.oxides[i].grams), 1e-15);
        }
        EXPECT_NEAR(double(fromFormula.carbonDioxide), double(fromAnalysis.carbonDioxide), 1e-15);
        EXPECT_NEAR(double(fromFormula.water), double(fromAnalysis.water), 1e-15);
        EXPECT_NEAR(double(fromFormula.otherGases), 0, 1e-15);
        EXPECT_EQ(fromFormula.inert, 0);
        EXPECT_EQ(fromAnalysis.otherGases, 0);
        EXPECT_EQ(fromAnalysis.inert, 0);
    }
}

TEST(RawMaterialLibrary, PurityScalesAFormulaAndTheRestIsInert) {
    RawMaterial soda;
    soda.name = QStringLiteral("Сода");
    soda.formula = QStringLiteral(" Na2CO3 ");
    const DryGramYield pure = dryGramYield(soda);
    soda.purity = 98;
    const DryGramYield impure = dryGramYield(soda);
    ASSERT_EQ(impure.oxides.size(), 1u);
    EXPECT_EQ(impure.oxides[0].oxide, QStringLiteral("Na2O"));
    EXPECT_NEAR(double(impure.oxides[0].grams), 0.98 * double(pure.oxides[0].grams), 1e-15);
    EXPECT_NEAR(double(pure.oxides[0].grams), double(massOf("Na2O") / massOf("Na2CO3")), 1e-15);
    EXPECT_NEAR(double(impure.carbonDioxide), 0.98 * double(massOf("CO2") / massOf("Na2CO3")), 1e-15);
    EXPECT_NEAR(double(impure.inert), 0.02, 1e-15);

    // A nitrate leaves nitrogen oxides and oxygen; coal takes oxygen up.
    RawMaterial nitrate{QStringLiteral("Селитра"), QStringLiteral("KNO3"), {}, {}, {}, {}, {}, {}};
    EXPECT_NEAR(double(dryGramYield(nitrate).otherGases), double(1 - massOf("K2O") / 2 / massOf("KNO3")),
                1e-15);
    RawMaterial coal{QStringLiteral("Уголь"), QStringLiteral("C"), {}, {}, {}, {}, {}, {}};
    const DryGramYield burnt = dryGramYield(coal);
    EXPECT_TRUE(burnt.oxides.empty());
    EXPECT_NEAR(double(burnt.carbonDioxide + burnt.otherGases), 1, 1e-15);
    EXPECT_LT(burnt.otherGases, 0);
}

TEST(RawMaterialLibrary, AnAnalysisAddsUpToAHundredWithinHalfAPercent) {
    batch::setDecimalSeparator(u',');
    const struct {
        batch::Extended silica, loss;
        const char* message;
    } cases[] = {
        {98.4L, 0.1L, nullptr},
        {99.4L, 0.1L, nullptr},
        {98.39L, 0.1L,
         "Справочник сырья, строка 7 («Песок»): оксиды и ППП в сумме дают 99,49 %, а должны давать "
         "100 ± 0,5!"},
        {99.41L, 0.1L,
         "Справочник сырья, строка 7 («Песок»): оксиды и ППП в сумме дают 100,51 %, а должны давать "
         "100 ± 0,5!"},
        {100.41L, 0, "Справочник сырья, строка 7 («Песок»): в столбце «SiO2» число больше 100!"},
    };
    for (const auto& c : cases) {
        RawMaterial sand;
        sand.name = QStringLiteral(" Песок ");
        sand.analysis = {{QStringLiteral("SiO2"), c.silica}, {QStringLiteral("Al2O3"), 1}};
        sand.lossOnIgnition = c.loss;
        EXPECT_EQ(failureOf([&] { checkRawMaterial(sand, 7); }),
                  c.message ? QString::fromUtf8(c.message) : QStringLiteral("<no failure>"))
            << failureOf([&] { checkRawMaterial(sand, 7); }).toStdString();
    }
    batch::setDecimalSeparator(u'.');
}

RawMaterial named(const char* name, const char* formula) {
    RawMaterial material;
    material.name = QString::fromUtf8(name);
    material.formula = QString::fromUtf8(formula);
    return material;
}

TEST(RawMaterialLibrary, ImportNamesTheCollisionsAndReplacesOnlyWhatIsAskedFor) {
    RawMaterialLibrary library{{"SiO2", "CaO"}, {named("Сода", "Na2CO3"), named("Мел", "CaCO3")}};
    RawMaterialLibrary incoming{
        {"CaO", "MgO"},
        {named("Доломит", "CaMg(CO3)2"), named(" Мел ", "CaCO3·H2O"), named("Поташ", "K2CO3")}};
    EXPECT_EQ(collidingRawMaterials(library, incoming), QStringList{QStringLiteral("Мел")});

    const RawMaterialLibrary kept = mergeRawMaterials(library, incoming, {});
    EXPECT_EQ(kept.oxideColumns, (QStringList{"SiO2", "CaO", "MgO"}));
    ASSERT_EQ(kept.materials.size(), 4u);
    EXPECT_EQ(kept.materials[1].formula, QStringLiteral("CaCO3"));
    EXPECT_EQ(kept.materials[2].name, QStringLiteral("Доломит"));
    EXPECT_EQ(kept.materials[3].name, QStringLiteral("Поташ"));

    const RawMaterialLibrary replaced = mergeRawMaterials(library, incoming, {QStringLiteral("Мел")});
    ASSERT_EQ(replaced.materials.size(), 4u);
    EXPECT_EQ(replaced.materials[1].formula, QStringLiteral("CaCO3·H2O"));
    EXPECT_NE(replaced.find(QStringLiteral("Поташ")), nullptr);

    RawMaterialLibrary crowded;
    for (int i = 0; i < kMaxRawMaterials - 1; ++i) {
        crowded.materials.push_back(named("x", "SiO2"));
        crowded.materials.back().name += QString::number(i);
    }
    EXPECT_EQ(failureOf([&] { mergeRawMaterials(crowded, incoming, {}); }),
              QStringLiteral(
                  "После импорта в справочнике было бы 1002 материалов, а их может быть не больше 1000!"));
    EXPECT_EQ(mergeRawMaterials(crowded, RawMaterialLibrary{{}, {named("y", "SiO2")}}, {}).materials.size(),
              size_t(kMaxRawMaterials));
}

} // namespace
} // namespace chemistry
