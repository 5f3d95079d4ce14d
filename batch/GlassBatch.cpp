#include "batch/GlassBatch.h"

#include "batch/BatchCalculation.h"
#include "batch/Failure.h"

#include <Eigen/Dense>
#include <QStringList>
#include <cfloat>
#include <cmath>

namespace batch {

namespace {

using Matrix = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
using Vector = Eigen::Matrix<Extended, Eigen::Dynamic, 1>;

// Left out of a negative amount, an oxide may differ from the composition by this share of its
// own amount, and by this share of the glass besides (rounding of an oxide of content 0).
constexpr Extended kOxideTolerance = 1e-6L;
constexpr Extended kGlassTolerance = 1e-12L;

QString percentText(Extended value) {
    return generalText(value, 6);
}

void checkInputs(const GlassBatchProblem& problem) {
    if (problem.oxides.empty())
        throw Failure(QStringLiteral("Введите состав стекла!"));
    if (!(problem.glassMass >= kMinGlassMass && problem.glassMass <= kMaxGlassMass))
        throw Failure(QStringLiteral("Масса стекла должна быть от 0,000001 до 1000000000 г!"));
    if (!(problem.culletShare >= 0 && problem.culletShare < 1))
        throw Failure(QStringLiteral("Доля стеклобоя должна быть не меньше 0 и меньше 100%!"));
    Extended sum = 0;
    for (const GlassOxideRow& oxide : problem.oxides) {
        if (!(oxide.content >= 0 && oxide.content <= 100))
            throw Failure(QStringLiteral("Содержание оксида %1 должно быть от 0 до 100%!").arg(oxide.oxide));
        if (!(oxide.volatilisation >= 0 && oxide.volatilisation < 1))
            throw Failure(QStringLiteral("Улетучивание оксида %1 должно быть не меньше 0 и меньше 100%!")
                              .arg(oxide.oxide));
        sum += oxide.content;
    }
    if (!(std::fabs(sum - 100) <= 0.01L))
        throw Failure(QStringLiteral("Сумма содержаний оксидов равна %1, а должна быть 100% (±0,01)!")
                          .arg(percentText(sum)));
    for (const RawMaterialRow& material : problem.materials) {
        if (!(material.purity > kMinPurity && material.purity <= 1))
            throw Failure(QStringLiteral("Чистота сырья %1 должна быть больше 0,01% и не больше 100%!")
                              .arg(material.formula));
        if (!(material.moisture >= 0 && material.moisture < 1))
            throw Failure(QStringLiteral("Влажность сырья %1 должна быть не меньше 0 и меньше 100%!")
                              .arg(material.formula));
    }
}

// Grams of a raw material as weighed: with its impurity and its water.
Extended weighedGrams(const RawMaterialRow& material, Extended amount) {
    return amount * material.molarMass / material.purity / (1 - material.moisture);
}

QString formulaList(const QStringList& formulas) {
    return formulas.join(QStringLiteral(", "));
}

// The oxide that the raw materials bring in excess once the negative amounts are left out: who
// brings it, and who would have had to take it back.
[[noreturn]] void failOnExcess(const GlassBatchProblem& problem, const Matrix& yields, const Vector& solved,
                               const Vector& amounts, Eigen::Index oxide) {
    QStringList bringers, negative;
    for (Eigen::Index j = 0; j < amounts.size(); ++j) {
        if (!(yields(oxide, j) > 0))
            continue;
        const RawMaterialRow& material = problem.materials[static_cast<size_t>(j)];
        if (amounts(j) > 0)
            bringers << QStringLiteral("%1 (%2 г)")
                            .arg(material.formula, fixedText(weighedGrams(material, amounts(j)), 15, 4));
        else if (solved(j) < 0)
            negative << material.formula;
    }
    // An excess that no negative amount explains is the solution's own inaccuracy as well.
    if (bringers.isEmpty() || negative.isEmpty())
        throw Failure(QString::fromUtf8(kGlassSingular));
    const QString oxideName = problem.oxides[static_cast<size_t>(oxide)].oxide;
    if (bringers.size() == 1 && negative.size() == 1)
        throw Failure(
            QStringLiteral("Из выбранного сырья этот состав получить нельзя: %1 с избытком вносит %2; "
                           "%3 потребовалось бы в отрицательном количестве!")
                .arg(oxideName, bringers.first(), negative.first()));
    throw Failure(QStringLiteral("Из выбранного сырья этот состав получить нельзя: %1 с избытком вносят %2; "
                                 "%3 потребовались бы в отрицательном количестве!")
                      .arg(oxideName, formulaList(bringers), formulaList(negative)));
}

// A mass, share or yield the window may show: a finite number, not negative, and one that a
// double holds, as the batch table reads it.
bool usable(Extended value) {
    return std::isfinite(value) && value >= 0 && value <= DBL_MAX;
}

void checkResult(const GlassBatchResult& result) {
    bool fine = usable(result.batchMass) && usable(result.culletMass) && usable(result.glassFromBatch) &&
                usable(result.carbonDioxide) && usable(result.water) && usable(result.volatilised) &&
                usable(result.impurities) && usable(result.glassYield) &&
                // A sulfide takes oxygen up from the air: these gases may be negative.
                usable(std::fabs(result.otherGases));
    for (const std::vector<Extended>* column :
         {&result.weighed, &result.batchShare, &result.glassMassPercent, &result.glassMolePercent})
        for (const Extended value : *column)
            fine = fine && usable(value);
    if (!fine)
        throw Failure(QString::fromUtf8(kGlassImpossible));
}

} // namespace

GlassBatchResult solveGlassBatch(const GlassBatchProblem& problem) {
    checkInputs(problem);
    const Eigen::Index n = static_cast<Eigen::Index>(problem.oxides.size());
    if (static_cast<Eigen::Index>(problem.materials.size()) != n)
        throw Failure(QString::fromUtf8(kGlassSingular));

    // Mass share of each oxide in the glass; mole percent is turned into mass first.
    Vector weight(n);
    Extended weightSum = 0;
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        weight(o) = problem.molePercent ? oxide.content * oxide.molarMass : oxide.content;
        weightSum += weight(o);
    }
    if (!(weightSum > 0))
        throw Failure(QStringLiteral("Введите состав стекла!"));

