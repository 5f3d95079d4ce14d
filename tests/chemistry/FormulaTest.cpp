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
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseFormula(QString::fromUtf8(c.text)); }), QString::fromUtf8(c.message));
}

} // namespace
} // namespace chemistry
