#include "GridSnapshot.h"
#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "batch/FractionCalculation.h"
#include "batch/NumberText.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace batch;

namespace {

// A row is written as its cells joined by "|".
using Rows = QStringList;

// The batch weight table and the fraction table share their shape: a table, its summary and
// the number of rows to work on; their results start in different columns.
struct Calculation {
    QString (*calculate)(TextGrid&, TextGrid&, int);
    void (*setupTable)(TextGrid&);
    void (*setupSummary)(TextGrid&);
    int firstResultColumn;
};
const Calculation kBatch{calculateBatchWeights, setupBatchTable, setupBatchSummary, 4};
const Calculation kFraction{calculateFractions, setupFractionTable, setupFractionSummary, 3};

// One run on fresh tables: the rows fill rows 1.. (growing the table when they need it), over
// stale results of an earlier run in every row, which a failing run must leave in place.
struct TableRun {
    const Calculation& calculation;
    TextGrid table, summary;
    QStringList before; // both grids just before the calculation
    QString outcome;    // the check's message, empty on success, or "thrown: " and the failure's

    TableRun(const Calculation& calculation, const Rows& rows, int count = -1) : calculation(calculation) {
        setDecimalSeparator(QLatin1Char(','));
        calculation.setupTable(table);
        calculation.setupSummary(summary);
        table.setRowCount(std::max<int>(kTableRows, int(rows.size()) + 1));
        for (int r = 1; r < table.rowCount(); ++r)
            for (int c = calculation.firstResultColumn; c < kTableColumns; ++c)
                table.setCell(c, r, QStringLiteral("stale"));
        for (int r = 0; r < 2; ++r)
            summary.setCell(1, r, QStringLiteral("stale"));
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].count(u'|') + 1; ++c)
                table.setCell(c, r + 1, rows[r].section(u'|', c, c));
        before = snapshot(table) + snapshot(summary);
        try {
            outcome = calculation.calculate(table, summary, count < 0 ? countFilledRows(table) : count);
        } catch (const Failure& failure) {
            outcome = QStringLiteral("thrown: ") + failure.message();
        }
    }
    QString column(int c, int rows) const {
        QStringList texts;
        for (int r = 1; r <= rows; ++r)
            texts.append(table.cell(c, r));
        return texts.join(u' ');
    }
    // The result columns of rows 1 to `rows` and the two summary lines.
    QString results(int rows) const {
        QStringList parts;
        for (int c = calculation.firstResultColumn; c < kTableColumns; ++c)
            parts.append(column(c, rows));
        return (parts << summary.cell(1, 0) << summary.cell(1, 1)).join(QStringLiteral(" | "));
    }
};

const QString kSiO2 = "SiO2|60,0848|75|100", kNa2O = "Na2O|61,979|25|100";
const QString kSiO2Percent = "SiO2|60,0848|75", kNa2OPercent = "Na2O|61,979|25";

