#include "chemistry/MassEvaluator.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>

namespace chemistry {
namespace {

class MassEvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(u','); }
    void TearDown() override { batch::setDecimalSeparator(u','); }
};

QString failureOf(const QString& expression) {
    try {
        const QString result = evaluateMassExpression(expression);
        return QStringLiteral("no failure, result ") + result;
    } catch (const batch::Failure& failure) {
        return failure.message();
    }
}

TEST_F(MassEvaluatorTest, SumsProductsOfDecimalTerms) {
    const struct {
        const char* expression;
        const char* result;
    } cases[] = {
        {"0+223", "223"},
        {"0+1,00797*2*3", "6,04782"},
        {"0+1,00797*2+15,9994", "18,01534"},
        // A bare catalogue mass after the leading "0" is one number with a leading zero.
        {"0101,9612+15,9994", "117,9606"},
        {"0+10-2,5", "7,5"},
        // A chain after "-" is subtracted whole; one before it is added whole.
        {"0+10-2*3", "4"},
        {"2*3-1*0,5*4", "4"},
        {"0-1,5", "-1,5"},
        {" 7 +1", "8"},
        {"0", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(evaluateMassExpression(QString::fromUtf8(c.expression)), QString::fromUtf8(c.result))
            << c.expression;
    }
}

TEST_F(MassEvaluatorTest, ProductsAreWrittenBackAsFifteenDigitText) {
    // 1,0000000000000004 × 1 rounds to "1" before the sum, so nothing is left after "-1";
    // carrying the extended product would leave about 4E-16.
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("0+1,0000000000000004*1-1")), QStringLiteral("0"));
    // Each step of a chain is rounded: 0,3333333333333333 × 3 is written "1", then × 3.
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("0,3333333333333333*3*3-3")), QStringLiteral("0"));
    // A term alone is not rounded to fifteen digits before the sum.
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("0+1,0000000000000004-1")),
              QStringLiteral("4,44089209850063E-16"));
}

TEST_F(MassEvaluatorTest, AccumulatorIsADoubleRoundedAfterEachAddition) {
    // Added in extended precision and rounded to double each time, 32,2 + 31,9 + 35,9 lands
    // one step above 100; a plain double sum would give exactly 100.
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("32,2+31,9+35,9-100")),
              QStringLiteral("1,4210854715202E-14"));
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("33,3+33,3+33,4-100")), QStringLiteral("0"));
    // A product that fits the extended type but not a double fails when it reaches the sum.
    EXPECT_EQ(failureOf(QStringLiteral("0+1E300*1E300")), QString::fromLatin1(batch::kOverflow));
}

TEST_F(MassEvaluatorTest, FailureNamesTheFirstOffendingTermInEvaluationOrder) {
    const struct {
        const char* expression;
        const char* term;
    } cases[] = {
        {"0+1,00797+*18,01534", ""}, // "X" then the water key
        {"0+1,00797++28,086", ""},   // "X" then an element key
        {"", ""},
        {"0+", ""},
        {"*2", ""},
        // Products are formed before the sum reads any term.
        {"x+1*y", "y"},
        {"x*1+y*1", "x"},
        {"1*x*y", "x"},
        {"0+x+y", "x"},
        {"0-q", "q"},
        {"0+1.5", "1.5"},
        {"0+1 000", "1 000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf(QString::fromUtf8(c.expression)),
                  batch::conversionMessage(QString::fromUtf8(c.term)))
            << c.expression;
    }
}

TEST_F(MassEvaluatorTest, PointSeparatorConvertsOnlyPointTexts) {
    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(failureOf(QStringLiteral("0+1,00797")), batch::conversionMessage(QStringLiteral("1,00797")));
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("0+223")), QStringLiteral("223"));
    // The product is written back with the same separator, so it converts again.
    EXPECT_EQ(evaluateMassExpression(QStringLiteral("0+1.5*3*0.5")), QStringLiteral("2.25"));
}

TEST_F(MassEvaluatorTest, ExpressionOfAHundredThousandTerms) {
    QString expression = QStringLiteral("0");
    for (int i = 0; i < 25000; ++i) {
        expression += QStringLiteral("+0,5*3+2,25-0,75*2");
    }
    // 1 + 25000 × 4 terms; every group adds 1,5 + 2,25 − 1,5, all exact in binary.
    EXPECT_EQ(evaluateMassExpression(expression), QStringLiteral("56250"));

    // The stores hold every term: a bad one far beyond the first thousand is still found.
    EXPECT_EQ(failureOf(expression + QStringLiteral("+0,5*3,,")),
              batch::conversionMessage(QStringLiteral("3,,")));
}

TEST_F(MassEvaluatorTest, LeavesItsInputAlone) {
    const QString expression = QStringLiteral("0+1,00797*2+15,9994");
    const QString copy = expression;
    EXPECT_EQ(evaluateMassExpression(expression), evaluateMassExpression(expression));
    EXPECT_EQ(expression, copy);
}

} // namespace
} // namespace chemistry
