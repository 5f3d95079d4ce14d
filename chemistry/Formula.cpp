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
// A failure shows this much of the formula, so that a cell of a megabyte stays a short message.
constexpr qsizetype kShownLength = 40;

bool isHydrateSeparator(QChar c) {
    return c == u'·' || c == u'*' || c == u'x' || c == u'•';
}

// The start of a text for a message: whole when short, else its first characters and "…",
// never cut between the two halves of a character outside the basic plane.
QString shortened(QStringView text) {
    if (text.size() <= kShownLength)
        return text.toString();
    qsizetype length = kShownLength;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.first(length).toString() + u'…';
}

// One atom term of the mass text: the element, the count written after it (0 where none is),
// and the innermost group around it (-1 outside any).
struct AtomTerm {
    const ElementKey* element;
    long long count;
    int group;
};

// A group in parentheses; groups are numbered in the order of their "(", so an enclosing
// group always has a smaller number than the groups inside it.
struct Group {
    int parent;
    long long count;     // written after ")"; 0 where none is
    long long factor;    // the product of the counts of this group and the groups around it
    bool counted;        // whether this group or one around it has a count
    qsizetype open;      // position of "("
    size_t firstTerm;    // the group's terms are those from here to the end of the list at ")"
    long long mostAtoms; // the largest number of atoms of one of its terms, within the group
};

// Reads the formula in one pass with a stack of open groups (never deeper than
// kDeepestNesting), so that neither time nor stack grows with more than the length of the text.
// Each part of the formula (the main part, then each hydrate part) is read into one flat list
// of terms; each term's factor is its own count times the counts of the groups around it.
class Parser {
public:
    explicit Parser(const QString& text) : text_(text) {}

    Formula parse() {
        if (text_.size() > kLongestFormula)
            fail(kLongestFormula + 1, QStringLiteral("формула длиннее %1 знаков").arg(kLongestFormula));
        if (text_.trimmed().isEmpty())
            fail(1, QStringLiteral("формула пуста"));
        Formula formula;
        formula.text = text_;
        QString expression = QStringLiteral("0");

        readPart();
        if (terms_.empty())
            fail(1, QStringLiteral("перед знаком гидрата нет формулы"));
        appendTerms(expression, 1);
        addAtoms(formula, 1);

        while (pos_ < text_.size()) {
            if (!isHydrateSeparator(text_[pos_]))
                fail(pos_ + 1, QStringLiteral("неожиданный символ «%1»").arg(characterAt(pos_)));
            ++pos_;
            const long long count = readCount();
            const qsizetype partStart = pos_;
            readPart();
            if (terms_.empty())
                fail(partStart + 1, QStringLiteral("после знака гидрата нет формулы"));
            const long long multiplier = count > 0 ? count : 1;
            if (QStringView(text_).sliced(partStart, pos_ - partStart) == QStringView(u"H2O")) {
                // Crystal water as the keyboard writes it: "X", the count, the water key.
                expression += u'+';
                if (count > 0)
                    expression += QString::number(count) + u'*';
                expression += QLatin1String(kWaterMassText);
            } else {
                appendTerms(expression, multiplier);
            }
            addAtoms(formula, multiplier);
        }
        formula.massExpression = expression;
        return formula;
    }

private:
    [[noreturn]] void fail(qsizetype position, const QString& what) const {
        throw batch::Failure(QStringLiteral("Ошибка в формуле «%1» в позиции %2: %3!")
                                 .arg(shortened(text_))
                                 .arg(position)
                                 .arg(what));
    }