    GlassBatchResult result;
    result.culletMass = problem.glassMass * problem.culletShare;
    result.glassFromBatch = problem.glassMass - result.culletMass;

    // Moles of each oxide the raw materials must bring; what volatilises must be brought extra.
    Vector wanted(n);
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        const Extended grams = result.glassFromBatch * weight(o) / weightSum / (1 - oxide.volatilisation);
        wanted(o) = grams / oxide.molarMass;
        result.volatilised += grams * oxide.volatilisation;
    }
    Matrix yields(n, n);
    for (Eigen::Index j = 0; j < n; ++j)
        for (Eigen::Index o = 0; o < n; ++o)
            yields(o, j) = problem.materials[static_cast<size_t>(j)].oxideMoles[static_cast<size_t>(o)];

    const Eigen::FullPivLU<Matrix> lu(yields);
    if (!lu.isInvertible())
        throw Failure(QString::fromUtf8(kGlassSingular));
    const Vector solved = lu.solve(wanted);
    for (Eigen::Index j = 0; j < n; ++j)
        if (!std::isfinite(solved(j)))
            throw Failure(QString::fromUtf8(kGlassSingular));
    // A negative amount is either a residue of rounding around zero or a real shortfall: left
    // out, the first changes the glass by no more than rounding, the second brings an oxide in
    // excess. Each listed oxide must come out as asked within a millionth of its own amount (or
    // of the glass, for an oxide of content 0).
    const Vector amounts = solved.cwiseMax(Extended(0));
    const Vector brought = yields * amounts;
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        const Extended kept = (1 - oxide.volatilisation) * oxide.molarMass;
        const Extended difference = std::fabs(brought(o) - wanted(o)) * kept;
        if (difference <= kOxideTolerance * wanted(o) * kept + kGlassTolerance * result.glassFromBatch)
            continue;
        // Left-out amounts only add oxides; a shortage is the solution's own inaccuracy.
        if (!(brought(o) > wanted(o)))
            throw Failure(QString::fromUtf8(kGlassSingular));
        failOnExcess(problem, yields, solved, amounts, o);
    }

    for (Eigen::Index j = 0; j < n; ++j) {
        const RawMaterialRow& material = problem.materials[static_cast<size_t>(j)];
        const Extended pure = amounts(j) * material.molarMass;
        const Extended dry = pure / material.purity;
        const Extended wet = weighedGrams(material, amounts(j));
        result.weighed.push_back(wet);
        result.batchMass += wet;
        result.impurities += dry - pure;
        result.carbonDioxide += amounts(j) * material.carbonDioxide;
        result.water += amounts(j) * material.water + (wet - dry);
        result.otherGases += amounts(j) * material.otherGases;
    }
    if (!(result.batchMass > 0))
        throw Failure(QString::fromUtf8(kGlassSingular));
    for (const Extended wet : result.weighed)
        result.batchShare.push_back(wet / result.batchMass * 100);
    result.glassYield = result.glassFromBatch / result.batchMass * 100;

    // The check: what the weighed batch really melts into, after the losses.
    std::vector<Extended> grams, moles;
    Extended gramSum = 0, moleSum = 0;
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        moles.push_back(brought(o) * (1 - oxide.volatilisation));
        grams.push_back(moles.back() * oxide.molarMass);
        moleSum += moles.back();
        gramSum += grams.back();
    }
    for (Eigen::Index o = 0; o < n; ++o) {
        result.glassMassPercent.push_back(grams[static_cast<size_t>(o)] / gramSum * 100);
        result.glassMolePercent.push_back(moles[static_cast<size_t>(o)] / moleSum * 100);
    }
    checkResult(result);
    return result;
}

