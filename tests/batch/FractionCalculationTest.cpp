#include "batch/FractionCalculation.h"
#include "FailureOf.h"
#include "GridSnapshot.h"
#include "batch/BatchCalculation.h"
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
    const char* massPercent;
};

class FractionCalculationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setDecimalSeparator(QLatin1Char(','));
        table.setDimensions(1, 1);
        setupFractionTable(table);
        setupFractionSummary(summary);
    }

    // As on the screen: "Добавить" brings formula and molar mass, the user types the percent.
    void fill(const std::vector<Substance>& substances) {
        for (const Substance& s : substances) {
            const int row =
                addSubstanceRow(table, {QString::fromUtf8(s.formula), QString::fromUtf8(s.molarMass)});
            table.setCell(2, row, QString::fromUtf8(s.massPercent));
        }
    }

    void putStaleResults() {
        for (int r = 1; r < table.rowCount(); ++r) {
            table.setCell(3, r, QStringLiteral("old amount"));
            table.setCell(4, r, QStringLiteral("old fraction"));
        }
        summary.setCell(1, 0, QStringLiteral("old mole line"));
        summary.setCell(1, 1, QStringLiteral("old mass line"));
    }

    QString run() { return calculateFractions(table, summary, countFilledRows(table)); }

    // Runs a calculation that must fail and returns the failure's message.
    QString failureOf() {
        return ::failureOf([this] { run(); });
    }

    TextGrid table;
    TextGrid summary;
};

const Substance kSiO2{"SiO2", "60,0848", "75"};
const Substance kNa2O{"Na2O", "61,979", "25"};

TEST_F(FractionCalculationTest, AmountsAndMoleFractions) {
    struct Case {
        std::vector<Substance> rows;
        QStringList amounts;
        QStringList moleFractions;
        QString moleLine;
        QString massLine;
    };
    const std::vector<Case> cases{
        // From the unrounded amounts the mole fractions add up to 100,0000.
        {{kSiO2, kNa2O},
         {"1,2482", "0,4034"},
         {"75,5774", "24,4226"},
         "75,58SiO2-24,42Na2O",
         "75,0SiO2-25,0Na2O"},
        // The mole-percent line rounds the fraction as the table shows it: 12,374999 shows as 12,3750.
        {{{"A", "1", "12,374999"}, {"B", "1", "87,625001"}},
         {"12,3750", "87,6250"},
         {"12,3750", "87,6250"},
         "12,38A-87,63B",
         "12,4A-87,6B"},
    };
    for (const Case& c : cases) {
        SetUp();
        clearSubstanceRows(table);
        fill(c.rows);
        ASSERT_EQ(run(), QString()) << c.moleLine.toStdString();
        for (int r = 1; r <= c.amounts.size(); ++r) {
            EXPECT_EQ(table.cell(3, r), c.amounts[r - 1]) << c.moleLine.toStdString() << " row " << r;
            EXPECT_EQ(table.cell(4, r), c.moleFractions[r - 1]) << c.moleLine.toStdString() << " row " << r;
        }
        EXPECT_EQ(summary.cell(1, 0), c.moleLine);
        EXPECT_EQ(summary.cell(1, 1), c.massLine);
        EXPECT_EQ(summary.cell(0, 1), QStringLiteral("Масс, %"));
    }
}