    // The character at a position, both halves of it where it lies outside the basic plane.
    QString characterAt(qsizetype position) const {
        const bool pair = text_[position].isHighSurrogate() && position + 1 < text_.size() &&
                          text_[position + 1].isLowSurrogate();
        return text_.mid(position, pair ? 2 : 1);
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

    // Elements and groups up to a hydrate separator or the end, into terms_ and groups_.
    void readPart() {
        terms_.clear();
        groups_.clear();
        open_.clear();
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (isHydrateSeparator(c))
                break;
            if (c == u')') {
                if (open_.empty())
                    fail(pos_ + 1, QStringLiteral("лишняя закрывающая скобка"));
                closeGroup();
                continue;
            }
            if (c == u'(') {
                if (open_.size() == static_cast<size_t>(kDeepestNesting))
                    fail(pos_ + 1, QStringLiteral("скобки вложены глубже %1 уровней").arg(kDeepestNesting));
                open_.push_back(static_cast<int>(groups_.size()));
                groups_.push_back(Group{open_.size() > 1 ? open_[open_.size() - 2] : -1, 0, 1, false, pos_,
                                        terms_.size(), 0});
                ++pos_;
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
                const ElementKey* element = findElementBySymbol(symbol);
                if (!element)
                    fail(start + 1, QStringLiteral("нет элемента «%1»").arg(shortened(symbol)));
                const long long count = readCount();
                terms_.push_back(AtomTerm{element, count, open_.empty() ? -1 : open_.back()});
                if (!open_.empty()) {
                    Group& group = groups_[static_cast<size_t>(open_.back())];
                    group.mostAtoms = std::max(group.mostAtoms, count > 0 ? count : 1);
                }
                continue;
            }
            if (c >= u'0' && c <= u'9')
                fail(pos_ + 1, QStringLiteral("число стоит не после элемента или скобки"));
            if (c.isLower())
                fail(pos_ + 1, QStringLiteral("символ элемента начинается с заглавной буквы"));
            fail(pos_ + 1, QStringLiteral("неожиданный символ «%1»").arg(characterAt(pos_)));
        }
        if (!open_.empty())
            fail(groups_[static_cast<size_t>(open_.back())].open + 1, QStringLiteral("скобка не закрыта"));

        // The factors of the groups, outer groups first: each group's number is above its parent's.
        for (Group& group : groups_) {
            const Group* parent = group.parent >= 0 ? &groups_[static_cast<size_t>(group.parent)] : nullptr;
            group.factor = (group.count > 0 ? group.count : 1) * (parent ? parent->factor : 1);
            group.counted = group.count > 0 || (parent && parent->counted);
        }
    }

    // At a ")" that closes the innermost open group.
    void closeGroup() {
        const int number = open_.back();
        Group& group = groups_[static_cast<size_t>(number)];
        if (terms_.size() == group.firstTerm)
            fail(group.open + 1, QStringLiteral("пустые скобки"));
        ++pos_;
        group.count = readCount();
        if (group.count > 0) {
            // Every group's counts were checked as it closed, so this product stays in range.
            group.mostAtoms *= group.count;
            if (group.mostAtoms > kLargestCount)
                fail(group.open + 1, QStringLiteral("слишком большое число атомов"));
        }
        open_.pop_back();
        if (!open_.empty()) {
            Group& parent = groups_[static_cast<size_t>(open_.back())];
            parent.mostAtoms = std::max(parent.mostAtoms, group.mostAtoms);
        }
    }

    // The factor of a term as the keyboard would write it, or 0 where it writes none: a group
    // without a count keeps the terms in it as they were written.
    long long factorOf(const AtomTerm& term) const {
        if (term.group < 0 || !groups_[static_cast<size_t>(term.group)].counted)
            return term.count;
        return (term.count > 0 ? term.count : 1) * groups_[static_cast<size_t>(term.group)].factor;
    }

    void appendTerms(QString& expression, long long multiplier) const {
        for (const AtomTerm& term : terms_) {
            const long long factor = factorOf(term);
            expression += term.element->massText;
            if (factor > 0 || multiplier > 1)
                expression += u'*' + QString::number((factor > 0 ? factor : 1) * multiplier);
        }
    }

    void addAtoms(Formula& formula, long long multiplier) const {
        for (const AtomTerm& term : terms_) {
            const long long factor = factorOf(term);
            const long long atoms = (factor > 0 ? factor : 1) * multiplier;
            auto found =
                std::find_if(formula.elements.begin(), formula.elements.end(),
                             [&](const ElementCount& e) { return e.symbol == term.element->symbol; });
            if (found == formula.elements.end()) {
                formula.elements.push_back(ElementCount{term.element->symbol, atoms});
            } else {
                found->count += atoms;
                if (found->count > kLargestCount * kLargestCount)
                    fail(1, QStringLiteral("слишком большое число атомов"));
            }
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
    std::vector<AtomTerm> terms_;
    std::vector<Group> groups_;
    std::vector<int> open_; // numbers of the open groups, innermost last
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
