#include "batch/BatchCalculation.h"

#include "batch/NumberText.h"

#include <QStringList>
#include <cmath>
#include <vector>

namespace batch {

bool isHundredPercent(double sum) {
    return std::fabs(sum - 100.0) <= 1e-9;
}

QString calculateBatchWeights(TextGrid& table, TextGrid& summary, int batchRowCount) {
    const int n = batchRowCount;
    if (n < 2)
        return QString::fromUtf8(kTooFewSubstances);
    for (int c = 2; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r)
            if (table.cell(c, r).isEmpty())
                return QString::fromUtf8(kMissingBatchInputs);

    // Index 0 stays unused so that the vectors are indexed by table row. They grow row by row:
    // a count larger than the table ends in a conversion failure at the first row beyond it.
    std::vector<Extended> fractions{0};
    double fractionSum = 0;
    for (int r = 1; r <= n; ++r) {
        fractions.push_back(textToNumber(table.cell(2, r)));
        fractionSum = addToRunningSum(fractionSum, fractions[r]);
    }
    if (!isHundredPercent(fractionSum))
        return QString::fromUtf8(kSumNotHundred);

    std::vector<Extended> totals{0, textToNumber(table.cell(3, 1))};
    for (int r = 2; r <= n; ++r) {
        totals.push_back(textToNumber(table.cell(3, r)));
        if (totals[r] != totals[1])
            return QString::fromUtf8(kTotalMassDiffers);
    }

    std::vector<double> products{0};
    double productSum = 0;
    for (int r = 1; r <= n; ++r) {
        products.push_back(toDouble(checkedMultiply(textToNumber(table.cell(1, r)), fractions[r])));
        productSum = addToRunningSum(productSum, products[r]);
    }

    // Everything is computed before the first cell is written, so a failure leaves the
    // table and the summary as they were.
    QStringList portions{QString()};
    QString moleLine;
    QString weightLine;
    for (int r = 1; r <= n; ++r) {
        const Extended portion = checkedDivide(checkedMultiply(totals[r], products[r]), productSum);
        portions.append(fixedText(portion, 7, 4));
        const QString separator = r > 1 ? QStringLiteral("-") : QString();
        const QString formula = table.cell(0, r);
        moleLine += separator + fixedText(fractions[r], 8, 1) + QLatin1Char(' ') + formula;
        // The weight line shows the portion as the table shows it, not the unrounded value.
        weightLine += separator + fixedText(textToNumber(portions[r]), 8, 2) + QLatin1Char(' ') + formula;
    }

    for (int r = 1; r <= n; ++r)
        table.setCell(4, r, portions[r]);
    summary.setCell(1, 0, moleLine);
    summary.setCell(1, 1, weightLine);
    return QString();
}

} // namespace batch
