#pragma once

// The 111 keys of the on-screen periodic table: what each one writes into the formula and
// into the hidden mass text, and where it sits on the keyboard.

#include <QString>
#include <vector>

namespace chemistry {

struct ElementKey {
    int key;          // N of ButtonN, 1..111
    QString symbol;   // caption, e.g. "Na"
    QString massText; // appended to MassExpression, e.g. "+22,9898"
    int row;          // rows 1..10 the short-form table, 12 and 13 the two rows of fourteen (11 is the gap)
    int column;       // 0..10 in rows 1..10 (I..VIII A), 0..13 in rows 12/13
};

inline constexpr int kElementKeyCount = 111;

// Index i holds key i + 1.
const std::vector<ElementKey>& elementKeys();
// nullptr if no key carries that symbol.
const ElementKey* findElementBySymbol(const QString& symbol);
// nullptr outside 1..111.
const ElementKey* findElementByKey(int key);

} // namespace chemistry
