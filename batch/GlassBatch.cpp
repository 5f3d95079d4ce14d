#include "batch/GlassBatch.h"

#include "batch/BatchCalculation.h"
#include "batch/Failure.h"

#include <Eigen/Dense>
#include <QStringList>
#include <algorithm>
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
        throw noCompositionFailure();
    if (!(problem.glassMass >= kMinGlassMass && problem.glassMass <= kMaxGlassMass))
        throw Failure(QStringLiteral("Масса стекла должна быть от 0,000001 до 1000000000 г!"));
    if (!(problem.culletShare >= 0 && problem.culletShare < 1))
        throw Failure(QStringLiteral("Доля стеклобоя должна быть не меньше 0 и меньше 100%!"));
    Extended sum = 0;
    for (const GlassOxideRow& oxide : problem.oxides) {
        if (!(oxide.content >= 0 && oxide.content <= 100))
            throw oxideContentFailure(oxide.oxide);
        if (!(oxide.volatilisation >= 0 && oxide.volatilisation < 1))
            throw Failure(QStringLiteral("Улетучивание оксида %1 должно быть не меньше 0 и меньше 100%!")
                              .arg(oxide.oxide));
        sum += oxide.content;
    }
    if (!(std::fabs(sum - 100) <= 0.01L))
        throw contentSumFailure(sum);
    for (const RawMaterialRow& material : problem.materials) {
        if (!(material.purity > kMinPurity && material.purity <= 1))
            throw Failure(QStringLiteral("Чистота сырья %1 должна быть больше 0,01% и не больше 100%!")
                              .arg(material.name));
        if (!(material.moisture >= 0 && material.moisture < 1))
            throw Failure(QStringLiteral("Влажность сырья %1 должна быть не меньше 0 и меньше 100%!")
                              .arg(material.name));
        if (material.fixedAmount && !(*material.fixedAmount >= 0 && *material.fixedAmount <= kMaxFixedAmount))
            throw Failure(
                QStringLiteral("Заданное количество сырья %1 должно быть от 0 до 100 г на 100 г стекла!")
                    .arg(material.name));
    }
}

QString gramsText(Extended grams) {
    return fixedText(grams, 15, 4);
}

QString formulaList(const QStringList& formulas) {
    return formulas.join(QStringLiteral(", "));
}

// The raw materials of the problem laid out for the balance: what a dry gram of each brings, and
// which material carries which listed oxide.
struct Balance {
    const GlassBatchProblem& problem;
    Matrix perDryGram;            // grams of each oxide (listed, then extra) per dry gram of each material
    std::vector<size_t> carriers; // the material of each listed oxide
    Vector dry;                   // dry grams of each material
    std::vector<Extended> weighed;

    Extended tolerance(Eigen::Index oxide, Extended wanted, Extended glass) const {
        return kOxideTolerance * wanted * (1 - problem.oxides[static_cast<size_t>(oxide)].volatilisation) +
               kGlassTolerance * glass;
    }
    QString broughtBy(size_t material) const {
        return QStringLiteral("%1 (%2 г)")
            .arg(problem.materials[material].name, gramsText(weighed[material]));
    }
};

// Fixed additions that by themselves bring more of a listed oxide than the melt must hold.
[[noreturn]] void failOnAddition(const Balance& balance, Eigen::Index oxide) {
    QStringList additions;
    for (size_t j = 0; j < balance.problem.materials.size(); ++j) {
        const Eigen::Index column = static_cast<Eigen::Index>(j);
        if (balance.problem.materials[j].isAddition() && balance.perDryGram(oxide, column) > 0 &&
            balance.dry(column) > 0)
            additions << balance.broughtBy(j);
    }
    if (additions.isEmpty())
        throw Failure(QString::fromUtf8(kGlassSingular));
    const QString oxideName = balance.problem.oxides[static_cast<size_t>(oxide)].oxide;
    if (additions.size() == 1)
        throw Failure(
            QStringLiteral("Добавка %1 вносит больше %2, чем нужно стеклу: уменьшите её количество!")
                .arg(additions.first(), oxideName));
    throw Failure(QStringLiteral("Добавки %1 вносят больше %2, чем нужно стеклу: уменьшите их количество!")
                      .arg(formulaList(additions), oxideName));
}

