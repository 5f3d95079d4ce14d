#include "chemistry/FormulaEditor.h"
#include "FailureOf.h"
#include "batch/NumberText.h"
#include "chemistry/ElementTable.h"
#include "chemistry/MassEvaluator.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace chemistry {
namespace {

// Tokens of a key script: an element symbol, "1".."9", "0", "X", "water", "+", "clear" ("Очистить").
KeyPress keyFor(const QString& token) {
    for (const auto& [name, kind] :
         {std::pair{u"X", KeyPress::Kind::Hydrate}, std::pair{u"water", KeyPress::Kind::Water},
          std::pair{u"+", KeyPress::Kind::Plus}, std::pair{u"0", KeyPress::Kind::Zero}})
        if (token == name)
            return {kind};
    if (token.size() == 1 && token[0] >= u'1' && token[0] <= u'9')
        return {KeyPress::Kind::Digit, 0, {}, token[0].unicode() - u'0'};
    const ElementKey* element = findElementBySymbol(token);
    EXPECT_NE(element, nullptr) << "no key named " << token.toStdString();
    return element ? KeyPress{KeyPress::Kind::Element, element->key, element->symbol}
                   : KeyPress{KeyPress::Kind::Plus};
}

// Drives the formula entry as a user would press the keys.
EntryState press(const char* script) {
    EntryState state = clearedEntry();
    for (const QString& token : QString::fromUtf8(script).split(u' ', Qt::SkipEmptyParts))
        state = token == u"clear" ? clearedEntry() : pressKey(state, keyFor(token)).state;
    return state;
}

TEST(FormulaEditor, KeySequencesBuildFormulaAndExpressionInStep) {
    const struct {
        char separator;
        const char* keys;
        const char* formula;
        const char* expression;
        const char* result; // the evaluated mass, or the failure's message
    } cases[] = {
        {',', "H 2 O", "H2O", "0+1,00797*2+15,9994", "18,01534"},
        // Several digits form one count.
        {',', "C 1 2", "C12", "0+12,01*12", "144,12"},
        {',', "C 1 0", "C10", "0+12,01*10", "120,1"},
        {',', "H 2 O 2", "H2O2", "0+1,00797*2+15,9994*2", "34,01474"},
        // "0" right after an element lengthens its mass text; the count that follows is new.
        {',', "H 0 2", "H02", "0+1,007970*2", "2,01594"},
        // Hydrate water.
        {',', "Ca Cl 2 X 6 water", "CaCl2x6H2O", "0+40,08+35,453*2+6*18,01534", "219,07804"},
        {',', "Na 2 B 4 O 7 X 1 0 water", "Na2B4O7x10H2O", "0+22,9898*2+10,810*4+15,9994*7+10*18,01534",
         "381,3688"},
        {',', "Ca S O 4 water", "CaSO4H2O", "0+40,08+32,064+15,9994*4+18,01534", "154,15694"},
        {',', "Ca S O 4 water 2", "CaSO4H2O2", "0+40,08+32,064+15,9994*4+18,01534*2", "172,17228"},
        // An element ends hydrate mode, so a count after it multiplies it again.
        {',', "H X 2 Si 2", "Hx2Si2", "0+1,00797+2+28,086*2", "59,17997"},
        {',', "X clear H 2", "H2", "0+1,00797*2", "2,01594"},
        {',', "Na 2 X 5 clear", "", "0", "0"},
        {',', "Si O 2 + Na 2 O", "SiO2+Na2O", "0+28,086+15,9994*2+22,9898*2+15,9994", "122,0638"},
        // The corrected masses.
        {',', "Rb As Sc", "RbAsSc", "0+85,47+74,9216+44,956", "205,3476"},
        // Keys never check what they build; an empty term fails only at evaluation.
        {',', "H X Si", "HxSi", "0+1,00797++28,086", "'' is not a valid floating point value"},
        {',', "H X water", "HxH2O", "0+1,00797+*18,01534", "'' is not a valid floating point value"},
        // Under a point the keys write the same texts, but only whole masses convert; products
        // are formed before the sum reads the first mass.
        {'.', "Fr 1 2", "Fr12", "0+223*12", "2676"},
        {'.', "Ra Tc 0", "RaTc0", "0+226+990", "1216"},
        {'.', "Ca Cl 2", "CaCl2", "0+40,08+35,453*2", "'35,453' is not a valid floating point value"},
        {'.', "Ca Cl", "CaCl", "0+40,08+35,453", "'40,08' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        batch::setDecimalSeparator(QLatin1Char(c.separator));
        const EntryState state = press(c.keys);
        EXPECT_EQ(state.formula, QString::fromUtf8(c.formula));
        EXPECT_EQ(state.massExpression, QString::fromUtf8(c.expression));
        QString result;
        const QString failure = failureOf([&] { result = evaluateMassExpression(state.massExpression); });
        EXPECT_EQ(result.isEmpty() ? failure : result, QString::fromUtf8(c.result));
    }
    batch::setDecimalSeparator(u',');
}

TEST(FormulaEditor, HydrateModeLastsFromXToTheEndOfItsFormula) {
    const std::pair<const char*, bool> cases[] = {
        {"H X", true},     {"H X 1 0", true},    {"H X 1 0 water", false}, {"H X 2 O", false},
        {"H X + 0", true}, {"H X clear", false}, {"H water", false},
    };
    for (const auto& [keys, hydrate] : cases)
        EXPECT_EQ(press(keys).hydrateMode, hydrate) << keys;
}

TEST(FormulaEditor, EveryKeyButZeroEnablesCalcAndClearAndElementKeysWriteTheirCaption) {
    const EntryState state = press("H");
    for (const char* token : {"H", "Uuu", "1", "9", "X", "water", "+"})
        EXPECT_TRUE(pressKey(state, keyFor(QString::fromUtf8(token))).enablesCalcAndClear) << token;
    EXPECT_FALSE(pressKey(state, keyFor(QStringLiteral("0"))).enablesCalcAndClear);
    // The formula takes the caption the key shows at the moment; the mass is the key's own.
    const EntryState renamed = pressKey(state, {KeyPress::Kind::Element, 3, QStringLiteral("Натрий")}).state;
    EXPECT_EQ(renamed.formula + renamed.massExpression, QStringLiteral("HНатрий0+1,00797+22,9898"));
}

} // namespace
} // namespace chemistry
