#pragma once

// Formulas of raw materials as a technologist writes them: element symbols with counts,
// parenthesised groups with a multiplier ("CaMg(CO3)2", "Al(OH)3") and hydrate parts after
// "·", "*" or "x" ("Na2B4O7·10H2O", "Na2B4O7x10H2O").

#include "batch/NumberText.h"

#include <QString>
#include <vector>

namespace chemistry {

struct ElementCount {
    QString symbol;
    long long count = 0;
};

struct Formula {
    QString text;
    // Each element once, in the order of its first appearance, with its atoms per formula unit.
    std::vector<ElementCount> elements;
    // The mass text the element keyboard would build for this formula ("0+22,9898*2+..."), with
    // the decimal comma of the element table; groups in parentheses are written out atom by atom.
    QString massExpression;

    long long atoms(const QString& symbol) const;
};

// Longer formulas and deeper parentheses are refused: no raw material needs them, and a cell of
// a composition file may hold anything.
inline constexpr qsizetype kLongestFormula = 256;
inline constexpr int kDeepestNesting = 16;

// Throws batch::Failure naming the position (from 1) of the first fault. Time and stack grow no
// more than the length of the text.
Formula parseFormula(const QString& text);

// The molar mass as "Вычислить" writes it for the same mass text: general number text with the
// process's decimal separator.
QString molarMassText(const Formula& formula);
batch::Extended molarMass(const Formula& formula);

} // namespace chemistry
