#include "export/SpreadsheetCell.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>

namespace {

// The spreadsheet gets a number only where the program's own number text reads one, with the
// program's decimal separator; a text that would be a formula, or a number only to an office of
// another locale, stays text.
TEST(SpreadsheetCell, NumbersOfTheProgramsNumberTextAndNothingElse) {
    struct Case {
        QChar separator;
        const char* text;
        std::optional<double> number;
    };
    const Case cases[] = {
        {u',', "60,0848", 60.0848},
        {u',', " 75 ", 75}, // blanks around a number, as the number text allows them
        {u',', "-2,5E-3", -0.0025},
        {u',', "+4", 4},
        {u',', "0", 0},
        {u',', "60.0848", std::nullopt}, // a number to an English office only
        {u'.', "60.0848", 60.0848},
        {u'.', "60,0848", std::nullopt},
        {u',', "", std::nullopt},
        {u',', "=1+1", std::nullopt},
        {u',', "+1+1", std::nullopt},
        {u',', "-A1", std::nullopt},
        {u',', "@SUM(A1:A3)", std::nullopt},
        {u',', "=WEBSERVICE(\"http://127.0.0.1/\"&A2)", std::nullopt},
        {u',', "1 000", std::nullopt},
        {u',', "1E400", std::nullopt},  // beyond a spreadsheet's numbers: not an infinity
        {u',', "1E-400", std::nullopt}, // nor a zero
        {u',', "1E308", 1e308},
    };
    for (const Case& c : cases) {
        batch::setDecimalSeparator(c.separator);
        EXPECT_EQ(exporting::spreadsheetNumber(QString::fromUtf8(c.text)), c.number) << c.text;
    }
    batch::setDecimalSeparator(u',');
}

} // namespace
