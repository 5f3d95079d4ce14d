#include "batch/NumberText.h"
#include "FailureOf.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

using namespace batch;

namespace {

class NumberText : public ::testing::TestWithParam<QChar> {
protected:
    void SetUp() override { setDecimalSeparator(GetParam()); }
    void TearDown() override { setDecimalSeparator(QLatin1Char(',')); }
    // Writes a literal given with a comma in the separator under test.
    QString local(const char* text) const {
        return QString::fromUtf8(text).replace(QLatin1Char(','), GetParam());
    }
};

TEST_P(NumberText, ConvertsPlainDecimalNumbersOnly) {
    const std::pair<const char*, long double> accepted[] = {
        {"223", 223.0L},    {"15,9994", 15.9994L}, {"  -1,5 ", -1.5L},
        {"+2", 2.0L},       {",5", 0.5L},          {"7,", 7.0L},
        {"2,5e-2", 0.025L}, {"1E+2", 100.0L},      {"0101,9612", 101.9612L},
    };
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(textToNumber(local(text)), value) << text;

    const QChar foreign = GetParam() == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QString refused[] = {
        QString(),      local(" "),    local("1 000"), QStringLiteral("1") + foreign + "5",
        local("1,2,3"), local("0x1A"), local("$FF"),   local("INF"),
        local("NAN"),   local("1E"),   local("E5"),    local("1E5000"),
        local("-"),     local("12a"),  local("\t1"),   QStringLiteral("١"),
    };
    for (const QString& text : refused)
        EXPECT_EQ(failureOf([&] { textToNumber(text); }),
                  QStringLiteral("'%1' is not a valid floating point value").arg(text))
            << qPrintable(text);
}

TEST_P(NumberText, GeneralTextKeepsFifteenDigitsAndSwitchesToScientificAtTheDocumentedBounds) {
    const std::pair<long double, const char*> cases[] = {
        {-0.0L, "0"},
        {18.01534L, "18,01534"},
        {0.0001L, "0,0001"},
        {0.00001L, "1E-5"},
        {-0.000012345L, "-1,2345E-5"},
        {123456789012345.0L, "123456789012345"},
        {1234567890123456.0L, "1,23456789012346E15"},
        {0.6666666666666666667L, "0,666666666666667"},
        {0.30000000000000004L, "0,3"},
        {999999999999999.5L, "1E15"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(generalText(value), local(text)) << text;
}

TEST_P(NumberText, FixedTextRoundsHalfAwayFromZeroToPrecisionOrDecimals) {
    const struct {
        long double value;
        int precision;
        int decimals;
        const char* text;
    } cases[] = {
        {1234.56789L, 7, 4, "1234,5680"}, {12.345L, 3, 1, "12,3"},
        {-0.00001L, 7, 4, "0,0000"},      {0.25L, 8, 1, "0,3"},
        {-0.25L, 8, 1, "-0,3"},           {75.0L, 8, 1, "75,0"},
        {999.96L, 3, 1, "1E3"},           {1000.0L, 3, 1, "1E3"},
        {1234.0L, 3, 1, "1,23E3"},        {99.99L, 8, 1, "100,0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixedText(c.value, c.precision, c.decimals), local(c.text)) << c.text;
}

TEST_P(NumberText, TextOfValuesAtTheEdgesOfTheRangeReadsBack) {
    const long double values[] = {LDBL_MIN,  LDBL_TRUE_MIN,          LDBL_MIN / 3, -LDBL_MIN,   LDBL_MAX,
                                  -LDBL_MAX, LDBL_MAX / 1.00000001L, DBL_MAX,      DBL_TRUE_MIN};
    for (const long double value : values)
        for (const int digits : {15, 8, 4, 1}) {
            const QString text = generalText(value, digits);
            long double read = 0;
            ASSERT_TRUE(tryTextToNumber(text, read)) << qPrintable(text);
            EXPECT_EQ(generalText(read, digits), text);
        }
    // Below the smallest subnormal a text reads as zero; above the largest value it is refused.
    long double read = 1;
    EXPECT_TRUE(tryTextToNumber(local("1E-5000"), read));
    EXPECT_EQ(read, 0.0L);
    EXPECT_FALSE(tryTextToNumber(local("1,2E4932"), read));
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberText, ::testing::Values(QLatin1Char(','), QLatin1Char('.')));

TEST(CheckedArithmetic, RaisesTheFailuresThatThePlatformWouldHaveTrapped) {
    EXPECT_EQ(failureOf([] { checkedDivide(0, 0); }), "Invalid floating point operation");
    EXPECT_EQ(failureOf([] { checkedDivide(-1, 0); }), "Floating point division by zero");
    EXPECT_EQ(failureOf([] { checkedMultiply(1e4000L, 1e4000L); }), "Floating point overflow");
    EXPECT_EQ(failureOf([] { toDouble(1e400L); }), "Floating point overflow");
    EXPECT_EQ(failureOf([] { addToRunningSum(1.7e308, 1.7e308L); }), "Floating point overflow");
    EXPECT_EQ(checkedDivide(1, 4), 0.25L);
}

TEST(RunningSum, AddsInExtendedPrecisionAndRoundsEachStepToDouble) {
    setDecimalSeparator(QLatin1Char(','));
    const auto runningSum = [](std::initializer_list<const char*> texts) {
        double sum = 0;
        for (const char* text : texts)
            sum = addToRunningSum(sum, textToNumber(QString::fromLatin1(text)));
        return sum;
    };
    // A plain double sum of the last two would land on 100 exactly.
    EXPECT_EQ(runningSum({"33,3", "33,3", "33,4"}), 100.0);
    EXPECT_EQ(runningSum({"31,6", "31,4", "9,1", "14,8", "13,1"}), std::nextafter(100.0, 0.0));
    EXPECT_EQ(runningSum({"32,2", "31,9", "35,9"}), std::nextafter(100.0, 200.0));
}

} // namespace
