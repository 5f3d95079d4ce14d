// The formula parser against any text up to a megabyte: it gives a formula whose mass text holds
// exactly the atoms of its element counts and evaluates to their molar mass, or it fails with a
// short message about the formula. Nothing else comes out of it (an exception of another kind
// or a crash ends the run), and scripts/fuzz runs it with a time limit per input.
#include "FuzzCheck.h"
#include "batch/Failure.h"
#include "batch/NumberText.h"
#include "chemistry/ElementTable.h"
#include "chemistry/Formula.h"
#include "chemistry/FormulaEditor.h"

#include <QHash>
#include <QStringList>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr qsizetype kLargestText = qsizetype(1) << 20;

// A byte below 128 is that character, so that seeds are written as formulas; the bytes above
// stand for element symbols, the separators and groups, the water, and characters that have no
// place in a formula (a Cyrillic "О", halves of a character outside the basic plane); DEL
// doubles the text.
QString textOf(const std::uint8_t* data, std::size_t size) {
    static const QStringList pieces = [] {
        QStringList list;
        for (const chemistry::ElementKey& key : chemistry::elementKeys())
            list << key.symbol;
        for (const char16_t* piece : {u"·", u"•", u"(", u")", u"H2O", u"10", u"\u00A0", u"\u041E", u"\u00E9",
                                      u"\U0001F600", u"\xD83D", u"\xDE00"})
            list << QString::fromUtf16(piece);
        return list;
    }();
    QString text;
    text.reserve(static_cast<qsizetype>(size));
    for (std::size_t i = 0; i < size && text.size() < kLargestText; ++i) {
        const std::uint8_t byte = data[i];
        if (byte == 0x7F) {
            // Doubles the text so far, up to a megabyte: deep and long texts from a few bytes.
            if (text.size() <= kLargestText / 2) {
                const QString copy = text;
                text += copy;
            }
        } else if (byte < 0x80) {
            text += QLatin1Char(char(byte));
        } else
            text += pieces[(byte - 0x80) % pieces.size()];
    }
    return text;
}

// Atoms per mass text: elements that share a mass (radioactive ones with the same mass number)
// cannot be told apart in the mass text, so atoms are compared per mass.
using AtomsByMass = QHash<QString, long long>;

const QString& waterMass() {
    static const QString text = QString::fromLatin1(chemistry::kWaterMassText);
    return text;
}

QString massOf(const QString& symbol) {
    const chemistry::ElementKey* element = chemistry::findElementBySymbol(symbol);
    fuzzCheck(element != nullptr, "a formula holds an element that is not in the table");
    return element->massText.sliced(1); // without its "+"
}

long long wholeNumber(const QString& text) {
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    fuzzCheck(ok && value > 0 && QString::number(value) == text, "a factor of the mass text is not a count");
    return value;
}

// The atoms the mass text holds: "0", then "+mass", "+mass*count" or "+count*water" terms.
AtomsByMass atomsOfExpression(const QString& expression) {
    const QStringList terms = expression.split(u'+');
    fuzzCheck(terms.front() == u"0" && terms.size() > 1, "the mass text does not start with 0 and a term");
    AtomsByMass atoms;
    for (qsizetype i = 1; i < terms.size(); ++i) {
        const QStringList factors = terms[i].split(u'*');
        fuzzCheck(factors.size() <= 2, "a term of the mass text has more than two factors");
        if (factors.back() == waterMass()) {
            const long long molecules = factors.size() == 2 ? wholeNumber(factors.front()) : 1;
            atoms[massOf(QStringLiteral("H"))] += 2 * molecules;
            atoms[massOf(QStringLiteral("O"))] += molecules;
        } else {
            atoms[factors.front()] += factors.size() == 2 ? wholeNumber(factors.back()) : 1;
        }
    }
    return atoms;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    batch::setDecimalSeparator(u',');
    const QString text = textOf(data, size);
    chemistry::Formula formula;
    try {
        formula = chemistry::parseFormula(text);
    } catch (const batch::Failure& failure) {
        const QString& message = failure.message();
        fuzzCheck(message.startsWith(QStringLiteral("Ошибка в формуле «")), "a failure of another kind");
        // The formula and an unknown symbol are shortened: the message stays readable.
        fuzzCheck(message.size() < 300, "the message of a failure is long");
        return 0;
    }
    fuzzCheck(text.size() <= chemistry::kLongestFormula, "a formula above the length limit was read");
    fuzzCheck(formula.text == text, "the formula does not keep its text");
    fuzzCheck(!formula.elements.empty(), "a formula without atoms was read");

    AtomsByMass atoms;
    batch::Extended mass = 0;
    for (size_t i = 0; i < formula.elements.size(); ++i) {
        const chemistry::ElementCount& element = formula.elements[i];
        fuzzCheck(element.count > 0, "an element has no atoms");
        for (size_t k = 0; k < i; ++k)
            fuzzCheck(formula.elements[k].symbol != element.symbol, "an element is counted twice");
        const QString elementMass = massOf(element.symbol);
        atoms[elementMass] += element.count;
        mass += batch::textToNumber(elementMass) * element.count;
    }
    fuzzCheck(atomsOfExpression(formula.massExpression) == atoms,
              "the mass text holds other atoms than the element counts");

    // The evaluator rounds each product to 15 digits; the sums agree far closer than this.
    const batch::Extended evaluated = chemistry::molarMass(formula);
    fuzzCheck(std::fabs(evaluated - mass) <= mass * 1e-12L, "the molar mass differs from the element counts");
    return 0;
}
