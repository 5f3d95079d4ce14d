#include "chemistry/FormulaEditor.h"

#include "chemistry/ElementTable.h"

namespace chemistry {

KeyOutcome pressKey(const EntryState& state, const KeyPress& key) {
    EntryState next = state;
    bool enables = true;
    switch (key.kind) {
    case KeyPress::Kind::Element:
        next.formula += key.caption;
        if (const ElementKey* element = findElementByKey(key.element)) {
            next.massExpression += element->massText;
        }
        // A new element ends whatever hydrate part was open: a count after it belongs to it.
        next.hydrateMode = false;
        next.countOpen = false;
        break;
    case KeyPress::Kind::Digit: {
        const QChar digit(u'0' + key.digit);
        next.formula += digit;
        // In hydrate mode the digits form the number of water molecules, a term of its own
        // that "X" already opened with "+"; otherwise they form one factor, however many
        // digits it has (C, 1, 2 means twelve carbon atoms).
        if (!state.hydrateMode && !state.countOpen) {
            next.massExpression += u'*';
        }
        next.massExpression += digit;
        next.countOpen = true;
        break;
    }
    case KeyPress::Kind::Zero:
        // A bare "0" either extends the count being written (1, 0 is ten) or, right after an
        // element, lengthens that element's mass text without changing its value. It leaves
        // the count as open or closed as it found it.
        next.formula += u'0';
        next.massExpression += u'0';
        enables = false;
        break;
    case KeyPress::Kind::Hydrate:
        next.formula += u'x';
        next.massExpression += u'+';
        next.hydrateMode = true;
        next.countOpen = false;
        break;
    case KeyPress::Kind::Water:
        next.formula += QStringLiteral("H2O");
        // After "X" and a count the water mass multiplies that count; without "X" the key
        // adds one molecule of water.
        next.massExpression += state.hydrateMode ? u'*' : u'+';
        next.massExpression += QLatin1String(kWaterMassText);
        next.hydrateMode = false;
        next.countOpen = false;
        break;
    case KeyPress::Kind::Plus:
        // Only separates parts of the formula; every element term begins with "+" anyway.
        next.formula += u'+';
        next.countOpen = false;
        break;
    }
    return {std::move(next), enables};
}

EntryState clearedEntry() {
    return EntryState{};
}

} // namespace chemistry
