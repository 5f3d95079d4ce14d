// The glass-batch calculation against random compositions: oxides with the common raw materials,
// with formulas of their own or with analysed materials of a plant's library (one of them of a
// random analysis), fixed additions, purities, moistures, volatilisation, cullet and masses over
// their whole range and beyond, and contents down to the tiniest. Every calculation either fails
// with batch::Failure, or gives masses, shares and costs that are finite and not negative and a
// glass that holds the listed oxides as asked within 0,01 % (the oxides that only the raw
// materials bring come on top), whose raw materials the batch table takes.
//
// Built and run by scripts/fuzz.

#include "FuzzCheck.h"
#include "FuzzLibrary.h"
#include "batch/Failure.h"
#include "batch/GlassBatch.h"
#include "batch/NumberText.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/GlassRawMaterials.h"
#include "chemistry/OxideYield.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using batch::Extended;

QString number(Extended value) {
    return batch::generalText(value, 18);
}

// A share in percent: mostly within its bounds, often at them, sometimes beyond them.
QString percent(FuzzedDataProvider& input) {
    static const char* const edges[] = {"0",       "100",    "99,999999999", "0,0100001",   "0,01",
                                        "1E-1000", "1E4000", "-1E-30",       "100,00000001"};
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return QString();
    case 1:
    case 2:
        return QString::fromLatin1(edges[input.ConsumeIntegralInRange<size_t>(0, std::size(edges) - 1)]);
    default:
        return number(input.ConsumeFloatingPointInRange<double>(0, 100));
    }
}

// A raw material for the oxide: a common one, the oxide itself, or a formula that brings it with
// other oxides, gases or water.
QString material(FuzzedDataProvider& input, const chemistry::GlassOxide& oxide) {
    const auto& common = chemistry::glassRawMaterials();
    static const char* const companions[] = {"",   "CO3", "(OH)2", "Si2O5", "Al2O3",
                                             "Ca", "NO3", "·5H2O", "SO4"};
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
    case 1:
        return common[input.ConsumeIntegralInRange<size_t>(0, common.size() - 1)].formula;
    case 2:
        return QString::fromLatin1(oxide.oxide);
    default:
        return QString::fromLatin1(oxide.element) + QString::number(input.ConsumeIntegralInRange(1, 3)) +
               QString::fromLatin1(
                   companions[input.ConsumeIntegralInRange<size_t>(0, std::size(companions) - 1)]);
    }
}

// Distinct oxides, each with a weight over many orders of magnitude or as in a common glass;
// contents are the weights scaled to 100. Empty when no weight is above zero.
batch::GlassCompositionSheet randomSheet(FuzzedDataProvider& input) {
    const auto& oxides = chemistry::glassOxides();
    batch::GlassCompositionSheet sheet;
    std::vector<Extended> weights;
    std::vector<bool> taken(oxides.size(), false);
    // Mostly few rows, where raw materials of several oxides meet more often.
    const int rows = input.ConsumeIntegralInRange(1, input.ConsumeBool() ? 5 : batch::kCompositionRows);
    Extended weightSum = 0;
    for (int r = 0; r < rows; ++r) {
        // Mostly the oxides of common glasses, so that the raw materials of several oxides find
        // all of theirs in the composition.
        const size_t o = input.ConsumeIntegralInRange<size_t>(0, input.ConsumeBool() ? 7 : oxides.size() - 1);
        if (taken[o])
            continue;
        taken[o] = true;
        Extended weight = 0;
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            break;
        case 1:
            weight = std::pow(10.0L, input.ConsumeIntegralInRange(-30, 2)) *
                     input.ConsumeFloatingPointInRange<double>(0.1, 1);
            break;
        default: // contents of a few percent to most of the glass
            weight = input.ConsumeIntegralInRange(1, 10000);
        }
        weights.push_back(weight);
        weightSum += weight;
        sheet.rows.push_back({QString::fromLatin1(oxides[o].oxide), QString(), material(input, oxides[o]),
                              percent(input), percent(input), percent(input)});
    }
    if (!(weightSum > 0))
        return {};
    for (size_t i = 0; i < weights.size(); ++i)
        sheet.rows[i][1] = number(weights[i] / weightSum * 100);
    return sheet;
}