TEST(TableCalculations, WorkedExamples) {
    const QString twoOxides = QStringLiteral("74,4135 25,5865 | 75,0 SiO2-25,0 Na2O | 74,41 SiO2-25,59 Na2O");
    const struct {
        const Calculation& calculation;
        Rows rows;
        QString results;
        int count = -1;
    } cases[] = {
        {kBatch, {kSiO2, kNa2O}, twoOxides},
        // Total masses compare as numbers, not as texts.
        {kBatch, {kSiO2, "Na2O|61,979|25| 100,0"}, twoOxides},
        {kBatch, {kSiO2, kNa2O, "junk|x|y|z"}, "74,4135 25,5865 stale" + twoOxides.mid(15), 2},
        {kBatch,
         {"SiO2|60,0848|70|250", "Na2O|61,979|15|250", "CaO|56,0794|15|250"},
         "175,9272 38,8872 35,1856 | 70,0 SiO2-15,0 Na2O-15,0 CaO | 175,93 SiO2-38,89 Na2O-35,19 CaO"},
        // A portion of 1000 g or more keeps only seven significant digits.
        {kBatch,
         {"A|1|50|2469,13578", "B|1|50|2469,13578"},
         "1234,5680 1234,5680 | 50,0 A-50,0 B | 1234,57 A-1234,57 B"},
        // The weight line rounds the portion as the table shows it: 0,12499999 shows as 0,1250.
        {kBatch, {"A|1|50|0,24999998", "B|1|50|0,24999998"}, "0,1250 0,1250 | 50,0 A-50,0 B | 0,13 A-0,13 B"},
        // From the unrounded amounts the mole fractions add up to 100,0000.
        {kFraction,
         {kSiO2Percent, kNa2OPercent},
         "1,2482 0,4034 | 75,5774 24,4226 | 75,58SiO2-24,42Na2O | 75,0SiO2-25,0Na2O"},
        {kFraction,
         {kSiO2Percent, kNa2OPercent, "junk|0|abc"},
         "1,2482 0,4034 stale | 75,5774 24,4226 stale | 75,58SiO2-24,42Na2O | 75,0SiO2-25,0Na2O",
         2},
        // The mole-percent line rounds the fraction as the table shows it: 12,374999 shows as 12,3750.
        {kFraction,
         {"A|1|12,374999", "B|1|87,625001"},
         "12,3750 87,6250 | 12,3750 87,6250 | 12,38A-87,63B | 12,4A-87,6B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.results.toStdString());
        const TableRun run(c.calculation, c.rows, c.count);
        EXPECT_EQ(run.outcome, QString());
        EXPECT_EQ(run.results(int(c.rows.size())), c.results);
    }
}

TEST(TableCalculations, ChecksAndFailuresShowTheirMessageAndWriteNothing) {
    const auto thrown = [](const char* message) { return "thrown: " + QString::fromUtf8(message); };
    const auto notANumber = [](const char* text) {
        return QStringLiteral("thrown: '%1' is not a valid floating point value")
            .arg(QString::fromUtf8(text));
    };
    Rows nineteen;
    for (int r = 1; r <= kLastSubstanceRow; ++r)
        nineteen.append(QStringLiteral("S%1|10|5|100").arg(r));
    const struct {
        const Calculation& calculation;
        Rows rows;
        QString outcome;
        int count = -1;
    } cases[] = {
        {kBatch, {kSiO2}, kTooFewSubstances},
        {kBatch, {"SiO2|60,0848|75|", kNa2O}, kMissingBatchInputs},
        {kBatch, {kSiO2, "Na2O|61,979||100"}, kMissingBatchInputs},
        // Checked before anything is converted, so a bad fraction elsewhere does not matter.
        {kBatch, {"SiO2|60,0848|x|100", "Na2O|61,979|25|"}, kMissingBatchInputs},
        {kBatch, {"A|1|33,3|100", "B|1|33,3|100", "C|1|33,3|100"}, kSumNotHundred},
        {kBatch, {"A|1|50|100", "B|1|50,0001|100"}, kSumNotHundred},
        {kBatch, {kSiO2, "Na2O|61,979|25|100,5"}, kTotalMassDiffers},
        {kBatch, {"A|1|40|100", "B|1|30|100", "C|1|30|90"}, kTotalMassDiffers},
        {kBatch, {kSiO2, kNa2O, "CaO|56,0794||100"}, notANumber("")},
        {kBatch, {"SiO2|60.0848|75|100", kNa2O}, notANumber("60.0848")},
        {kBatch, {"A|1|50|100", "B|1|40|100", "C|1|10|1e"}, notANumber("1e")},
        {kBatch, {"A|0|50|100", "B|0|50|100"}, thrown(kInvalidOperation)},
        {kBatch, {"A|1|50|100", "B|-1|50|100"}, thrown(kDivisionByZero)},
        {kBatch, {"A|1E308|50|100", "B|1|50|100"}, thrown(kOverflow)},
        // A count beyond the table reads the empty cells of row 20.
        {kBatch, nineteen, notANumber(""), 20},
        {kFraction, {}, kTooFewSubstances},
        {kFraction, {"SiO2|60,0848|", kNa2OPercent}, kMissingMassFraction},
        {kFraction, {kSiO2Percent, "Na2O|61,979|"}, kMissingMassFraction},
        {kFraction, {"A|1|33,3", "B|1|33,3", "C|1|33,3"}, kSumNotHundred},
        {kFraction, {"A|1|50", "B|1|50,0001"}, kSumNotHundred},
        {kFraction, {kSiO2Percent, kNa2OPercent, "CaO|56,0794|"}, notANumber("")},
        {kFraction, {kSiO2Percent, "Na2O|61,979|25%"}, notANumber("25%")},
        {kFraction, {"SiO2|x|75", kNa2OPercent}, notANumber("x")},
        {kFraction, {"SiO2|0|75", kNa2OPercent}, thrown(kDivisionByZero)},
        {kFraction, {"SiO2|60,0848|100", "Na2O|0|0"}, thrown(kInvalidOperation)},
        // Amounts that cancel out leave nothing to divide the mole fractions by.
        {kFraction, {"A|1|50", "B|-1|50"}, thrown(kDivisionByZero)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcome.toStdString());
        const TableRun run(c.calculation, c.rows, c.count);
        EXPECT_EQ(run.outcome, c.outcome);
        EXPECT_EQ(snapshot(run.table) + snapshot(run.summary), run.before);
    }
}

TEST(TableCalculations, SumsThatAreHundredInDecimalPass) {
    for (const char* set : {"33,3 33,3 33,4", "31,6 31,4 9,1 14,8 13,1", "32,2 31,9 35,9"}) {
        const QStringList fractions = QString::fromLatin1(set).split(u' ');
        SCOPED_TRACE(set);
        // Molar masses of 1 and 100 g: every result is the fraction itself.
        Rows rows;
        for (const QString& fraction : fractions)
            rows.append("S|1|" + fraction + "|100");
        const QString expected = fractions.join(QStringLiteral("000 ")) + "000";
        const TableRun batch(kBatch, rows);
        EXPECT_EQ(batch.outcome, QString());
        EXPECT_EQ(batch.column(4, int(fractions.size())), expected);
        for (QString& row : rows)
            row = row.section(u'|', 0, 2);
        const TableRun fraction(kFraction, rows);
        EXPECT_EQ(fraction.outcome, QString());
        EXPECT_EQ(fraction.column(3, int(fractions.size())), expected);
        EXPECT_EQ(fraction.column(4, int(fractions.size())), expected);
    }
}

TEST(TableCalculations, LoadedTablesWithMoreThanNineteenRows) {
    // 25 rows; the last has its own molar mass so that it visibly takes part.
    Rows rows;
    for (int r = 1; r <= 25; ++r)
        rows.append(QStringLiteral("S%1|%2|4|50").arg(r).arg(r < 25 ? 20 : 44));
    const TableRun batch(kBatch, rows);
    ASSERT_EQ(batch.outcome, QString());
    // S = 24 * 80 + 176 = 2096; row 1: 50 * 80 / 2096, row 25: 50 * 176 / 2096.
    EXPECT_TRUE(batch.column(4, 25).endsWith(QStringLiteral(" 1,9084 4,1985")));
    EXPECT_TRUE(batch.summary.cell(1, 1).endsWith(QStringLiteral("-1,91 S24-4,20 S25")));
    EXPECT_EQ(batch.summary.cell(1, 0).count(u'-'), 24);

    // Molar masses 20 and 44 as the fraction table sees them: 0,2 mol each and 4/44 mol of S25.
    for (QString& row : rows)
        row = row.section(u'|', 0, 2);
    const TableRun fraction(kFraction, rows);
    ASSERT_EQ(fraction.outcome, QString());
    EXPECT_TRUE(fraction.column(3, 25).endsWith(QStringLiteral(" 0,2000 0,0909")));
    EXPECT_TRUE(fraction.summary.cell(1, 0).endsWith(QStringLiteral("-4,09S24-1,86S25")));
    EXPECT_EQ(fraction.summary.cell(1, 1).count(u'-'), 24);
}

} // namespace
