#include "chemistry/Formula.h"
#include "FailureOf.h"
#include "batch/NumberText.h"
#include "chemistry/Catalogue.h"
#include "chemistry/ElementTable.h"
#include "chemistry/FormulaEditor.h"
#include "chemistry/MassEvaluator.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace chemistry {
namespace {

QString countsOf(const Formula& formula) {
    QStringList parts;
    for (const ElementCount& element : formula.elements)
        parts << element.symbol + QString::number(element.count);
    return parts.join(u' ');
}

TEST(Formula, ParenthesesAndHydrateWaterCountEveryAtom) {
    batch::setDecimalSeparator(u',');
    const struct {
        const char* text;
        const char* counts;
        const char* mass;
    } cases[] = {
        {"CaMg(CO3)2", "Ca1 Mg1 C2 O6", "184,4014"},
        {"Al(OH)3", "Al1 O3 H3", "78,00361"},
        {"Na3H(CO3)2·2H2O", "Na3 H5 C2 O8", "226,02445"},
        {"Na2B4O7·10H2O", "Na2 B4 O17 H20", "381,3688"},
        {"Na2B4O7*10H2O", "Na2 B4 O17 H20", "381,3688"},
        {"Na2B4O7x10H2O", "Na2 B4 O17 H20", "381,3688"},
        {"CaSO4·H2O", "Ca1 S1 O5 H2", "154,15694"},
        {"Ca3(PO4)2", "Ca3 P2 O8", "310,1828"},
        {"K2(Mg(CO3)2)3", "K2 Mg3 C6 O18", "511,1682"},
        {"Al2Si2O5(OH)4", "Al2 Si2 O9 H4", "258,16148"},
        {"C12", "C12", "144,12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Formula formula = parseFormula(QString::fromUtf8(c.text));
        EXPECT_EQ(countsOf(formula), QString::fromUtf8(c.counts));
        EXPECT_EQ(molarMassText(formula), QString::fromUtf8(c.mass));
    }
}

// The mass text as the keyboard writes it: a group with a count multiplies the atoms in it, a
// group without one keeps them as written; crystal water is the water key's term.
TEST(Formula, WritesGroupsAndHydratePartsAtomByAtom) {
    const struct {
        const char* text;
        const char* counts;
        const char* expression;
    } cases[] = {
        {"Al(OH)3", "Al1 O3 H3", "0+26,9815+15,9994*3+1,00797*3"},
        {"CaMg(CO3)2", "Ca1 Mg1 C2 O6", "0+40,08+24,305+12,01*2+15,9994*6"},
        {"Ca3(PO4)2", "Ca3 P2 O8", "0+40,08*3+30,9738*2+15,9994*8"},
        {"K2(Mg(CO3)2)3", "K2 Mg3 C6 O18", "0+39,102*2+24,305*3+12,01*6+15,9994*18"},
        {"Ca(Mg(OH)2)", "Ca1 Mg1 O2 H2", "0+40,08+24,305+15,9994*2+1,00797*2"},
        {"((H)O2)", "H1 O2", "0+1,00797+15,9994*2"},
        {"(H2(O))1", "H2 O1", "0+1,00797*2+15,9994*1"},
        {"OH(OH)2O", "O4 H3", "0+15,9994+1,00797+15,9994*2+1,00797*2+15,9994"},
        {"Na2B4O7·10H2O", "Na2 B4 O17 H20", "0+22,9898*2+10,810*4+15,9994*7+10*18,01534"},
        {"CaSO4x1H2O", "Ca1 S1 O5 H2", "0+40,08+32,064+15,9994*4+1*18,01534"},
        {"CaCO3·2Mg(OH)2", "Ca1 C1 O7 Mg2 H4", "0+40,08+12,01+15,9994*3+24,305*2+15,9994*4+1,00797*4"},
        {"CaCO3*(H2O)", "Ca1 C1 O4 H2", "0+40,08+12,01+15,9994*3+1,00797*2+15,9994"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Formula formula = parseFormula(QString::fromUtf8(c.text));
        EXPECT_EQ(countsOf(formula), QString::fromUtf8(c.counts));
        EXPECT_EQ(formula.massExpression, QString::fromUtf8(c.expression));
    }
}

// Tokens as in the keyboard: an element symbol, a digit, "X", "water".
EntryState press(const char* script) {
    EntryState state = clearedEntry();
    for (const QString& token : QString::fromUtf8(script).split(u' ', Qt::SkipEmptyParts)) {
        KeyPress key{KeyPress::Kind::Plus};
        if (token == u"X")
            key = {KeyPress::Kind::Hydrate};
        else if (token == u"water")
            key = {KeyPress::Kind::Water};
        else if (token == u"0")
            key = {KeyPress::Kind::Zero};
        else if (token[0].isDigit())
            key = {KeyPress::Kind::Digit, 0, {}, token[0].digitValue()};
        else if (const ElementKey* element = findElementBySymbol(token))
            key = {KeyPress::Kind::Element, element->key, element->symbol};
        state = pressKey(state, key).state;
    }
    return state;
}

TEST(Formula, WritesTheKeyboardsMassTextForWhatTheKeyboardBuilds) {
    batch::setDecimalSeparator(u',');
    for (const char* keys : {"Si O 2", "Na 2 B 4 O 7 X 1 0 water", "Ca Cl 2 X 6 water", "C 1 2", "H 2 O",
                             "Al 2 O 3", "Na 2 C O 3", "K Al Si 3 O 8", "Mg S O 4 X 7 water"}) {
        SCOPED_TRACE(keys);
        const EntryState built = press(keys);
        const Formula formula = parseFormula(built.formula);
        EXPECT_EQ(formula.massExpression, built.massExpression);
        EXPECT_EQ(molarMassText(formula), evaluateMassExpression(built.massExpression));
    }
}

TEST(Formula, GivesTheKeyboardsMassForEveryCatalogueSubstance) {
    batch::setDecimalSeparator(u',');
    int checked = 0;
    for (const CatalogueList& list : catalogueLists())
        for (const CatalogueEntry& entry : list.entries) {
            EXPECT_EQ(molarMassText(parseFormula(entry.formula)), entry.molarMass)
                << entry.formula.toStdString();
            ++checked;
        }
    EXPECT_EQ(checked, 75);
    // Under a decimal point the masses are still computed, and written with the point.
    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(molarMassText(parseFormula(QStringLiteral("SiO2"))), QStringLiteral("60.0848"));
    batch::setDecimalSeparator(u',');
}

TEST(Formula, NamesThePositionOfTheFirstFault) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "Ошибка в формуле «» в позиции 1: формула пуста!"},
        {"Ca(OH2", "Ошибка в формуле «Ca(OH2» в позиции 3: скобка не закрыта!"},
        {"Na2O)", "Ошибка в формуле «Na2O)» в позиции 5: лишняя закрывающая скобка!"},
        {"NaXy2", "Ошибка в формуле «NaXy2» в позиции 3: нет элемента «Xy»!"},
        {"2H2O", "Ошибка в формуле «2H2O» в позиции 1: число стоит не после элемента или скобки!"},
        {"Na02", "Ошибка в формуле «Na02» в позиции 3: число атомов не может начинаться с нуля!"},
        {"Ca()", "Ошибка в формуле «Ca()» в позиции 3: пустые скобки!"},
        {"NaCl·", "Ошибка в формуле «NaCl·» в позиции 6: после знака гидрата нет формулы!"},
        {"sio2", "Ошибка в формуле «sio2» в позиции 1: символ элемента начинается с заглавной буквы!"},
        {"SiO2 ", "Ошибка в формуле «SiO2 » в позиции 5: неожиданный символ « »!"},
        {"C9999999", "Ошибка в формуле «C9999999» в позиции 2: слишком большое число!"},
        {"Ca((H1000)1000)2",
         "Ошибка в формуле «Ca((H1000)1000)2» в позиции 3: слишком большое число атомов!"},
        {"K4[Fe(CN)6]", "Ошибка в формуле «K4[Fe(CN)6]» в позиции 3: неожиданный символ «[»!"},
        {"Ca(OH)2·(H2O", "Ошибка в формуле «Ca(OH)2·(H2O» в позиции 9: скобка не закрыта!"},
        // A character outside the basic plane is named whole.
        {"K\U0001F600", "Ошибка в формуле «K\U0001F600» в позиции 2: неожиданный символ «\U0001F600»!"},
        // A long formula is shown by its first forty characters.
        {"SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2y",
         "Ошибка в формуле «SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2…» в позиции 45: символ элемента "
         "начинается с "
         "заглавной буквы!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseFormula(QString::fromUtf8(c.text)); }), QString::fromUtf8(c.message));
}

// The main part before a hydrate separator is the substance itself: without it the formula is
// only water or another salt's formula, not what the user meant.
TEST(Formula, RefusesAHydratePartWithoutTheMainPart) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"·Na2CO3", "Ошибка в формуле «·Na2CO3» в позиции 1: перед знаком гидрата нет формулы!"},
        {"x10H2O", "Ошибка в формуле «x10H2O» в позиции 1: перед знаком гидрата нет формулы!"},
        {"··", "Ошибка в формуле «··» в позиции 1: перед знаком гидрата нет формулы!"},
        {"*", "Ошибка в формуле «*» в позиции 1: перед знаком гидрата нет формулы!"},
        {"Na2CO3·", "Ошибка в формуле «Na2CO3·» в позиции 8: после знака гидрата нет формулы!"},
        {"Na2CO3·10", "Ошибка в формуле «Na2CO3·10» в позиции 10: после знака гидрата нет формулы!"},
        {"Na2CO3··H2O", "Ошибка в формуле «Na2CO3··H2O» в позиции 8: после знака гидрата нет формулы!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseFormula(QString::fromUtf8(c.text)); }), QString::fromUtf8(c.message));
}

QString nested(int levels, const QString& inside) {
    return QString(levels, u'(') + inside + QString(levels, u')');
}

TEST(Formula, AcceptsUpTo256CharactersAnd16LevelsOfParentheses) {
    // 256 characters: SiO2 sixty-three times and "Na2O".
    const QString longest = QStringLiteral("SiO2").repeated(63) + QStringLiteral("Na2O");
    ASSERT_EQ(longest.size(), kLongestFormula);
    const Formula formula = parseFormula(longest);
    EXPECT_EQ(formula.atoms(QStringLiteral("Si")), 63);
    EXPECT_EQ(formula.atoms(QStringLiteral("O")), 127);
    EXPECT_EQ(
        failureOf([&] { parseFormula(longest + u'2'); }),
        QStringLiteral("Ошибка в формуле «SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2SiO2…» в позиции 257: формула "
                       "длиннее 256 знаков!"));

    EXPECT_EQ(parseFormula(QStringLiteral("Na") + nested(16, QStringLiteral("OH2")) + u'3')
                  .atoms(QStringLiteral("H")),
              6);
    EXPECT_EQ(parseFormula(QStringLiteral("Ca(") + nested(15, QStringLiteral("OH")) + QStringLiteral(")2"))
                  .atoms(QStringLiteral("H")),
              2);
    EXPECT_EQ(failureOf([&] { parseFormula(QStringLiteral("Na") + nested(17, QStringLiteral("OH"))); }),
              QStringLiteral(
                  "Ошибка в формуле «Na(((((((((((((((((OH)))))))))))))))))» в позиции 19: скобки вложены "
                  "глубже 16 уровней!"));
    // Each hydrate part counts its own levels.
    const QString sixteen = nested(16, QStringLiteral("H2O"));
    EXPECT_EQ(parseFormula(sixteen + u'·' + sixteen).atoms(QStringLiteral("O")), 2);
    EXPECT_EQ(failureOf([&] { parseFormula(QStringLiteral("Na2O(") + sixteen + u')'); }).section(u':', 1),
              QStringLiteral(" скобки вложены глубже 16 уровней!"));
}

// A composition file may hold a megabyte in one cell: it is refused at once, and the message
// shows only the start of it.
TEST(Formula, RefusesAMegabyteOfParenthesesWithAShortMessage) {
    const QString deep = QStringLiteral("Na") + nested(400000, QStringLiteral("OH")) + QString(1 << 20, u'H');
    const QString message = failureOf([&] { parseFormula(deep); });
    EXPECT_EQ(message,
              QStringLiteral("Ошибка в формуле «Na((((((((((((((((((((((((((((((((((((((…» в позиции 257: "
                             "формула длиннее 256 знаков!"));
    // Also within the length: deep parentheses stop at the seventeenth level.
    EXPECT_EQ(
        failureOf([&] { parseFormula(QString(256, u'(')); }),
        QStringLiteral("Ошибка в формуле «((((((((((((((((((((((((((((((((((((((((…» в позиции 17: скобки "
                       "вложены глубже 16 уровней!"));
}

} // namespace
} // namespace chemistry
