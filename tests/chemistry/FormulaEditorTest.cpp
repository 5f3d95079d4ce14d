#include "chemistry/FormulaEditor.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"
#include "chemistry/ElementTable.h"
#include "chemistry/MassEvaluator.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace chemistry {
namespace {

// Drives the formula entry from a compact script of key names, as a user would press them.
// Tokens: an element symbol, "1".."9", "0", "X", "water", "+", "clear" ("Очистить").
KeyPress keyFor(const QString& token) {
    if (token == u"X") {
        return {KeyPress::Kind::Hydrate};
    }
    if (token == u"water") {
        return {KeyPress::Kind::Water};
    }
    if (token == u"+") {
        return {KeyPress::Kind::Plus};
    }
    if (token == u"0") {
        return {KeyPress::Kind::Zero};
    }
    if (token.size() == 1 && token.at(0) >= u'1' && token.at(0) <= u'9') {
        return {KeyPress::Kind::Digit, 0, {}, token.at(0).unicode() - u'0'};
    }
    const ElementKey* element = findElementBySymbol(token);
    if (element == nullptr) {
        ADD_FAILURE() << "no key named " << token.toStdString();
        return {KeyPress::Kind::Plus};
    }
    return {KeyPress::Kind::Element, element->key, element->symbol};
}

EntryState press(const QString& script, EntryState state = clearedEntry()) {
    for (const QString& token : script.split(u' ', Qt::SkipEmptyParts)) {
        if (token == u"clear") {
            state = clearedEntry();
        } else {
            state = pressKey(state, keyFor(token)).state;
        }
    }
    return state;
}

struct Sequence {
    const char* keys;
    const char* formula;
    const char* expression;
    const char* mass; // the evaluated molar mass, or nullptr when evaluation fails
    const char* failingTerm = "";
};

void PrintTo(const Sequence& s, std::ostream* os) {
    *os << s.keys;
}

void expectEvaluation(const QString& expression, const char* mass, const char* failingTerm) {
    if (mass != nullptr) {
        EXPECT_EQ(evaluateMassExpression(expression), QString::fromUtf8(mass)) << expression.toStdString();
        return;
    }
    try {
        const QString result = evaluateMassExpression(expression);
        ADD_FAILURE() << expression.toStdString() << " gave " << result.toStdString();
    } catch (const batch::Failure& failure) {
        EXPECT_EQ(failure.message(), batch::conversionMessage(QString::fromUtf8(failingTerm)));
    }
}

class CommaSequences : public ::testing::TestWithParam<Sequence> {
protected:
    void SetUp() override { batch::setDecimalSeparator(u','); }
};

TEST_P(CommaSequences, BuildFormulaAndExpressionInStep) {
    const Sequence& s = GetParam();
    const EntryState state = press(QString::fromUtf8(s.keys));
    EXPECT_EQ(state.formula, QString::fromUtf8(s.formula));
    EXPECT_EQ(state.massExpression, QString::fromUtf8(s.expression));
    expectEvaluation(state.massExpression, s.mass, s.failingTerm);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, CommaSequences,
    ::testing::Values(
        Sequence{"H 2 O", "H2O", "0+1,00797*2+15,9994", "18,01534"},
        // Several digits form one count.
        Sequence{"C 1 2", "C12", "0+12,01*12", "144,12"}, Sequence{"C 1 0", "C10", "0+12,01*10", "120,1"},
        Sequence{"C 1 0 5", "C105", "0+12,01*105", "1261,05"},
        Sequence{"H 2 O 2", "H2O2", "0+1,00797*2+15,9994*2", "34,01474"},
        // "0" right after an element lengthens its mass text; the count that follows is new.
        Sequence{"H 0", "H0", "0+1,007970", "1,00797"}, Sequence{"H 0 2", "H02", "0+1,007970*2", "2,01594"},
        Sequence{"Fr 0", "Fr0", "0+2230", "2230"},
        // Hydrate water.
        Sequence{"Ca Cl 2 X 6 water", "CaCl2x6H2O", "0+40,08+35,453*2+6*18,01534", "219,07804"},
        Sequence{"Na 2 B 4 O 7 X 1 0 water", "Na2B4O7x10H2O", "0+22,9898*2+10,810*4+15,9994*7+10*18,01534",
                 "381,3688"},
        Sequence{"Ca S O 4 water", "CaSO4H2O", "0+40,08+32,064+15,9994*4+18,01534", "154,15694"},
        Sequence{"Ca S O 4 water 2", "CaSO4H2O2", "0+40,08+32,064+15,9994*4+18,01534*2", "172,17228"},
        // An element ends hydrate mode, so a count after it multiplies it again.
        Sequence{"H X 2 Si", "Hx2Si", "0+1,00797+2+28,086", "31,09397"},
        Sequence{"H X 2 Si 2", "Hx2Si2", "0+1,00797+2+28,086*2", "59,17997"},
        Sequence{"X clear H 2", "H2", "0+1,00797*2", "2,01594"},
        Sequence{"Si O 2 + Na 2 O", "SiO2+Na2O", "0+28,086+15,9994*2+22,9898*2+15,9994", "122,0638"},
        // The corrected masses.
        Sequence{"Rb", "Rb", "0+85,47", "85,47"},
        Sequence{"As 2 O 3", "As2O3", "0+74,9216*2+15,9994*3", "197,8414"},
        Sequence{"Sc", "Sc", "0+44,956", "44,956"},
        // Keys never check what they build; an empty term fails only at evaluation.
        Sequence{"H X Si", "HxSi", "0+1,00797++28,086", nullptr, ""},
        Sequence{"H X water", "HxH2O", "0+1,00797+*18,01534", nullptr, ""}));

// Under a point separator the keys write the same texts, but only whole masses convert.
class PointSequences : public CommaSequences {
protected:
    void SetUp() override { batch::setDecimalSeparator(u'.'); }
    void TearDown() override { batch::setDecimalSeparator(u','); }
};

TEST_P(PointSequences, EvaluateOnlyWholeMasses) {
    const Sequence& s = GetParam();
    const EntryState state = press(QString::fromUtf8(s.keys));
    EXPECT_EQ(state.massExpression, QString::fromUtf8(s.expression));
    expectEvaluation(state.massExpression, s.mass, s.failingTerm);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, PointSequences,
                         ::testing::Values(Sequence{"Fr", "", "0+223", "223"},
                                           Sequence{"Fr 1 2", "", "0+223*12", "2676"},
                                           Sequence{"Ra Tc 0", "", "0+226+990", "1216"},
                                           Sequence{"H 2 O", "", "0+1,00797*2+15,9994", nullptr, "1,00797"},
                                           // Products are formed before the sum reads the first mass.
                                           Sequence{"Ca Cl 2", "", "0+40,08+35,453*2", nullptr, "35,453"},
                                           Sequence{"Ca Cl", "", "0+40,08+35,453", nullptr, "40,08"}));

TEST(FormulaEditor, HydrateModeLastsFromXToTheEndOfItsFormula) {
    const struct {
        const char* keys;
        bool hydrate;
    } cases[] = {
        {"H X", true},     {"H X 1 0", true},    {"H X 1 0 water", false}, {"H X 2 O", false},
        {"H X + 0", true}, {"H X clear", false}, {"H water", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(press(QString::fromUtf8(c.keys)).hydrateMode, c.hydrate) << c.keys;
    }
}

TEST(FormulaEditor, EveryKeyButZeroEnablesCalcAndClear) {
    const EntryState state = press(QStringLiteral("H"));
    for (const char* token : {"H", "Uuu", "1", "9", "X", "water", "+"}) {
        EXPECT_TRUE(pressKey(state, keyFor(QString::fromUtf8(token))).enablesCalcAndClear) << token;
    }
    EXPECT_FALSE(pressKey(state, keyFor(QStringLiteral("0"))).enablesCalcAndClear);
}

TEST(FormulaEditor, FormulaTakesTheCaptionTheKeyShows) {
    // The caption is read from the key at the moment of the press; the mass is the key's own.
    KeyPress key{KeyPress::Kind::Element, 3, QStringLiteral("Натрий")};
    const EntryState state = pressKey(clearedEntry(), key).state;
    EXPECT_EQ(state.formula, QStringLiteral("Натрий"));
    EXPECT_EQ(state.massExpression, QStringLiteral("0+22,9898"));
}

TEST(FormulaEditor, ClearEndsTheEntry) {
    const EntryState cleared = press(QStringLiteral("Na 2 X 5 clear"));
    EXPECT_EQ(cleared.formula, QString());
    EXPECT_EQ(cleared.massExpression, QStringLiteral("0"));
    EXPECT_FALSE(cleared.hydrateMode);
    EXPECT_FALSE(cleared.countOpen);
}

} // namespace
} // namespace chemistry
