#include "chemistry/ElementTable.h"
#include "batch/NumberText.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace chemistry {
namespace {

TEST(ElementTable, KeysFillTheKeyboardPlacesOnceWithDecimalMasses) {
    batch::setDecimalSeparator(u',');
    const auto& keys = elementKeys();
    ASSERT_EQ(keys.size(), std::size_t{kElementKeyCount});
    std::set<QString> symbols;
    std::set<std::pair<int, int>> places;
    std::map<int, int> perRow;
    for (const ElementKey& key : keys) {
        SCOPED_TRACE(key.symbol.toStdString());
        EXPECT_EQ(key.key, &key - keys.data() + 1);
        EXPECT_TRUE(symbols.insert(key.symbol).second);
        EXPECT_TRUE(places.insert({key.row, key.column}).second);
        EXPECT_TRUE(key.column >= 0 && key.column < (key.row <= 10 ? 11 : 14));
        ++perRow[key.row];
        batch::Extended mass = 0;
        EXPECT_TRUE(key.massText.startsWith(u'+') && batch::tryTextToNumber(key.massText.mid(1), mass));
        EXPECT_GT(mass, 1);
    }
    // Short-form table: rows with a VIII triad hold ten keys, the others skip it; the last
    // row is full; row 11 is the gap above the two rows of fourteen.
    const std::map<int, int> expected{{1, 2}, {2, 8},  {3, 8}, {4, 10},  {5, 8},   {6, 10},
                                      {7, 8}, {8, 10}, {9, 8}, {10, 11}, {12, 14}, {13, 14}};
    EXPECT_EQ(perRow, expected);

    const struct {
        const char* symbol;
        int key, row, column;
    } landmarks[] = {
        {"H", 1, 1, 0}, {"He", 111, 1, 10}, {"Fe", 65, 4, 7}, {"Uuu", 82, 10, 10}, {"Lr", 110, 13, 13}};
    for (const auto& c : landmarks) {
        const ElementKey& key = keys[std::size_t(c.key - 1)];
        EXPECT_EQ((std::tuple{key.symbol, key.row, key.column}),
                  (std::tuple{QString(c.symbol), c.row, c.column}));
    }
    EXPECT_EQ(findElementBySymbol(QStringLiteral("h")), nullptr);
}

} // namespace
} // namespace chemistry