// The oxide that the raw materials bring in excess once the negative amounts are left out: who
// brings it, and who would have had to take it back.
[[noreturn]] void failOnExcess(const Balance& balance, const Vector& solved, Eigen::Index oxide) {
    QStringList bringers, negative;
    for (size_t j = 0; j < balance.problem.materials.size(); ++j)
        if (balance.perDryGram(oxide, static_cast<Eigen::Index>(j)) > 0 &&
            balance.dry(static_cast<Eigen::Index>(j)) > 0)
            bringers << balance.broughtBy(j);
    for (size_t c = 0; c < balance.carriers.size(); ++c)
        if (balance.perDryGram(oxide, static_cast<Eigen::Index>(balance.carriers[c])) > 0 &&
            solved(static_cast<Eigen::Index>(c)) < 0)
            negative << balance.problem.materials[balance.carriers[c]].name;
    // An excess that no negative amount explains is the solution's own inaccuracy as well.
    if (bringers.isEmpty() || negative.isEmpty())
        throw Failure(QString::fromUtf8(kGlassSingular));
    const QString oxideName = balance.problem.oxides[static_cast<size_t>(oxide)].oxide;
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

bool usable(const std::optional<Extended>& value) {
    return !value || usable(*value);
}

void checkResult(const GlassBatchResult& result) {
    bool fine = usable(result.batchMass) && usable(result.culletMass) && usable(result.glassFromBatch) &&
                usable(result.carbonDioxide) && usable(result.water) && usable(result.volatilised) &&
                usable(result.impurities) && usable(result.glassYield) &&
                usable(result.carbonDioxidePerTonne) && usable(result.cost) && usable(result.costPerTonne) &&
                // A sulfide takes oxygen up from the air: these gases may be negative.
                usable(std::fabs(result.otherGases));
    for (const std::vector<Extended>* column : {&result.weighed, &result.dry, &result.batchShare,
                                                &result.glassMassPercent, &result.glassMolePercent})
        for (const Extended value : *column)
            fine = fine && usable(value);
    for (const std::optional<Extended>& value : result.askedPercent)
        fine = fine && usable(value);
    if (!fine)
        throw Failure(QString::fromUtf8(kGlassImpossible));
}

// Lays the materials out: what each dry gram brings, which carries which oxide, and the grams of
// the fixed additions.
Balance layOut(const GlassBatchProblem& problem) {
    const size_t oxides = problem.oxides.size() + problem.extraOxides.size();
    const Eigen::Index count = static_cast<Eigen::Index>(problem.materials.size());
    Balance balance{problem, Matrix(static_cast<Eigen::Index>(oxides), count), {}, Vector::Zero(count), {}};
    balance.weighed.assign(problem.materials.size(), 0);
    for (size_t j = 0; j < problem.materials.size(); ++j) {
        const RawMaterialRow& material = problem.materials[j];
        const Eigen::Index column = static_cast<Eigen::Index>(j);
        // A problem whose yields do not cover its oxides has no balance to solve.
        if (material.oxideGrams.size() != oxides)
            throw Failure(QString::fromUtf8(kGlassSingular));
        for (size_t k = 0; k < oxides; ++k)
            balance.perDryGram(static_cast<Eigen::Index>(k), column) =
                material.purity * material.oxideGrams[k];
        if (!material.isAddition()) {
            balance.carriers.push_back(j);
            continue;
        }
        balance.weighed[j] = *material.fixedAmount * problem.glassMass / 100;
        balance.dry(column) = balance.weighed[j] * (1 - material.moisture);
    }
    if (balance.carriers.size() != problem.oxides.size())
        throw Failure(QString::fromUtf8(kGlassSingular));
    return balance;
}

} // namespace

