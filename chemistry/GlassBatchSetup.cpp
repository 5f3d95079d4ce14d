#include "chemistry/GlassBatchSetup.h"

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"

namespace chemistry {

namespace {

batch::Extended percentOr(const QString& text, batch::Extended emptyValue) {
    return text.trimmed().isEmpty() ? emptyValue : batch::textToNumber(text);
}

// Formulas are compared as written, without blanks around them.
QString sameMaterialKey(const QString& formula) {
    return formula.trimmed();
}

} // namespace

batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet) {
    batch::GlassBatchProblem problem;
    problem.molePercent = sheet.molePercent;
    problem.glassMass = batch::textToNumber(sheet.glassMass);
    problem.culletShare = percentOr(sheet.cullet, 0) / 100;

    std::vector<RawMaterialYield> yields;
    std::vector<int> rowNumbers;
    for (size_t i = 0; i < sheet.rows.size(); ++i) {
        const batch::CompositionRowText& row = sheet.rows[i];
        const int number = static_cast<int>(i) + 1;
        const QString oxide = row[0].trimmed();
        const QString material = row[2].trimmed();
        if (oxide.isEmpty() && material.isEmpty())
            continue;
        if (oxide.isEmpty())
            throw batch::Failure(
                QStringLiteral("Строка %1: укажите оксид для сырья %2!").arg(number).arg(material));
        const GlassOxide* known = findGlassOxide(oxide);
        if (!known)
            throw batch::Failure(QStringLiteral("Строка %1: неизвестный оксид «%2»!").arg(number).arg(oxide));
        if (material.isEmpty())
            throw batch::Failure(
                QStringLiteral("Строка %1: укажите сырьё для оксида %2!").arg(number).arg(oxide));
        for (size_t k = 0; k < problem.oxides.size(); ++k) {
            if (problem.oxides[k].oxide == oxide)
                throw batch::Failure(
                    QStringLiteral("Оксид %1 указан в строках %2 и %3: каждый оксид — в одной строке!")
                        .arg(oxide)
                        .arg(rowNumbers[k])
                        .arg(number));
            if (sameMaterialKey(yields[k].formula.text) == material)
                throw batch::Failure(
                    QStringLiteral("Сырьё %1 указано в строках %2 и %3: каждое сырьё — в одной строке!")
                        .arg(material)
                        .arg(rowNumbers[k])
                        .arg(number));
        }

        batch::GlassOxideRow oxideRow;
        oxideRow.oxide = oxide;
        oxideRow.molarMass = oxideMolarMass(*known);
        oxideRow.content = batch::textToNumber(row[1]);
        oxideRow.volatilisation = percentOr(row[5], 0) / 100;
        problem.oxides.push_back(oxideRow);

        yields.push_back(rawMaterialYield(material));
        batch::RawMaterialRow materialRow;
        const RawMaterialYield& yield = yields.back();
        materialRow.formula = material;
        materialRow.molarMassText = yield.molarMassText;
        materialRow.molarMass = yield.molarMass;
        materialRow.purity = percentOr(row[3], 100) / 100;
        materialRow.moisture = percentOr(row[4], 0) / 100;
        materialRow.carbonDioxide = yield.carbonDioxide;
        materialRow.water = yield.water;
        materialRow.otherGases = yield.otherGases;
        problem.materials.push_back(materialRow);
        rowNumbers.push_back(number);
    }

    // Each raw material's oxides, laid out over the oxide rows; an oxide outside the
    // composition would end up in the glass unasked.
    for (size_t j = 0; j < yields.size(); ++j) {
        std::vector<batch::Extended>& moles = problem.materials[j].oxideMoles;
        moles.assign(problem.oxides.size(), 0);
        for (const OxideShare& share : yields[j].oxides) {
            size_t o = 0;
            while (o < problem.oxides.size() && problem.oxides[o].oxide != share.oxide)
                ++o;
            if (o == problem.oxides.size())
                throw batch::Failure(
                    QStringLiteral("Сырьё %1 вносит оксид %2, которого нет в составе стекла!")
                        .arg(problem.materials[j].formula, share.oxide));
            moles[o] += share.moles;
        }
    }
    return problem;
}

} // namespace chemistry