std::vector<BatchTableRow> batchTableRows(const GlassBatchProblem& problem, const GlassBatchResult& result) {
    // The table weighs total * M * x / sum(M * x); with x proportional to the weighed grams over
    // the molar mass it gives the grams back.
    const size_t n = problem.materials.size();
    std::vector<Extended> molarMasses, amounts;
    Extended amountSum = 0;
    for (size_t j = 0; j < n; ++j) {
        molarMasses.push_back(textToNumber(problem.materials[j].molarMassText));
        amounts.push_back(result.weighed[j] / molarMasses[j]);
        amountSum += amounts[j];
    }
    const QString total = generalText(result.batchMass, 15);
    std::vector<BatchTableRow> rows;
    double fractionSum = 0;
    for (size_t j = 0; j < n; ++j) {
        QString fraction = generalText(amounts[j] / amountSum * 100, 15);
        fractionSum = addToRunningSum(fractionSum, textToNumber(fraction));
        rows.push_back(
            BatchTableRow{problem.materials[j].formula, problem.materials[j].molarMassText, fraction, total});
    }
    // Fifteen digits per fraction keep the sum within the table's tolerance of 100; should the
    // rounding of many rows add up beyond it, the largest fraction takes up the difference.
    if (!isHundredPercent(fractionSum) && n > 0) {
        size_t largest = 0;
        for (size_t j = 1; j < n; ++j)
            if (amounts[j] > amounts[largest])
                largest = j;
        Extended rest = 100;
        for (size_t j = 0; j < n; ++j)
            if (j != largest)
                rest -= textToNumber(rows[j].moleFraction);
        rows[largest].moleFraction = generalText(rest, 15);
    }
    return rows;
}

} // namespace batch