// Glasses as people make them, with raw materials of several oxides, whose purities, moistures and
// volatilisation the input changes. The first is the feldspar glass whose Al2O3 a volatilisation of
// 99,999999999 % once let go wrong; an input of zero bytes but for that volatilisation
// (tests/fuzz/seeds/GlassBatchFuzz/feldspar) is it.
batch::GlassCompositionSheet knownSheet(FuzzedDataProvider& input, int index) {
    static const char* const glasses[][6][3] = {
        {{"SiO2", "96,93", "SiO2"},
         {"K2O", "1", "KAlSi3O8"},
         {"Al2O3", "1,07", "Al(OH)3"},
         {"Na2O", "1", "Na2CO3"}},
        {{"SiO2", "72", "SiO2"},
         {"Al2O3", "2", "Al(OH)3"},
         {"CaO", "8", "CaCO3"},
         {"MgO", "3", "CaMg(CO3)2"},
         {"Na2O", "14", "Na2CO3"},
         {"K2O", "1", "K2CO3"}},
        {{"SiO2", "80,6", "SiO2"},
         {"B2O3", "12,6", "H3BO3"},
         {"Na2O", "4,2", "Na2B4O7·10H2O"},
         {"Al2O3", "2,2", "Al(OH)3"},
         {"K2O", "0,4", "K2CO3"}},
    };
    batch::GlassCompositionSheet sheet;
    for (const auto& row : glasses[index]) {
        if (!row[0])
            break;
        batch::CompositionRowText text{QString::fromLatin1(row[0]), QString::fromLatin1(row[1]),
                                       QString::fromUtf8(row[2])};
        for (size_t field = 3; field < 6; ++field)
            if (input.ConsumeIntegralInRange(0, 3) == 1)
                text[field] = percent(input);
        sheet.rows.push_back(text);
    }
    return sheet;
}

// A material of a random analysis: a few oxides and a loss on ignition, in all 100 %.
chemistry::RawMaterial randomAnalysis(FuzzedDataProvider& input) {
    const auto& oxides = chemistry::glassOxides();
    chemistry::RawMaterial material;
    material.name = QStringLiteral("Случайный анализ");
    std::vector<Extended> weights;
    const int count = input.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < count; ++i) {
        const QString oxide = QString::fromLatin1(
            oxides[input.ConsumeIntegralInRange<size_t>(0, input.ConsumeBool() ? 7 : oxides.size() - 1)]
                .oxide);
        if (std::any_of(material.analysis.begin(), material.analysis.end(),
                        [&](const chemistry::OxidePercent& share) { return share.oxide == oxide; }))
            continue;
        material.analysis.push_back({oxide, 0});
        weights.push_back(input.ConsumeIntegralInRange(0, 1000));
    }
    const Extended loss = input.ConsumeBool() ? input.ConsumeIntegralInRange(0, 1000) : 0;
    Extended sum = loss;
    for (const Extended weight : weights)
        sum += weight;
    if (!(sum > 0))
        return material;
    for (size_t i = 0; i < weights.size(); ++i)
        material.analysis[i].percent = weights[i] / sum * 100;
    material.lossOnIgnition = loss / sum * 100;
    material.carbonDioxide = *material.lossOnIgnition * input.ConsumeIntegralInRange(0, 4) / 4;
    if (input.ConsumeBool())
        material.moisture = input.ConsumeFloatingPointInRange<double>(0, 20);
    return material;
}

