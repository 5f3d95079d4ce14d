#include "chemistry/MassEvaluator.h"
#include "FailureOf.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>
#include <string>

namespace chemistry {
namespace {

QString outcomeOf(const char* expression) {
    QString result;
    const QString failure =
        failureOf([&] { result = evaluateMassExpression(QString::fromUtf8(expression)); });
    return result.isEmpty() ? failure : result;
}

QString notANumber(const char* text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(QString::fromUtf8(text));
}

TEST(MassEvaluator, SumsProductsOrNamesTheFirstOffendingTermInEvaluationOrder) {
    batch::setDecimalSeparator(u',');
    const std::string big = "1" + std::string(300, '0');
    const std::string overflow = "0+" + big + "*" + big;
    // 1E-2470 squared is below the normal range of the extended type; the product's text must
    // read back, not fail naming a number nobody typed.
    const std::string tiny = "0," + std::string(2469, '0') + "1";
    const std::string subnormal = "0+" + tiny + "*" + tiny + "*1+2";
    const std::pair<const char*, QString> cases[] = {
        {"0+1,00797*2*3", "6,04782"},
        // A bare catalogue mass after the leading "0" is one number with a leading zero.
        {"0101,9612+15,9994", "117,9606"},
        // A chain after "-" is subtracted whole; one before it is added whole.
        {"0+10-2*3", "4"},
        {"2*3-1*0,5*4", "4"},
        {"0", "0"},
        // Products are written back as 15-digit text: 1,0000000000000004 × 1 becomes "1", so nothing
        // is left after "-1"; each step of a chain is rounded so. A term alone is not rounded.
        {"0+1,0000000000000004*1-1", "0"},
        {"0,3333333333333333*3*3-3", "0"},
        {"0+1,0000000000000004-1", "4,44089209850063E-16"},
        // The accumulator is a double rounded after each addition in extended precision; a plain
        // double sum would give exactly 100.
        {"32,2+31,9+35,9-100", "1,4210854715202E-14"},
        {"33,3+33,3+33,4-100", "0"},
        // A product that fits the extended type but not a double fails when it reaches the sum.
        {overflow.c_str(), batch::kOverflow},
        {subnormal.c_str(), "2"},
        // Only digits and the decimal separator make a term; "=" ends none.
        {"0+1E300*1E300", notANumber("1E300")},
        {"0+1=2", notANumber("1=2")},
        {"0+ 1", notANumber(" 1")},
        {"0+1e2", notANumber("1e2")},
        {"0+1,00797+*18,01534", notANumber("")}, // "X" then the water key
        {"", notANumber("")},
        {"0+", notANumber("")},
        {"*2", notANumber("")},
        // Products are formed before the sum reads any term.
        {"x+1*y", notANumber("y")},
        {"x*1+y*1", notANumber("x")},
        {"1*x*y", notANumber("x")},
        {"0+x+y", notANumber("x")},
        {"0+1.5", notANumber("1.5")},
        {"0+1 000", notANumber("1 000")},
    };
    for (const auto& [expression, outcome] : cases)
        EXPECT_EQ(outcomeOf(expression), outcome) << expression;
}

TEST(MassEvaluator, PointSeparatorConvertsOnlyPointTexts) {
    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(outcomeOf("0+1,00797"), notANumber("1,00797"));
    // The product is written back with the same separator, so it converts again.
    EXPECT_EQ(outcomeOf("0+1.5*3*0.5"), QStringLiteral("2.25"));
    batch::setDecimalSeparator(u',');
}

TEST(MassEvaluator, ExpressionOfAHundredThousandTerms) {
    batch::setDecimalSeparator(u',');
    QString expression = QStringLiteral("0");
    for (int i = 0; i < 25000; ++i)
        expression += QStringLiteral("+0,5*3+2,25-0,75*2");
    // 1 + 25000 × 4 terms; every group adds 1,5 + 2,25 − 1,5, all exact in binary.
    EXPECT_EQ(evaluateMassExpression(expression), QStringLiteral("56250"));
    // The stores hold every term: a bad one far beyond the first thousand is still found.
    EXPECT_EQ(failureOf([&] { evaluateMassExpression(expression + QStringLiteral("+0,5*3,,")); }),
              notANumber("3,,"));
}

} // namespace
} // namespace chemistry
