#include "chemistry/GlassBatchSetup.h"

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"

namespace chemistry {

namespace {

// The start of a long text, so that a message stays readable whatever a cell holds.
QString shownText(const QString& text) {
    constexpr qsizetype kShown = 40;
    return text.size() <= kShown ? text : text.first(kShown) + QChar(0x2026);
}

// A number of a cell or field; the failure says where it stands ("Строка 2, столбец «Содержание»").
batch::Extended numberIn(const QString& text, const QString& place) {
    if (text.trimmed().isEmpty())
        throw batch::Failure(QStringLiteral("%1: введите число!").arg(place));
    batch::Extended value = 0;
    if (!batch::tryTextToNumber(text, value))
        throw batch::Failure(
            QStringLiteral("%1: не удалось прочитать число «%2»!").arg(place, shownText(text)));
    return value;
}

batch::Extended percentOr(const QString& text, batch::Extended emptyValue, const QString& place) {
    return text.trimmed().isEmpty() ? emptyValue : numberIn(text, place);
}

QString fieldPlace(const char* caption) {
    return QStringLiteral("Поле «%1»").arg(QString::fromUtf8(caption));
}

QString cellPlace(int row, int column) {
    return QStringLiteral("Строка %1, столбец «%2»")
        .arg(row)
        .arg(QString::fromUtf8(batch::kCompositionHeaders[column]));
}

// The formula parser names the formula and the place in it; the row is said here.
RawMaterialYield yieldOfRow(const QString& material, int row) {
    try {
        return rawMaterialYield(material);
    } catch (const batch::Failure& failure) {
        throw batch::Failure(QStringLiteral("Строка %1: %2").arg(row).arg(failure.message()));
    }
}

// Formulas are compared as written, without blanks around them.
QString sameMaterialKey(const QString& formula) {
    return formula.trimmed();
}

} // namespace

batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet) {
    batch::GlassBatchProblem problem;
    problem.molePercent = sheet.molePercent;
    problem.glassMass = numberIn(sheet.glassMass, fieldPlace("Масса стекла, г"));
    problem.culletShare = percentOr(sheet.cullet, 0, fieldPlace("Стеклобой, %")) / 100;

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
        oxideRow.content = numberIn(row[1], cellPlace(number, 1));
        oxideRow.volatilisation = percentOr(row[5], 0, cellPlace(number, 5)) / 100;
        problem.oxides.push_back(oxideRow);

        yields.push_back(yieldOfRow(material, number));
        batch::RawMaterialRow materialRow;
        const RawMaterialYield& yield = yields.back();
        materialRow.formula = material;
        materialRow.molarMassText = yield.molarMassText;
        materialRow.molarMass = yield.molarMass;
        materialRow.purity = percentOr(row[3], 100, cellPlace(number, 3)) / 100;
        materialRow.moisture = percentOr(row[4], 0, cellPlace(number, 4)) / 100;
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
