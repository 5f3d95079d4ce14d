#include "batch/BatchCalculation.h"
#include "GridSnapshot.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

using namespace batch;

namespace {

struct Substance {
    const char* formula;
    const char* molarMass;
    const char* moleFraction;
    const char* totalMass;
};

class BatchCalculationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setDecimalSeparator(QLatin1Char(','));
        setupBatchTable(table);
        setupBatchSummary(summary);
    }

    void fill(const std::vector<Substance>& substances) {
        for (const Substance& s : substances)
            addSubstanceRow(table, {QString::fromUtf8(s.formula), QString::fromUtf8(s.molarMass),
                                    QString::fromUtf8(s.moleFraction), QString::fromUtf8(s.totalMass)});
    }

    // Results of an earlier calculation, so that a failed one can be seen to keep them.
    void putStaleResults() {
        for (int r = 1; r < table.rowCount(); ++r)
            table.setCell(4, r, QStringLiteral("stale"));
        summary.setCell(1, 0, QStringLiteral("old mole line"));
        summary.setCell(1, 1, QStringLiteral("old weight line"));
    }

    QString run() { return calculateBatchWeights(table, summary, countFilledRows(table)); }

    TextGrid table;
    TextGrid summary;
};

const Substance kSiO2{"SiO2", "60,0848", "75", "100"};
const Substance kNa2O{"Na2O", "61,979", "25", "100"};

TEST_F(BatchCalculationTest, WorkedExamples) {
    struct Case {
        std::vector<Substance> rows;
        QStringList portions;
        QString moleLine;
        QString weightLine;
    };
    const std::vector<Case> cases{
        {{kSiO2, kNa2O}, {"74,4135", "25,5865"}, "75,0 SiO2-25,0 Na2O", "74,41 SiO2-25,59 Na2O"},
        {{{"SiO2", "60,0848", "70", "250"}, {"Na2O", "61,979", "15", "250"}, {"CaO", "56,0794", "15", "250"}},
         {"175,9272", "38,8872", "35,1856"},
         "70,0 SiO2-15,0 Na2O-15,0 CaO",
         "175,93 SiO2-38,89 Na2O-35,19 CaO"},
        // A portion of 1000 g or more keeps only seven significant digits.
        {{{"A", "1", "50", "2469,13578"}, {"B", "1", "50", "2469,13578"}},
         {"1234,5680", "1234,5680"},
         "50,0 A-50,0 B",
         "1234,57 A-1234,57 B"},
        // The weight line rounds the portion as the table shows it: 0,12499999 shows as 0,1250.
        {{{"A", "1", "50", "0,24999998"}, {"B", "1", "50", "0,24999998"}},
         {"0,1250", "0,1250"},
         "50,0 A-50,0 B",
         "0,13 A-0,13 B"},
    };
    for (const Case& c : cases) {
        SetUp();
        clearSubstanceRows(table);
        fill(c.rows);
        ASSERT_EQ(run(), QString()) << c.weightLine.toStdString();
        for (int r = 1; r <= c.portions.size(); ++r)
            EXPECT_EQ(table.cell(4, r), c.portions[r - 1]) << c.weightLine.toStdString() << " row " << r;
        EXPECT_EQ(summary.cell(1, 0), c.moleLine);
        EXPECT_EQ(summary.cell(1, 1), c.weightLine);
        EXPECT_EQ(summary.cell(0, 0), QStringLiteral("Моль, %"));
    }
}

TEST_F(BatchCalculationTest, ChecksShowTheirMessageAndWriteNothing) {
    struct Case {
        const char* name;
        std::vector<Substance> rows;
        const char* message;
    };
    const std::vector<Case> cases{
        {"one substance", {kSiO2}, kTooFewSubstances},
        {"fraction of row 1 empty", {{"SiO2", "60,0848", "", "100"}, kNa2O}, kMissingBatchInputs},
        {"fraction of row 2 empty", {kSiO2, {"Na2O", "61,979", "", "100"}}, kMissingBatchInputs},
        {"total of row 1 empty", {{"SiO2", "60,0848", "75", ""}, kNa2O}, kMissingBatchInputs},
        {"total of row 2 empty", {kSiO2, {"Na2O", "61,979", "25", ""}}, kMissingBatchInputs},
        // Checked before anything is converted, so a bad fraction elsewhere does not matter.
        {"empty input before a bad fraction", {{"SiO2", "60,0848", "x", ""}, kNa2O}, kMissingBatchInputs},
        {"sum 99,9",
         {{"A", "1", "33,3", "100"}, {"B", "1", "33,3", "100"}, {"C", "1", "33,3", "100"}},
         kSumNotHundred},
        {"sum 100,0001", {{"A", "1", "50", "100"}, {"B", "1", "50,0001", "100"}}, kSumNotHundred},
        {"total of row 2 differs", {kSiO2, {"Na2O", "61,979", "25", "100,5"}}, kTotalMassDiffers},
        {"total of row 3 differs",
         {{"A", "1", "40", "100"}, {"B", "1", "30", "100"}, {"C", "1", "30", "90"}},
         kTotalMassDiffers},
    };
    for (const Case& c : cases) {
        SetUp();
        clearSubstanceRows(table);
        fill(c.rows);
        putStaleResults();
        const QStringList tableBefore = snapshot(table);
        const QStringList summaryBefore = snapshot(summary);
        EXPECT_EQ(run(), QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(snapshot(table), tableBefore) << c.name;
        EXPECT_EQ(snapshot(summary), summaryBefore) << c.name;
    }
}

TEST_F(BatchCalculationTest, SumsThatAreHundredInDecimalPass) {
    const std::vector<QStringList> sets{
        {"33,3", "33,3", "33,4"},
        {"31,6", "31,4", "9,1", "14,8", "13,1"},
        {"32,2", "31,9", "35,9"},
    };
    for (const QStringList& fractions : sets) {
        SetUp();
        clearSubstanceRows(table);
        for (int i = 0; i < fractions.size(); ++i)
            addSubstanceRow(table, {QStringLiteral("S%1").arg(i + 1), "10", fractions[i], "100"});
        EXPECT_EQ(run(), QString()) << fractions.join(' ').toStdString();
        // Equal molar masses: every portion is its mole fraction of 100 g.
        for (int i = 0; i < fractions.size(); ++i)
            EXPECT_EQ(table.cell(4, i + 1), fractions[i] + "000");
    }
}

TEST_F(BatchCalculationTest, TotalMassesCompareAsNumbers) {
    fill({{"SiO2", "60,0848", "75", "100"}, {"Na2O", "61,979", "25", " 100,0"}});
    EXPECT_EQ(run(), QString());
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("74,4135"));
}

