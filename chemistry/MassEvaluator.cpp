#include "chemistry/MassEvaluator.h"

#include "batch/Failure.h"
#include "batch/NumberText.h"

#include <vector>

namespace chemistry {

namespace {

// Only the closing "=" that the evaluation appends ends a term; one inside the mass text is an
// ordinary character, so that no term after it can drop out of the sum unnoticed.
bool isOperator(QChar c) {
    return c == u'*' || c == u'+' || c == u'-';
}

// The keys write terms of digits and the decimal separator only. Anything else (blanks, an
// exponent, a stray character) would otherwise be read as part of a number or split one in two.
bool isPlainNumber(QStringView term) {
    const QChar separator = batch::decimalSeparator();
    for (const QChar c : term)
        if (!(c >= u'0' && c <= u'9') && c != separator)
            return false;
    return true;
}

// One place of the term store. A term's value is converted from its text only when it is
// first used, so that a failing term is reported at the point of the evaluation where it is
// first read; the same text always converts to the same value, so the value is then kept.
struct Term {
    QString text;
    batch::Extended value = 0;
    bool converted = false;
    // A product's text, written by the evaluation itself (it may hold an exponent).
    bool product = false;

    batch::Extended number() {
        if (!converted) {
            if (!product && !isPlainNumber(text))
                throw batch::Failure(batch::conversionMessage(text));
            value = batch::textToNumber(text);
            converted = true;
        }
        return value;
    }
    void setText(QString newText) {
        text = std::move(newText);
        converted = false;
        product = true;
    }
};

} // namespace

QString evaluateMassExpression(const QString& expression) {
    // The closing "=" only ends the last term.
    const QString working = expression + u'=';

    // The stores grow with the expression: a formula of any length fits.
    std::vector<Term> terms;
    std::vector<QChar> operators;
    terms.reserve(static_cast<std::size_t>(working.size() / 2 + 1));
    qsizetype start = 0;
    for (qsizetype i = 0; i < working.size(); ++i) {
        const QChar c = working.at(i);
        if (isOperator(c) || i == working.size() - 1) {
            // The terms only borrow their characters from the working text, which outlives them.
            terms.push_back(Term{QString::fromRawData(working.constData() + start, i - start)});
            if (isOperator(c)) {
                operators.push_back(c);
            }
            start = i + 1;
        }
    }

    const std::size_t operatorCount = operators.size();

    // Products are formed in extended precision and written back as 15-digit text at once;
    // a chain a*b*c carries its running product forward in its last term.
    for (std::size_t k = 0; k < operatorCount; ++k) {
        if (operators[k] == u'*') {
            const batch::Extended product = batch::checkedMultiply(terms[k].number(), terms[k + 1].number());
            QString text = batch::generalText(product, 15);
            terms[k].setText(text);
            terms[k + 1].setText(std::move(text));
        }
    }
    // Every term of a chain gets the chain's whole product, so the sum below can count the
    // chain once, through its first term.
    for (std::size_t k = operatorCount; k-- > 0;) {
        if (operators[k] == u'*') {
            terms[k] = terms[k + 1];
        }
    }

    double sum = batch::toDouble(terms[0].number());
    for (std::size_t k = 0; k < operatorCount; ++k) {
        if (operators[k] == u'+') {
            sum = batch::addToRunningSum(sum, terms[k + 1].number());
        } else if (operators[k] == u'-') {
            sum = batch::addToRunningSum(sum, -terms[k + 1].number());
        }
    }
    return batch::generalText(sum, 15);
}

} // namespace chemistry
