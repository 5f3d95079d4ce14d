#include "chemistry/ElementTable.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace chemistry {
namespace {

TEST(ElementTable, KeysFillTheKeyboardPlacesOnce) {
    const auto& keys = elementKeys();
    ASSERT_EQ(keys.size(), std::size_t{kElementKeyCount});
    std::set<QString> symbols;
    std::set<std::pair<int, int>> places;
    std::map<int, int> perRow;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const ElementKey& key = keys[i];
        EXPECT_EQ(key.key, static_cast<int>(i + 1));
        EXPECT_TRUE(symbols.insert(key.symbol).second) << key.symbol.toStdString();
        EXPECT_TRUE(places.insert({key.row, key.column}).second) << key.symbol.toStdString();
        const int columns = key.row <= 10 ? 11 : 14;
        EXPECT_TRUE(key.column >= 0 && key.column < columns) << key.symbol.toStdString();
        ++perRow[key.row];
    }
    // Short-form table: rows with a VIII triad hold ten keys, the others skip it; the last
    // row is full; row 11 is the gap above the two rows of fourteen.
    const std::map<int, int> expected{{1, 2}, {2, 8},  {3, 8}, {4, 10},  {5, 8},   {6, 10},
                                      {7, 8}, {8, 10}, {9, 8}, {10, 11}, {12, 14}, {13, 14}};
    EXPECT_EQ(perRow, expected);
}

TEST(ElementTable, PlacesOfLandmarkKeys) {
    const struct {
        const char* symbol;
        int key;
        int row;
        int column;
    } cases[] = {{"H", 1, 1, 0},    {"He", 111, 1, 10},  {"Ne", 77, 2, 10}, {"Fe", 65, 4, 7},
                 {"Ni", 73, 4, 9},  {"Uuu", 82, 10, 10}, {"Ce", 83, 12, 0}, {"Lu", 96, 12, 13},
                 {"Th", 97, 13, 0}, {"Lr", 110, 13, 13}};
    for (const auto& c : cases) {
        const ElementKey* key = findElementBySymbol(QString::fromUtf8(c.symbol));
        ASSERT_NE(key, nullptr) << c.symbol;
        EXPECT_EQ(key->key, c.key) << c.symbol;
        EXPECT_EQ(key->row, c.row) << c.symbol;
        EXPECT_EQ(key->column, c.column) << c.symbol;
    }
    EXPECT_EQ(findElementBySymbol(QStringLiteral("h")), nullptr);
    EXPECT_EQ(findElementBySymbol(QStringLiteral("X")), nullptr);
}

TEST(ElementTable, MassTextsAreCommaDecimalsWithCorrectedTypingErrors) {
    batch::setDecimalSeparator(u',');
    for (const ElementKey& key : elementKeys()) {
        ASSERT_TRUE(key.massText.startsWith(u'+')) << key.symbol.toStdString();
        batch::Extended value = 0;
        EXPECT_TRUE(batch::tryTextToNumber(key.massText.mid(1), value)) << key.symbol.toStdString();
        EXPECT_GT(value, 1) << key.symbol.toStdString();
    }
    EXPECT_EQ(findElementBySymbol(QStringLiteral("Rb"))->massText, QStringLiteral("+85,47"));
    EXPECT_EQ(findElementBySymbol(QStringLiteral("As"))->massText, QStringLiteral("+74,9216"));
    EXPECT_EQ(findElementBySymbol(QStringLiteral("Sc"))->massText, QStringLiteral("+44,956"));
}

} // namespace
} // namespace chemistry
