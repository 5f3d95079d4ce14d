#pragma once

// The formula entry: every key press extends the visible formula and the hidden mass text
// in step. The entry keeps no parse of the formula; its meaning lies in the order of presses.

#include <QString>

namespace chemistry {

struct EntryState {
    QString formula;                              // text of the formula field Edit4
    QString massExpression = QStringLiteral("0"); // MassExpression
    bool hydrateMode = false;                     // HydrateMode
    bool countOpen = false;                       // a further digit key extends the count just written
};

struct KeyPress {
    enum class Kind { Element, Digit, Zero, Hydrate, Water, Plus };
    Kind kind;
    int element = 0;   // Element: key number 1..111
    QString caption{}; // Element: the caption read from the key at that moment (appended to the formula)
    int digit = 0;     // Digit: 1..9
};

struct KeyOutcome {
    EntryState state;
    bool enablesCalcAndClear; // whether this key enables btnCalc and btnClear
};

KeyOutcome pressKey(const EntryState& state, const KeyPress& key);

// The entry after "Очистить": empty formula, "0", hydrate mode off, no open count.
EntryState clearedEntry();

// The molar mass of one water molecule, as the water key writes it.
inline constexpr const char* kWaterMassText = "18,01534";

} // namespace chemistry
