#pragma once

// The batch for a given glass composition: how much of each chosen raw material to weigh so
// that the melt gives the glass wanted. Every raw material may bring several oxides, so the
// amounts come from one linear system "oxides brought = oxides wanted".

#include "batch/NumberText.h"

#include <QString>
#include <vector>

namespace batch {

// The bounds of a batch: anything beyond them is no glass a person weighs out.
inline constexpr Extended kMinGlassMass = 1e-6L;    // g
inline constexpr Extended kMaxGlassMass = 1e9L;     // g
inline constexpr Extended kMinPurity = 0.01L / 100; // purity must be above it

struct GlassOxideRow {
    QString oxide;               // "Na2O"
    Extended molarMass = 0;      // g/mol
    Extended content = 0;        // mass % or mole %, as the composition states it, 0 to 100
    Extended volatilisation = 0; // share of the oxide lost from the melt, 0 <= v < 1
};

struct RawMaterialRow {
    QString formula;        // "Na2CO3"
    QString molarMassText;  // as "Вычислить" writes it
    Extended molarMass = 0; // g/mol
    Extended purity = 1;    // share of the formula substance in the dry material, kMinPurity < p <= 1
    Extended moisture = 0;  // share of water in the material as weighed, 0 <= m < 1
    std::vector<Extended> oxideMoles; // per formula unit, one per oxide row of the problem
    Extended carbonDioxide = 0;       // gases per formula unit, g/mol
    Extended water = 0;
    Extended otherGases = 0;
};

struct GlassBatchProblem {
    std::vector<GlassOxideRow> oxides;
    std::vector<RawMaterialRow> materials; // as many as oxides
    bool molePercent = false;
    Extended glassMass = 0;   // g of glass wanted, kMinGlassMass to kMaxGlassMass
    Extended culletShare = 0; // share of that glass melted from cullet, 0 <= c < 1
};

struct GlassBatchResult {
    std::vector<Extended> weighed;          // g of each raw material as weighed (wet, impure)
    std::vector<Extended> batchShare;       // % of the batch
    std::vector<Extended> glassMassPercent; // composition the batch really gives, per oxide row
    std::vector<Extended> glassMolePercent;
    Extended batchMass = 0; // raw materials together, cullet not included
    Extended culletMass = 0;
    Extended glassFromBatch = 0; // g of glass the raw materials give
    Extended carbonDioxide = 0;  // g given off
    Extended water = 0;          // chemically bound water and moisture
    Extended otherGases = 0;     // nitrogen oxides and oxygen
    Extended volatilised = 0;    // g of oxides lost from the melt
    Extended impurities = 0;     // g of inert admixture
    Extended glassYield = 0;     // glass from batch / batch * 100
};

// Contents must add up to 100 within 0,01; they are scaled to exactly 100. Throws batch::Failure
// with a message the user can act on; nothing is returned half-done. A result is returned only
// when every mass, share and yield in it is finite and not negative (the other gases excepted,
// which a sulfide makes negative), and when the batch gives every oxide of the composition within
// a millionth of its amount.
GlassBatchResult solveGlassBatch(const GlassBatchProblem& problem);

// The rows that the batch table takes: formula, molar mass, mole fraction in %, total mass.
// The mole fractions make the table's own calculation give the weighed grams of the result.
struct BatchTableRow {
    QString formula, molarMass, moleFraction, totalMass;
};
std::vector<BatchTableRow> batchTableRows(const GlassBatchProblem& problem, const GlassBatchResult& result);

inline const char* const kGlassImpossible =
    "Расчёт дал невозможный результат (бесконечное или отрицательное число). Проверьте состав, "
    "массу стекла и сырьё!";
inline const char* const kGlassSingular =
    "Из выбранного сырья этот состав получить нельзя: уравнения баланса оксидов не имеют решения. "
    "Каждое сырьё должно вносить свой оксид!";

} // namespace batch
