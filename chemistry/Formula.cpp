#include "chemistry/Formula.h"

#include "batch/Failure.h"
#include "chemistry/ElementTable.h"
#include "chemistry/FormulaEditor.h"
#include "chemistry/MassEvaluator.h"

#include <algorithm>

namespace chemistry {

namespace {

// Counts beyond this are typing errors, not chemistry; it also keeps every product in range.
constexpr long long kLargestCount = 1000000;

bool isHydrateSeparator(QChar c) {
    return c == u'·' || c == u'*' || c == u'x' || c == u'•';
}

// One atom term of the mass text: the element, and the factor that multiplies it, or 0 where
// the keyboard writes no factor.
struct AtomTerm {
    QString symbol;
    long long factor;
};

class Parser {
public:
    explicit Parser(const QString& text) : text_(text) {}

    Formula parse() {
        if (text_.trimmed().isEmpty())
            fail(1, QStringLiteral("формула пуста"));
        Formula formula;
        formula.text = text_;
        QString expression = QStringLiteral("0");

        std::vector<AtomTerm> terms;
        parseSequence(terms, 0);
        appendTerms(expression, terms, 1);
        addAtoms(formula, terms, 1);

        while (pos_ < text_.size()) {
            if (!isHydrateSeparator(text_[pos_]))
                fail(pos_ + 1, QStringLiteral("неожиданный символ «%1»").arg(text_[pos_]));
            ++pos_;
            const long long count = readCount();
            const qsizetype partStart = pos_;
            std::vector<AtomTerm> part;
            parseSequence(part, 0);
            if (part.empty())
                fail(partStart + 1, QStringLiteral("после знака гидрата нет формулы"));
            const long long multiplier = count > 0 ? count : 1;
            if (text_.mid(partStart, pos_ - partStart) == QStringLiteral("H2O")) {
                // Crystal water as the keyboard writes it: "X", the count, the water key.
                expression += u'+';
                if (count > 0)
                    expression += QString::number(count) + u'*';
                expression += QLatin1String(kWaterMassText);
            } else {
                appendTerms(expression, part, multiplier);
            }
            addAtoms(formula, part, multiplier);
        }
        formula.massExpression = expression;
        return formula;
    }

private:
    [[noreturn]] void fail(qsizetype position, const QString& what) const {
        throw batch::Failure(
            QStringLiteral("Ошибка в формуле «%1» в позиции %2: %3!").arg(text_).arg(position).arg(what));
    }

    // A count of digits, or 0 when none stands here; a count never starts with a zero.
    long long readCount() {
        const qsizetype start = pos_;
        long long value = 0;
        while (pos_ < text_.size() && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
            if (pos_ == start && text_[pos_] == u'0')
                fail(pos_ + 1, QStringLiteral("число атомов не может начинаться с нуля"));
            value = value * 10 + text_[pos_].digitValue();
            if (value > kLargestCount)
                fail(start + 1, QStringLiteral("слишком большое число"));
            ++pos_;
        }
        return value;
    }

    // Elements and groups up to a ")" (depth > 0), a hydrate separator or the end.
    void parseSequence(std::vector<AtomTerm>& terms, int depth) {
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (isHydrateSeparator(c))
                return;
            if (c == u')') {
                if (depth == 0)
                    fail(pos_ + 1, QStringLiteral("лишняя закрывающая скобка"));
                return;
            }
            if (c == u'(') {
                const qsizetype open = pos_++;
                std::vector<AtomTerm> inner;
                parseSequence(inner, depth + 1);
                if (pos_ >= text_.size() || text_[pos_] != u')')
                    fail(open + 1, QStringLiteral("скобка не закрыта"));
                if (inner.empty())
                    fail(open + 1, QStringLiteral("пустые скобки"));
                ++pos_;
                const long long count = readCount();
                for (AtomTerm term : inner) {
                    // A group without a multiplier keeps its terms as they were written.
                    if (count > 0) {
                        term.factor = (term.factor > 0 ? term.factor : 1) * count;
                        if (term.factor > kLargestCount)
                            fail(open + 1, QStringLiteral("слишком большое число атомов"));
                    }
                    terms.push_back(term);
                }
                continue;
            }
            if (c.isUpper() && c.unicode() < 128) {
                const qsizetype start = pos_++;
                // Symbols are a capital and small letters; "x" is never part of one, it starts
                // the water of a hydrate.
                while (pos_ < text_.size() && text_[pos_].isLower() && text_[pos_].unicode() < 128 &&
                       text_[pos_] != u'x')
                    ++pos_;
                const QString symbol = text_.mid(start, pos_ - start);
                if (!findElementBySymbol(symbol))
                    fail(start + 1, QStringLiteral("нет элемента «%1»").arg(symbol));
                terms.push_back(AtomTerm{symbol, readCount()});
                continue;
            }
            if (c >= u'0' && c <= u'9')
                fail(pos_ + 1, QStringLiteral("число стоит не после элемента или скобки"));
            if (c.isLower())
                fail(pos_ + 1, QStringLiteral("символ элемента начинается с заглавной буквы"));
            fail(pos_ + 1, QStringLiteral("неожиданный символ «%1»").arg(c));
        }
        // At the end of the text inside a group, the caller reports the unclosed bracket.
    }

    static void appendTerms(QString& expression, const std::vector<AtomTerm>& terms, long long multiplier) {
        for (const AtomTerm& term : terms) {
            expression += findElementBySymbol(term.symbol)->massText;
            const long long factor = (term.factor > 0 ? term.factor : 1) * multiplier;
            if (term.factor > 0 || multiplier > 1)
                expression += u'*' + QString::number(factor);
        }
    }

    void addAtoms(Formula& formula, const std::vector<AtomTerm>& terms, long long multiplier) const {
        for (const AtomTerm& term : terms) {
            const long long atoms = (term.factor > 0 ? term.factor : 1) * multiplier;
            auto found = std::find_if(formula.elements.begin(), formula.elements.end(),
                                      [&](const ElementCount& e) { return e.symbol == term.symbol; });
            if (found == formula.elements.end()) {
                formula.elements.push_back(ElementCount{term.symbol, atoms});
            } else {
                found->count += atoms;
                if (found->count > kLargestCount * kLargestCount)
                    fail(1, QStringLiteral("слишком большое число атомов"));
            }
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

} // namespace

long long Formula::atoms(const QString& symbol) const {
    for (const ElementCount& element : elements)
        if (element.symbol == symbol)
            return element.count;
    return 0;
}

Formula parseFormula(const QString& text) {
    return Parser(text).parse();
}

QString molarMassText(const Formula& formula) {
    QString expression = formula.massExpression;
    // The element table writes a decimal comma; the evaluator reads the process's separator.
    expression.replace(u',', batch::decimalSeparator());
    return evaluateMassExpression(expression);
}

batch::Extended molarMass(const Formula& formula) {
    return batch::textToNumber(molarMassText(formula));
}

} // namespace chemistry
