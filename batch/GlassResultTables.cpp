#include "batch/GlassResultTables.h"

#include "batch/BatchTables.h"

#include <QStringList>
#include <cmath>

namespace batch {

namespace {

const char* const kMaterialHeaders[kGlassResultColumns] = {"Сырьё", "Навеска, г", "Сухое, г", "В шихте, %"};
const char* const kOxideHeaders[kGlassResultColumns] = {"Оксид", "В стекле, масс. %", "В стекле, мол. %",
                                                        "Задано, %"};
const char* const kSummaryLabels[kGlassSummaryRows] = {"Шихта, г",
                                                       "Стеклобой, г",
                                                       "Стекло из шихты, г",
                                                       "Газы, г",
                                                       "Выход стекла, %",
                                                       "Сверх состава",
                                                       "CO2 из сырья, кг на 1 т стекла",
                                                       "Стоимость шихты, руб",
                                                       "Стоимость на 1 т стекла, руб"};
enum SummaryRow : int {
    kBatchRow,
    kCulletRow,
    kGlassRow,
    kGasesRow,
    kYieldRow,
    kExtraOxidesRow,
    kCarbonDioxideRow,
    kCostRow,
    kCostPerTonneRow
};
const QString kNone = QStringLiteral("—");

QString grams(Extended value) {
    return fixedText(value, 15, 4);
}

QString roubles(Extended value) {
    return fixedText(value, 15, 2);
}

} // namespace

void setUpGlassResultTables(TextGrid& materials, TextGrid& oxides, TextGrid& summary) {
    for (int c = 0; c < kGlassResultColumns; ++c) {
        materials.setCell(c, 0, QString::fromUtf8(kMaterialHeaders[c]));
        oxides.setCell(c, 0, QString::fromUtf8(kOxideHeaders[c]));
    }
    for (int r = 0; r < kGlassSummaryRows; ++r)
        summary.setCell(0, r, QString::fromUtf8(kSummaryLabels[r]));
}

QString writeGlassBatchResult(const GlassBatchProblem& problem, const GlassBatchResult& result,
                              TextGrid& materials, TextGrid& oxides, TextGrid& summary) {
    clearSubstanceRows(materials);
    clearSubstanceRows(oxides);
    // Raw materials (additions among them) and the oxides of the glass are listed apart.
    for (size_t i = 0; i < problem.materials.size() && i + 1 < static_cast<size_t>(materials.rowCount());
         ++i) {
        const int r = static_cast<int>(i) + 1;
        materials.setCell(0, r, problem.materials[i].name);
        materials.setCell(1, r, grams(result.weighed[i]));
        materials.setCell(2, r, grams(result.dry[i]));
        materials.setCell(3, r, grams(result.batchShare[i]));
    }
    QStringList extra;
    for (qsizetype i = 0; i < result.glassOxides.size() && i + 1 < oxides.rowCount(); ++i) {
        const int r = static_cast<int>(i) + 1;
        const auto o = static_cast<size_t>(i);
        oxides.setCell(0, r, result.glassOxides[i]);
        oxides.setCell(1, r, grams(result.glassMassPercent[o]));
        oxides.setCell(2, r, grams(result.glassMolePercent[o]));
        if (result.askedPercent[o])
            oxides.setCell(3, r, grams(*result.askedPercent[o]));
        else
            extra << result.glassOxides[i] + u' ' + grams(result.glassMassPercent[o]) + QStringLiteral(" %");
    }
    QStringList gases;
    const auto add = [&gases](const QString& label, Extended value) {
        // Traces of rounding are no gas.
        if (std::fabs(value) > 5e-5L)
            gases << label + u' ' + grams(value);
    };
    add(QStringLiteral("CO2"), result.carbonDioxide);
    add(QStringLiteral("H2O"), result.water);
    add(QStringLiteral("NOx, O2"), result.otherGases);
    add(QStringLiteral("улетучилось"), result.volatilised);
    add(QStringLiteral("примеси"), result.impurities);
    summary.setCell(1, kBatchRow, grams(result.batchMass));
    summary.setCell(1, kCulletRow, grams(result.culletMass));
    summary.setCell(1, kGlassRow, grams(result.glassFromBatch));
    summary.setCell(1, kGasesRow, gases.join(QStringLiteral("; ")));
    summary.setCell(1, kYieldRow, grams(result.glassYield));
    summary.setCell(1, kExtraOxidesRow, extra.isEmpty() ? kNone : extra.join(QStringLiteral("; ")));
    summary.setCell(1, kCarbonDioxideRow, roubles(result.carbonDioxidePerTonne));
    if (result.cost && result.costPerTonne) {
        summary.setCell(1, kCostRow, roubles(*result.cost));
        summary.setCell(1, kCostPerTonneRow, roubles(*result.costPerTonne));
    } else {
        summary.setCell(1, kCostRow,
                        QStringLiteral("нет цены: ") + result.unpriced.join(QStringLiteral(", ")));
        summary.setCell(1, kCostPerTonneRow, kNone);
    }
    return gases.join(u'\n');
}

void clearGlassBatchResult(TextGrid& materials, TextGrid& oxides, TextGrid& summary) {
    clearSubstanceRows(materials);
    clearSubstanceRows(oxides);
    for (int r = 0; r < kGlassSummaryRows; ++r)
        summary.setCell(1, r, QString());
}

} // namespace batch
