#pragma once

// The batch for a given glass composition: how much of each chosen raw material to weigh so
// that the melt gives the glass wanted. Every raw material may bring several oxides, so the
// amounts come from one linear system "oxides brought = oxides wanted".

#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <QString>
#include <QStringList>
#include <optional>
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

// Grams per 100 g of glass that a fixed addition may have.
inline constexpr Extended kMaxFixedAmount = 100;

// A raw material: either the one that carries a listed oxide, whose amount the calculation finds,
// or a fixed addition, whose amount is given.
struct RawMaterialRow {
    QString name;          // as the composition names it: a library name or a formula
    QString formula;       // "Na2CO3"; empty for a material given by its analysis
    QString molarMassText; // of the formula, as "Вычислить" writes it; "100" for an analysis
    Extended purity = 1;   // share of the formula substance in the dry material, kMinPurity < p <= 1;
                           // 1 for an analysis
    Extended moisture = 0; // share of water in the material as weighed, 0 <= m < 1
    // Grams that one gram of the pure substance (of the dry material, for an analysis) brings: of
    // each oxide of the problem (its listed oxides, then its extra ones), and of the gases.
    std::vector<Extended> oxideGrams;
    Extended carbonDioxide = 0;
    Extended water = 0;
    Extended otherGases = 0;       // nitrogen oxides and oxygen; negative when oxygen is taken up
    std::optional<Extended> price; // руб/т of the material as delivered
    // Grams as weighed per 100 g of glass, 0 to kMaxFixedAmount, for a fixed addition; none for
    // the material of a listed oxide.
    std::optional<Extended> fixedAmount;

    bool isAddition() const { return fixedAmount.has_value(); }
};

struct GlassBatchProblem {
    std::vector<GlassOxideRow> oxides; // the oxides the composition lists, in its order
    // The oxides that the raw materials bring and the composition does not list (oxide and molar
    // mass only): they come on top of the composition, without volatilisation.
    std::vector<GlassOxideRow> extraOxides;
    // In the order of the composition. The materials that are no additions carry the listed
    // oxides, the first of them the first oxide and so on: there are as many as oxides.
    std::vector<RawMaterialRow> materials;
    bool molePercent = false;
    Extended glassMass = 0;   // g of glass wanted, kMinGlassMass to kMaxGlassMass
    Extended culletShare = 0; // share of that glass melted from cullet, 0 <= c < 1
};

struct GlassBatchResult {
    // One per raw material of the problem, in its order.
    std::vector<Extended> weighed;    // g as weighed (wet, impure)
    std::vector<Extended> dry;        // g without the moisture
    std::vector<Extended> batchShare; // % of the batch
    // One per oxide of the glass the batch gives: the problem's oxides, then its extra oxides.
    QStringList glassOxides;
    std::vector<Extended> glassMassPercent;
    std::vector<Extended> glassMolePercent;
    // What the composition asked for, in its own unit (mass or mole %, the contents scaled to a
    // sum of 100); none for an extra oxide.
    std::vector<std::optional<Extended>> askedPercent;
    Extended batchMass = 0; // raw materials together, cullet not included
    Extended culletMass = 0;
    // g of glass the raw materials give: the listed oxides as asked, and the extra oxides on top.
    Extended glassFromBatch = 0;
    Extended carbonDioxide = 0; // g given off
    Extended water = 0;         // chemically bound water and moisture
    Extended otherGases = 0;    // nitrogen oxides and oxygen
    Extended volatilised = 0;   // g of oxides lost from the melt
    Extended impurities = 0;    // g of inert admixture
    Extended glassYield = 0;    // glass from batch / batch * 100
    // kg of CO2 per tonne of glass melted, the glass from the batch and the cullet together (the
    // cullet brings none).
    Extended carbonDioxidePerTonne = 0;
    // When every raw material has a price: руб for the batch as weighed, and per tonne of glass
    // melted as above. Otherwise none, and the names of the materials without a price, in order.
    std::optional<Extended> cost;
    std::optional<Extended> costPerTonne;
    QStringList unpriced;
};

// Contents must add up to 100 within 0,01; they are scaled to exactly 100. Fixed additions weigh
// their amount times the glass mass / 100; their oxides are taken off what the other materials
// must bring, and an addition that brings more of a listed oxide than the glass needs is refused.
// Throws batch::Failure with a message the user can act on; nothing is returned half-done. A
// result is returned only when every mass, share, yield and cost in it is finite and not negative
// (the other gases excepted, which a sulfide makes negative), and when the batch gives every
// listed oxide within a millionth of its amount.
GlassBatchResult solveGlassBatch(const GlassBatchProblem& problem);

// The faults of a typed composition, in the same words wherever a calculation finds them (rows
// counted from 1).
Failure noCompositionFailure();
Failure unknownOxideFailure(int row, const QString& oxide);
Failure repeatedOxideFailure(const QString& oxide, int firstRow, int row);
Failure oxideContentFailure(const QString& oxide);
Failure contentSumFailure(Extended sum);

// The rows that the batch table takes: formula, molar mass, mole fraction in %, total mass, one per
// raw material. A material given by its analysis has no formula: it is written by its name, with
// a molar mass of 100 (one unit is 100 g of the material). The mole fractions make the table's own
// calculation give the weighed grams of the result.
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