Failure noCompositionFailure() {
    return Failure(QStringLiteral("Введите состав стекла!"));
}

Failure unknownOxideFailure(int row, const QString& oxide) {
    return Failure(QStringLiteral("Строка %1: неизвестный оксид «%2»!").arg(row).arg(oxide));
}

Failure repeatedOxideFailure(const QString& oxide, int firstRow, int row) {
    return Failure(QStringLiteral("Оксид %1 указан в строках %2 и %3: каждый оксид — в одной строке!")
                       .arg(oxide)
                       .arg(firstRow)
                       .arg(row));
}

Failure oxideContentFailure(const QString& oxide) {
    return Failure(QStringLiteral("Содержание оксида %1 должно быть от 0 до 100%!").arg(oxide));
}

Failure contentSumFailure(Extended sum) {
    return Failure(QStringLiteral("Сумма содержаний оксидов равна %1, а должна быть 100% (±0,01)!")
                       .arg(percentText(sum)));
}

GlassBatchResult solveGlassBatch(const GlassBatchProblem& problem) {
    checkInputs(problem);
    Balance balance = layOut(problem);
    const Eigen::Index n = static_cast<Eigen::Index>(problem.oxides.size());

    // Mass share of each oxide in the glass; mole percent is turned into mass first.
    Vector weight(n);
    Extended weightSum = 0, contentSum = 0;
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        weight(o) = problem.molePercent ? oxide.content * oxide.molarMass : oxide.content;
        weightSum += weight(o);
        contentSum += oxide.content;
    }
    if (!(weightSum > 0))
        throw noCompositionFailure();

    GlassBatchResult result;
    result.culletMass = problem.glassMass * problem.culletShare;
    const Extended listedGlass = problem.glassMass - result.culletMass;

    // Grams of each listed oxide the melt must hold; what volatilises must be brought extra. The
    // fixed additions bring their share first, and the other materials the rest.
    Vector wanted(n);
    for (Eigen::Index o = 0; o < n; ++o) {
        const GlassOxideRow& oxide = problem.oxides[static_cast<size_t>(o)];
        wanted(o) = listedGlass * weight(o) / weightSum / (1 - oxide.volatilisation);
        result.volatilised += wanted(o) * oxide.volatilisation;
    }
    const Vector fromAdditions = balance.perDryGram.topRows(n) * balance.dry;
    Vector remainder = wanted - fromAdditions;
    for (Eigen::Index o = 0; o < n; ++o) {
        if (remainder(o) >= 0)
            continue;
        const Extended kept = 1 - problem.oxides[static_cast<size_t>(o)].volatilisation;
        if (-remainder(o) * kept > balance.tolerance(o, wanted(o), listedGlass))
            failOnAddition(balance, o);
        remainder(o) = 0;
    }

    Matrix yields(n, n);
    for (Eigen::Index c = 0; c < n; ++c)
        yields.col(c) =
            balance.perDryGram.col(static_cast<Eigen::Index>(balance.carriers[static_cast<size_t>(c)]))
                .head(n);
    const Eigen::FullPivLU<Matrix> lu(yields);
    if (!lu.isInvertible())
        throw Failure(QString::fromUtf8(kGlassSingular));
    const Vector solved = lu.solve(remainder);
    for (Eigen::Index c = 0; c < n; ++c)
        if (!std::isfinite(solved(c)))
            throw Failure(QString::fromUtf8(kGlassSingular));
    // A negative amount is either a residue of rounding around zero or a real shortfall: left
    // out, the first changes the glass by no more than rounding, the second brings an oxide in
    // excess. Each listed oxide must come out as asked within a millionth of its own amount (or
    // of the glass, for an oxide of content 0).
    for (Eigen::Index c = 0; c < n; ++c) {
        const size_t j = balance.carriers[static_cast<size_t>(c)];
        balance.dry(static_cast<Eigen::Index>(j)) = std::max(solved(c), Extended(0));
        balance.weighed[j] = balance.dry(static_cast<Eigen::Index>(j)) / (1 - problem.materials[j].moisture);
    }
    const Vector brought = balance.perDryGram * balance.dry;
    for (Eigen::Index o = 0; o < n; ++o) {
        const Extended kept = 1 - problem.oxides[static_cast<size_t>(o)].volatilisation;
        if (std::fabs(brought(o) - wanted(o)) * kept <= balance.tolerance(o, wanted(o), listedGlass))
            continue;
        // Left-out amounts only add oxides; a shortage is the solution's own inaccuracy.
        if (!(brought(o) > wanted(o)))
            throw Failure(QString::fromUtf8(kGlassSingular));
        failOnExcess(balance, solved, o);
    }

    Extended cost = 0;
    for (size_t j = 0; j < problem.materials.size(); ++j) {
        const RawMaterialRow& material = problem.materials[j];
        const Extended dry = balance.dry(static_cast<Eigen::Index>(j));
        const Extended pure = dry * material.purity;
        const Extended wet = balance.weighed[j];
        result.weighed.push_back(wet);
        result.dry.push_back(dry);
        result.batchMass += wet;
        result.impurities += dry - pure;
        result.carbonDioxide += pure * material.carbonDioxide;
        result.water += pure * material.water + (wet - dry);
        result.otherGases += pure * material.otherGases;
        if (material.price)
            cost += wet * *material.price / 1e6L; // руб/т as delivered, grams as weighed
        else
            result.unpriced << material.name;
    }
    if (!(result.batchMass > 0))
        throw Failure(QString::fromUtf8(kGlassSingular));
    for (const Extended wet : result.weighed)
        result.batchShare.push_back(wet / result.batchMass * 100);

    // The check: what the weighed batch really melts into, after the losses; the oxides that the
    // composition does not list stay in the glass as brought.
    std::vector<const GlassOxideRow*> glassOxides;
    for (const GlassOxideRow& oxide : problem.oxides)
        glassOxides.push_back(&oxide);
    for (const GlassOxideRow& oxide : problem.extraOxides)
        glassOxides.push_back(&oxide);
    std::vector<Extended> grams, moles;
    Extended gramSum = 0, moleSum = 0, extraGrams = 0;
    for (size_t k = 0; k < glassOxides.size(); ++k) {
        const GlassOxideRow& oxide = *glassOxides[k];
        const Extended kept = k < problem.oxides.size() ? 1 - oxide.volatilisation : 1;
        grams.push_back(brought(static_cast<Eigen::Index>(k)) * kept);
        moles.push_back(grams.back() / oxide.molarMass);
        gramSum += grams.back();
        moleSum += moles.back();
        if (k >= problem.oxides.size())
            extraGrams += grams.back();
    }
    for (size_t k = 0; k < glassOxides.size(); ++k) {
        result.glassOxides << glassOxides[k]->oxide;
        result.glassMassPercent.push_back(grams[k] / gramSum * 100);
        result.glassMolePercent.push_back(moles[k] / moleSum * 100);
        if (k < problem.oxides.size())
            result.askedPercent.emplace_back(glassOxides[k]->content / contentSum * 100);
        else
            result.askedPercent.emplace_back(std::nullopt);
    }
    result.glassFromBatch = listedGlass + extraGrams;
    result.glassYield = result.glassFromBatch / result.batchMass * 100;

    // Per tonne of the glass melted: from the batch and from the cullet.
    const Extended melted = result.glassFromBatch + result.culletMass;
    result.carbonDioxidePerTonne = result.carbonDioxide / melted * 1000;
    if (result.unpriced.isEmpty()) {
        result.cost = cost;
        result.costPerTonne = cost / melted * 1e6L;
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
        const RawMaterialRow& material = problem.materials[j];
        // A material given by its analysis has no formula: the table knows it by its name.
        rows.push_back(BatchTableRow{material.formula.isEmpty() ? material.name : material.formula,
                                     material.molarMassText, fraction, total});
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
