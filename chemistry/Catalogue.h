#pragma once

// The six fixed lists of ready raw materials and the choice that takes one into the
// formula entry.

#include "chemistry/FormulaEditor.h"

#include <QString>
#include <vector>

namespace chemistry {

struct CatalogueEntry {
    int item;               // item number in its list, 1..k
    QString itemText;       // "1. SiO2"
    QString formula;        // "SiO2"
    QString molarMass;      // always with a decimal comma, e.g. "60,0848"
    QString expressionText; // appended to MassExpression after "0"
};

struct CatalogueList {
    QString caption; // "Оксиды :"
    QString hint;    // "Оксиды"
    std::vector<CatalogueEntry> entries;
};

inline constexpr int kCatalogueListCount = 6;

// Oxides, fluorides, sulfides, silicates, borates, chlorides, in this order; entries are
// items 1..k ("Не выбрано", item 0 of every list, is not an entry).
const std::vector<CatalogueList>& catalogueLists();
QString noChoiceText();

// The entry after "Выбрать" took this entry: the expression starts afresh ("0" followed by
// the entry's expression text), hydrate mode off, no open count.
EntryState chooseEntry(const CatalogueEntry& entry);

} // namespace chemistry
