// The batch of a glass whose raw materials come from the starter library as the build installs
// it: the worked example of the composition window, every figure as the window shows it.
#include "batch/GlassBatch.h"
#include "chemistry/GlassBatchSetup.h"
#include "storage/RawMaterialsFile.h"

#include <gtest/gtest.h>

namespace {

QString shown(batch::Extended value, int decimals) {
    return batch::fixedText(value, 15, decimals);
}

TEST(GlassBatchFromLibrary, ContainerGlassFromSandAndDolomiteOfTheStarterLibrary) {
    batch::setDecimalSeparator(u',');
    const chemistry::RawMaterialLibrary library =
        storage::readRawMaterialLibrary(QStringLiteral(VELTRONA_SOURCE_DIR "/data/RawMaterials.csv"));
    batch::GlassCompositionSheet sheet;
    const char* rows[][3] = {
        {"SiO2", "72", "Песок (пример)"},   {"Al2O3", "2", "Al(OH)3"}, {"CaO", "8", "CaCO3"},
        {"MgO", "3", " Доломит (пример) "}, {"Na2O", "14", "Na2CO3"},  {"K2O", "1", "K2CO3"}};
    for (const auto& row : rows)
        sheet.rows.push_back(
            {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2])});
    sheet.glassMass = QStringLiteral("100");

    const batch::GlassBatchProblem problem = chemistry::prepareGlassBatch(sheet, library);
    const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
    QStringList weighed;
    for (const batch::Extended grams : result.weighed)
        weighed << shown(grams, 4);
    EXPECT_EQ(weighed.join(u' '), QStringLiteral("76,0972 2,7966 6,6481 13,8249 23,9408 1,4672"));
    // The sand's 5 % moisture comes from the library; the dolomite has none.
    EXPECT_EQ(shown(result.dry[0], 4), QStringLiteral("72,2923"));
    EXPECT_EQ(result.dry[3], result.weighed[3]);
    EXPECT_EQ(shown(result.batchMass, 4), QStringLiteral("124,7748"));

    // Fe2O3 of the sand and the dolomite comes on top of the composition.
    EXPECT_EQ(result.glassOxides.join(u' '), QStringLiteral("SiO2 Al2O3 CaO MgO Na2O K2O Fe2O3"));
    EXPECT_EQ(shown(result.glassFromBatch, 4), QStringLiteral("100,0500"));
    EXPECT_EQ(shown(result.glassMassPercent[6], 4), QStringLiteral("0,0499"));
    EXPECT_EQ(shown(result.glassMassPercent[0], 4), QStringLiteral("71,9640"));
    EXPECT_FALSE(result.askedPercent[6].has_value());
    EXPECT_EQ(result.askedPercent[0], 72);
    EXPECT_EQ(shown(result.carbonDioxide, 3), QStringLiteral("19,815"));
    EXPECT_EQ(shown(result.carbonDioxidePerTonne, 2), QStringLiteral("198,05"));
    // Both analyses add up to 100 %: every gram weighed is glass or gas (the ППП that is no CO2
    // leaves as water, with the sand's moisture).
    EXPECT_NEAR(static_cast<double>(result.glassFromBatch + result.carbonDioxide + result.water +
                                    result.otherGases + result.impurities),
                static_cast<double>(result.batchMass), 1e-6);
    // No material of the example has a price in the starter library.
    EXPECT_FALSE(result.cost.has_value());
    EXPECT_EQ(result.unpriced.size(), 6);
}

} // namespace