TEST_F(BatchCalculationTest, FailuresNameTheirCauseAndWriteNothing) {
    struct Case {
        std::vector<Substance> rows;
        const char* message;
    };
    const std::vector<Case> cases{
        {{kSiO2, kNa2O, {"CaO", "56,0794", "", "100"}}, "'' is not a valid floating point value"},
        {{{"SiO2", "60.0848", "75", "100"}, kNa2O}, "'60.0848' is not a valid floating point value"},
        {{kSiO2, {"Na2O", "abc", "25", "100"}}, "'abc' is not a valid floating point value"},
        {{{"SiO2", "60,0848", "75", "1 00"}, kNa2O}, "'1 00' is not a valid floating point value"},
        {{kSiO2, {"Na2O", "61,979", "25", " "}}, "' ' is not a valid floating point value"},
        {{{"A", "1", "50", "100"}, {"B", "1", "40", "100"}, {"C", "1", "10", "1e"}},
         "'1e' is not a valid floating point value"},
        {{{"A", "0", "50", "100"}, {"B", "0", "50", "100"}}, kInvalidOperation},
        {{{"A", "1", "50", "100"}, {"B", "-1", "50", "100"}}, kDivisionByZero},
        {{{"A", "1E308", "50", "100"}, {"B", "1", "50", "100"}}, kOverflow},
    };
    for (const Case& c : cases) {
        SetUp();
        clearSubstanceRows(table);
        fill(c.rows);
        putStaleResults();
        const QStringList tableBefore = snapshot(table);
        const QStringList summaryBefore = snapshot(summary);
        try {
            run();
            ADD_FAILURE() << "no failure for " << c.message;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), QString::fromUtf8(c.message));
        }
        EXPECT_EQ(snapshot(table), tableBefore) << c.message;
        EXPECT_EQ(snapshot(summary), summaryBefore) << c.message;
    }
}

TEST_F(BatchCalculationTest, RowsBeyondTheCountAreIgnored) {
    fill({kSiO2, kNa2O, {"junk", "x", "y", "z"}});
    table.setCell(4, 3, QStringLiteral("untouched"));
    EXPECT_EQ(calculateBatchWeights(table, summary, 2), QString());
    EXPECT_EQ(table.cell(4, 2), QStringLiteral("25,5865"));
    EXPECT_EQ(table.cell(4, 3), QStringLiteral("untouched"));
    EXPECT_EQ(summary.cell(1, 1), QStringLiteral("74,41 SiO2-25,59 Na2O"));
}

TEST_F(BatchCalculationTest, CountBeyondTheTableReadsEmptyCells) {
    for (int r = 1; r <= kLastSubstanceRow; ++r)
        addSubstanceRow(table, {QStringLiteral("S%1").arg(r), "10", "5", "100"});
    try {
        calculateBatchWeights(table, summary, 20);
        ADD_FAILURE() << "row 20 lies outside the table";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), QStringLiteral("'' is not a valid floating point value"));
    }
    EXPECT_EQ(table.cell(4, 1), QString());
}

TEST_F(BatchCalculationTest, LoadedTableWithMoreThanNineteenRows) {
    table.setRowCount(31);
    for (int r = 1; r <= 25; ++r)
        for (int c = 0; c < 4; ++c)
            table.setCell(c, r, QStringList{QStringLiteral("S%1").arg(r), "20", "4", "50"}[c]);
    // The last row carries a different molar mass so that it visibly takes part.
    table.setCell(1, 25, QStringLiteral("44"));
    ASSERT_EQ(calculateBatchWeights(table, summary, 25), QString());
    // S = 24 * 80 + 176 = 2096; row 1: 50 * 80 / 2096, row 25: 50 * 176 / 2096.
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("1,9084"));
    EXPECT_EQ(table.cell(4, 24), QStringLiteral("1,9084"));
    EXPECT_EQ(table.cell(4, 25), QStringLiteral("4,1985"));
    EXPECT_EQ(table.cell(4, 26), QString());
    EXPECT_TRUE(summary.cell(1, 1).endsWith(QStringLiteral("-1,91 S24-4,20 S25")));
    EXPECT_EQ(summary.cell(1, 0).count('-'), 24);
}

} // namespace
