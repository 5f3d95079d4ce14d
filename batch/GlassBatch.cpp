#include "batch/GlassBatch.h"

#include "batch/BatchCalculation.h"
#include "batch/Failure.h"

#include <Eigen/Dense>
#include <cmath>

namespace batch {

namespace {

using Matrix = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
using Vector = Eigen::Matrix<Extended, Eigen::Dynamic, 1>;

QString percentText(Extended value) {
    return generalText(value, 6);
}

void checkInputs(const GlassBatchProblem& problem) {
    if (problem.oxides.empty())
        throw Failure(QStringLiteral("Введите состав стекла!"));
    if (!(problem.glassMass > 0) || !std::isfinite(problem.glassMass))
        throw Failure(QStringLiteral("Масса стекла должна быть больше нуля!"));
    if (!(problem.culletShare >= 0 && problem.culletShare < 1))
        throw Failure(QStringLiteral("Доля стеклобоя должна быть не меньше 0 и меньше 100%!"));
    Extended sum = 0;
    for (const GlassOxideRow& oxide : problem.oxides) {
        if (!(oxide.content >= 0))
            throw Failure(
                QStringLiteral("Содержание оксида %1 не может быть отрицательным!").arg(oxide.oxide));
        if (!(oxide.volatilisation >= 0 && oxide.volatilisation < 1))
            throw Failure(QStringLiteral("Улетучивание оксида %1 должно быть не меньше 0 и меньше 100%!")
                              .arg(oxide.oxide));
        sum += oxide.content;
    }
    if (!(std::fabs(sum - 100) <= 0.01L))
        throw Failure(QStringLiteral("Сумма содержаний оксидов равна %1, а должна быть 100% (±0,01)!")
                          .arg(percentText(sum)));
    for (const RawMaterialRow& material : problem.materials) {
        if (!(material.purity > 0 && material.purity <= 1))
            throw Failure(QStringLiteral("Чистота сырья %1 должна быть больше 0 и не больше 100%!")
                              .arg(material.formula));
        if (!(material.moisture >= 0 && material.moisture < 1))
            throw Failure(QStringLiteral("Влажность сырья %1 должна быть не меньше 0 и меньше 100%!")
                              .arg(material.formula));
    }
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
    Vector amounts = lu.solve(wanted);
    // A residue of rounding around zero is zero; anything clearly below is a real shortfall.
    const Extended scale = amounts.cwiseAbs().maxCoeff();
    for (Eigen::Index j = 0; j < n; ++j) {
        if (!std::isfinite(amounts(j)))
            throw Failure(QString::fromUtf8(kGlassSingular));
        if (amounts(j) < -1e-12L * scale)
            throw Failure(QStringLiteral("Сырьё %1 потребовалось бы в отрицательном количестве: "
                                         "другие оксиды этого сырья уже превышают состав стекла!")
                              .arg(problem.materials[static_cast<size_t>(j)].formula));
        if (amounts(j) < 0)
            amounts(j) = 0;
    }

    for (Eigen::Index j = 0; j < n; ++j) {
        const RawMaterialRow& material = problem.materials[static_cast<size_t>(j)];
        const Extended pure = amounts(j) * material.molarMass;
        const Extended dry = pure / material.purity;
        const Extended wet = dry / (1 - material.moisture);
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
    const Vector brought = yields * amounts;
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