// The plant's side: some oxide rows from library materials, and a few fixed additions after the
// oxide rows. An input that ends before this part leaves the composition as it is.
void usePlantMaterials(FuzzedDataProvider& input, batch::GlassCompositionSheet& sheet,
                       chemistry::RawMaterialLibrary& library) {
    if (input.ConsumeIntegralInRange(0, 2) == 0)
        return;
    library.materials.push_back(randomAnalysis(input));
    const auto libraryName = [&] {
        return library.materials[input.ConsumeIntegralInRange<size_t>(0, library.materials.size() - 1)].name;
    };
    for (batch::CompositionRowText& row : sheet.rows)
        if (input.ConsumeIntegralInRange(0, 3) == 1) {
            row[2] = libraryName();
            if (input.ConsumeBool())
                row[3].clear(); // a purity is refused for an analysed material
        }
    static const char* const additions[] = {"Na2SO4", "C",     "Fe2O3", "NaNO3",
                                            "CoO",    "Cr2O3", "CaSO4", "Sb2O3"};
    const int count = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < count && sheet.rows.size() < size_t(batch::kCompositionRows); ++i) {
        batch::CompositionRowText row;
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            row[2] = libraryName();
            break;
        case 1:
            row[2] = material(input, chemistry::glassOxides()[input.ConsumeIntegralInRange<size_t>(0, 7)]);
            break;
        default:
            row[2] = QString::fromLatin1(
                additions[input.ConsumeIntegralInRange<size_t>(0, std::size(additions) - 1)]);
        }
        row[6] =
            input.ConsumeBool() ? number(input.ConsumeFloatingPointInRange<double>(0, 3)) : percent(input);
        if (input.ConsumeIntegralInRange(0, 3) == 1)
            row[4] = percent(input);
        sheet.rows.push_back(row);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    batch::setDecimalSeparator(QLatin1Char(','));
    const int kind = input.ConsumeIntegralInRange(0, 5);
    batch::GlassCompositionSheet sheet = kind < 3 ? knownSheet(input, kind) : randomSheet(input);
    if (sheet.rows.empty())
        return 0;
    sheet.molePercent = input.ConsumeBool();
    static const char* const masses[] = {"100", "0,000001", "1E9", "0,00000099", "1000000001", "1E4000"};
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        sheet.glassMass = QString::fromLatin1(masses[0]);
        break;
    case 1:
        sheet.glassMass =
            QString::fromLatin1(masses[input.ConsumeIntegralInRange<size_t>(0, std::size(masses) - 1)]);
        break;
    default:
        sheet.glassMass = number(std::pow(10.0L, input.ConsumeFloatingPointInRange<double>(-6, 9)));
    }
    if (input.ConsumeIntegralInRange(0, 3) == 1)
        sheet.cullet = percent(input);

    const size_t oxideRows = sheet.rows.size();
    chemistry::RawMaterialLibrary library = fuzzLibrary();
    usePlantMaterials(input, sheet, library);

    batch::GlassBatchProblem problem;
    batch::GlassBatchResult result;
    try {
        problem = chemistry::prepareGlassBatch(sheet, library);
        result = batch::solveGlassBatch(problem);
    } catch (const batch::Failure&) {
        return 0;
    }

    // Finite as the window shows it and the batch table reads it: within the range of a double.
    const auto usable = [](Extended value) { return std::isfinite(value) && value >= 0 && value <= DBL_MAX; };
    for (const Extended value :
         {result.batchMass, result.culletMass, result.glassFromBatch, result.carbonDioxide, result.water,
          result.volatilised, result.impurities, result.glassYield, result.carbonDioxidePerTonne})
        fuzzCheck(usable(value), "a mass or yield that is infinite, NaN or negative");
    fuzzCheck(usable(std::fabs(result.otherGases)), "other gases are not finite");
    fuzzCheck(result.cost.has_value() == result.unpriced.isEmpty() &&
                  result.costPerTonne.has_value() == result.cost.has_value(),
              "a cost without every price");
    if (result.cost)
        fuzzCheck(usable(*result.cost) && usable(*result.costPerTonne), "a cost that is no sum of money");
    const size_t n = problem.oxides.size(), materials = problem.materials.size();
    const size_t oxides = n + problem.extraOxides.size();
    fuzzCheck(n <= oxideRows, "an addition listed as an oxide");
    fuzzCheck(result.weighed.size() == materials && result.dry.size() == materials &&
                  result.batchShare.size() == materials && result.glassMassPercent.size() == oxides &&
                  result.glassMolePercent.size() == oxides,
              "a row is missing");
    for (size_t j = 0; j < materials; ++j)
        fuzzCheck(usable(result.weighed[j]) && usable(result.dry[j]) && result.dry[j] <= result.weighed[j] &&
                      usable(result.batchShare[j]),
                  "a raw material that is infinite, NaN or negative");
    // The extra oxides come on top: the listed ones keep their proportions among themselves.
    Extended listed = 0;
    for (size_t k = 0; k < oxides; ++k) {
        fuzzCheck(usable(result.glassMassPercent[k]) && usable(result.glassMolePercent[k]),
                  "an oxide that is infinite, NaN or negative");
        if (k < n)
            listed += sheet.molePercent ? result.glassMolePercent[k] : result.glassMassPercent[k];
    }
    for (size_t i = 0; i < n; ++i) {
        const Extended asked = batch::textToNumber(sheet.rows[i][1]);
        const Extended given =
            (sheet.molePercent ? result.glassMolePercent[i] : result.glassMassPercent[i]) / listed * 100;
        fuzzCheck(std::fabs(given - asked) <= 0.01L,
                  "the glass differs from the composition by more than 0,01 %");
    }
    try {
        for (const batch::BatchTableRow& row : batch::batchTableRows(problem, result)) {
            Extended value = 0;
            fuzzCheck(batch::tryTextToNumber(row.moleFraction, value) && usable(value) &&
                          batch::tryTextToNumber(row.totalMass, value) && usable(value),
                      "the batch table would get a number that is no mass");
        }
    } catch (const batch::Failure&) {
        fuzzFault("the raw materials of a result do not go into the batch table");
    }
    return 0;
}
