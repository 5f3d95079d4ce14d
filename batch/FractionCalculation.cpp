#include "batch/FractionCalculation.h"

#include "batch/BatchCalculation.h"
#include "batch/NumberText.h"

#include <QStringList>
#include <vector>

namespace batch {

QString calculateFractions(TextGrid& table, TextGrid& summary, int fractionRowCount) {
    const int n = fractionRowCount;
    if (n < 2)
        return QString::fromUtf8(kTooFewSubstances);
    if (table.cell(2, 1).isEmpty() || table.cell(2, 2).isEmpty())
        return QString::fromUtf8(kMissingMassFraction);

    // Indexed by table row; grown row by row so that a count larger than the table ends in a
    // conversion failure at the first row beyond it.
    std::vector<Extended> massPercents{0};
    double massSum = 0;
    for (int r = 1; r <= n; ++r) {
        massPercents.push_back(textToNumber(table.cell(2, r)));
        massSum = addToRunningSum(massSum, massPercents[r]);
    }
    if (!isHundredPercent(massSum))
        return QString::fromUtf8(kSumNotHundred);

    std::vector<double> amounts{0};
    double amountSum = 0;
    for (int r = 1; r <= n; ++r) {
        amounts.push_back(toDouble(checkedDivide(massPercents[r], textToNumber(table.cell(1, r)))));
        amountSum = addToRunningSum(amountSum, amounts[r]);
    }

    // Mole fractions come from the unrounded amounts, the same ones their sum is made of, so
    // that they add up to 100. Nothing is written until everything is computed.
    QStringList amountTexts{QString()};
    QStringList fractionTexts{QString()};
    QString moleLine;
    QString massLine;
    for (int r = 1; r <= n; ++r) {
        amountTexts.append(fixedText(amounts[r], 7, 4));
        fractionTexts.append(fixedText(checkedDivide(checkedMultiply(amounts[r], 100), amountSum), 7, 4));
        const QString separator = r > 1 ? QStringLiteral("-") : QString();
        const QString formula = table.cell(0, r);
        // The mole-percent line shows the fraction as the table shows it.
        moleLine += separator + fixedText(textToNumber(fractionTexts[r]), 8, 2) + formula;
        massLine += separator + fixedText(massPercents[r], 8, 1) + formula;
    }

    for (int r = 1; r <= n; ++r) {
        table.setCell(3, r, amountTexts[r]);
        table.setCell(4, r, fractionTexts[r]);
    }
    summary.setCell(1, 0, moleLine);
    summary.setCell(1, 1, massLine);
    return QString();
}

} // namespace batch