TEST_F(FractionCalculationTest, ChecksShowTheirMessageAndWriteNothing) {
    struct Case {
        const char* name;
        std::vector<Substance> rows;
        const char* message;
    };
    const std::vector<Case> cases{
        {"one substance", {kSiO2}, kTooFewSubstances},
        {"no substance", {}, kTooFewSubstances},
        {"percent of row 1 empty", {{"SiO2", "60,0848", ""}, kNa2O}, kMissingMassFraction},
        {"percent of row 2 empty", {kSiO2, {"Na2O", "61,979", ""}}, kMissingMassFraction},
        {"sum 99,9", {{"A", "1", "33,3"}, {"B", "1", "33,3"}, {"C", "1", "33,3"}}, kSumNotHundred},
        {"sum 100,0001", {{"A", "1", "50"}, {"B", "1", "50,0001"}}, kSumNotHundred},
        {"sum 125", {{"A", "1", "75"}, {"B", "1", "50"}}, kSumNotHundred},
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

TEST_F(FractionCalculationTest, SumsThatAreHundredInDecimalPass) {
    const std::vector<QStringList> sets{
        {"31,6", "31,4", "9,1", "14,8", "13,1"},
        {"32,2", "31,9", "35,9"},
    };
    for (const QStringList& percents : sets) {
        SetUp();
        clearSubstanceRows(table);
        for (int i = 0; i < percents.size(); ++i) {
            addSubstanceRow(table, {QStringLiteral("S%1").arg(i + 1), "1"});
            table.setCell(2, i + 1, percents[i]);
        }
        EXPECT_EQ(run(), QString()) << percents.join(' ').toStdString();
        // Molar mass 1: the amounts are the percentages and so are the mole fractions.
        for (int i = 0; i < percents.size(); ++i) {
            EXPECT_EQ(table.cell(3, i + 1), percents[i] + "000");
            EXPECT_EQ(table.cell(4, i + 1), percents[i] + "000");
        }
    }
}

TEST_F(FractionCalculationTest, FailuresNameTheirCauseAndWriteNothing) {
    struct Case {
        std::vector<Substance> rows;
        const char* message;
    };
    const std::vector<Case> cases{
        {{kSiO2, kNa2O, {"CaO", "56,0794", ""}}, "'' is not a valid floating point value"},
        {{kSiO2, {"Na2O", "61,979", "25%"}}, "'25%' is not a valid floating point value"},
        {{{"SiO2", "x", "75"}, kNa2O}, "'x' is not a valid floating point value"},
        {{{"SiO2", "0", "75"}, kNa2O}, kDivisionByZero},
        {{{"SiO2", "60,0848", "100"}, {"Na2O", "0", "0"}}, kInvalidOperation},
        // Amounts that cancel out leave nothing to divide the mole fractions by.
        {{{"A", "1", "50"}, {"B", "-1", "50"}}, kDivisionByZero},
    };
    for (const Case& c : cases) {
        SetUp();
        clearSubstanceRows(table);
        fill(c.rows);
        putStaleResults();
        const QStringList tableBefore = snapshot(table);
        const QStringList summaryBefore = snapshot(summary);
        EXPECT_EQ(failureOf(), QString::fromUtf8(c.message));
        EXPECT_EQ(snapshot(table), tableBefore) << c.message;
        EXPECT_EQ(snapshot(summary), summaryBefore) << c.message;
    }
}

TEST_F(FractionCalculationTest, RowsBeyondTheCountAreIgnored) {
    fill({kSiO2, kNa2O, {"junk", "0", "abc"}});
    EXPECT_EQ(calculateFractions(table, summary, 2), QString());
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("75,5774"));
    EXPECT_EQ(table.cell(3, 3), QString());
    EXPECT_EQ(table.cell(4, 3), QString());
    EXPECT_EQ(summary.cell(1, 1), QStringLiteral("75,0SiO2-25,0Na2O"));
}

TEST_F(FractionCalculationTest, LoadedTableWithMoreThanNineteenRows) {
    table.setRowCount(26);
    for (int r = 1; r <= 25; ++r) {
        table.setCell(0, r, QStringLiteral("S%1").arg(r));
        table.setCell(1, r, QStringLiteral("2"));
        table.setCell(2, r, QStringLiteral("4"));
    }
    // The last row has half the molar mass, so twice the amount: 2 of 2 * 24 + 4 = 52 mol.
    table.setCell(1, 25, QStringLiteral("1"));
    ASSERT_EQ(calculateFractions(table, summary, 25), QString());
    EXPECT_EQ(table.cell(3, 1), QStringLiteral("2,0000"));
    EXPECT_EQ(table.cell(3, 25), QStringLiteral("4,0000"));
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("3,8462"));
    EXPECT_EQ(table.cell(4, 25), QStringLiteral("7,6923"));
    EXPECT_TRUE(summary.cell(1, 0).endsWith(QStringLiteral("-3,85S24-7,69S25")));
    EXPECT_EQ(summary.cell(1, 1).count('-'), 24);
}

} // namespace
