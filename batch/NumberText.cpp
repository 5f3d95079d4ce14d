#include "batch/NumberText.h"

#include "batch/Failure.h"

#include <QLocale>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace batch {

namespace {

QChar gDecimalSeparator = QLatin1Char('.');

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The binary value as a digit string d0 d1 d2 ... with value = d0.d1d2... * 10^exponent.
struct DecimalDigits {
    std::string digits; // no leading zero unless the value is zero
    int exponent = 0;
    bool negative = false;
};

DecimalDigits printedDigits(Extended value, int significant) {
    DecimalDigits result;
    result.negative = std::signbit(value);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.*Le", significant - 1,
                  static_cast<long double>(std::fabs(value)));
    const char* e = std::strchr(buffer, 'e');
    for (const char* c = buffer; c != e; ++c)
        if (*c != '.')
            result.digits += *c;
    result.exponent = std::atoi(e + 1);
    return result;
}

// Digits enough to round the value half away from zero at digit `roundAt` (at most 18) exactly.
// glibc rounds its output correctly, so 25 digits decide unless the digits from `roundAt` on read
// 5000... or 4999..., a possible tie. An extended value (64-bit mantissa) that is not exactly on
// such a tie lies at least about 1e-32 (relative) away from it, so 40 digits then decide.
void refineForRounding(DecimalDigits& d, Extended value, int roundAt) {
    if (roundAt >= 0 && roundAt < static_cast<int>(d.digits.size())) {
        const std::string tail = d.digits.substr(static_cast<size_t>(roundAt) + 1);
        const char first = d.digits[static_cast<size_t>(roundAt)];
        if ((first == '5' && tail.find_first_not_of('0') == std::string::npos) ||
            (first == '4' && tail.find_first_not_of('9') == std::string::npos))
            d = printedDigits(value, 40);
    }
}

// Keeps the first `count` digits, rounding half away from zero. A carry out of the first digit
// raises the exponent. Returns false when nothing is left (the value rounds to zero).
bool roundDigits(DecimalDigits& d, int count) {
    if (count < 0) {
        d.digits.clear();
        return false;
    }
    if (count >= static_cast<int>(d.digits.size()))
        return true;
    const bool up = d.digits[static_cast<size_t>(count)] >= '5';
    d.digits.resize(static_cast<size_t>(count));
    if (up) {
        int i = count - 1;
        for (; i >= 0; --i) {
            if (d.digits[static_cast<size_t>(i)] == '9') {
                d.digits[static_cast<size_t>(i)] = '0';
            } else {
                ++d.digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.digits.resize(static_cast<size_t>(std::max(count, 1)));
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return !d.digits.empty();
}

// Rounding up can carry a value near the top of the range past the largest one, and text of
// such a value would not read back; there the digits are cut instead of rounded.
bool roundWithinRange(DecimalDigits& d, int count) {
    const DecimalDigits exact = d;
    if (!roundDigits(d, count))
        return false;
    if (d.exponent < LDBL_MAX_10_EXP)
        return true;
    std::string text = d.digits.substr(0, 1) + '.' + d.digits.substr(1) + 'e' + std::to_string(d.exponent);
    long double parsed = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), parsed).ec != std::errc::result_out_of_range)
        return true;
    d = exact;
    if (count < static_cast<int>(d.digits.size()))
        d.digits.resize(static_cast<size_t>(count));
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return !d.digits.empty();
}

QString digitsToFixed(const std::string& digits, int exponent, int decimals, QChar separator) {
    // digits d0 d1 ... with d0 at place 10^exponent; write the integer part and `decimals` decimals
    // (decimals < 0 means as many as the digits need).
    QString integerPart;
    QString fraction;
    const int n = static_cast<int>(digits.size());
    for (int place = std::max(exponent, 0); place >= 0; --place) {
        const int i = exponent - place;
        integerPart += (i >= 0 && i < n) ? QLatin1Char(digits[static_cast<size_t>(i)]) : QLatin1Char('0');
    }
    const int lastDecimal = decimals >= 0 ? decimals : std::max(0, n - 1 - exponent);
    for (int k = 1; k <= lastDecimal; ++k) {
        const int i = exponent + k;
        fraction += (i >= 0 && i < n) ? QLatin1Char(digits[static_cast<size_t>(i)]) : QLatin1Char('0');
    }
    return fraction.isEmpty() ? integerPart : integerPart + separator + fraction;
}

} // namespace

QChar decimalSeparator() {
    return gDecimalSeparator;
}

void setDecimalSeparator(QChar separator) {
    gDecimalSeparator = separator;
}

void readDecimalSeparatorFromSystem() {
    const QString point = QLocale::system().decimalPoint();
    if (!point.isEmpty())
        gDecimalSeparator = point.at(0);
}

QString conversionMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

bool tryTextToNumber(const QString& text, Extended& value) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;

    std::string ascii;
    qsizetype i = begin;
    bool negative = false;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    // Copies a run of digits and tells how many there were.
    const auto copyDigits = [&] {
        int count = 0;
        for (; i < end && isAsciiDigit(text.at(i)); ++i, ++count)
            ascii += static_cast<char>(text.at(i).unicode());
        return count;
    };
    int mantissaDigits = copyDigits();
    if (i < end && text.at(i) == gDecimalSeparator) {
        ascii += '.';
        ++i;
        mantissaDigits += copyDigits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < end && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            ascii += static_cast<char>(text.at(i).unicode());
            ++i;
        }
        if (copyDigits() == 0)
            return false;
    }
    if (i != end)
        return false;

    long double parsed = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (ptr != ascii.data() + ascii.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // from_chars refuses a value below the normal range as well as one above it, and gives
        // neither. A tiny value is a number like any other (the number text writes subnormals):
        // it reads as the nearest value, as the C conversion in the C locale rounds it.
        static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        parsed = ::strtold_l(ascii.c_str(), nullptr, cLocale);
        if (std::fabs(parsed) > 1)
            return false;
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(parsed))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

Extended textToNumber(const QString& text) {
    Extended value = 0;
    if (!tryTextToNumber(text, value))
        throw Failure(conversionMessage(text));
    return value;
}

QString generalText(Extended value, int digits) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");
    DecimalDigits d = printedDigits(value, 25);
    refineForRounding(d, value, digits);
    if (!roundWithinRange(d, digits))
        return QStringLiteral("0");
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    // The number of digits before the decimal point is exponent + 1.
    const int integerDigits = d.exponent + 1;
    if (integerDigits > digits || integerDigits < -3) {
        QString mantissa(QLatin1Char(d.digits[0]));
        if (d.digits.size() > 1)
            mantissa += gDecimalSeparator + QString::fromLatin1(d.digits.substr(1));
        return sign + mantissa + QStringLiteral("E") + QString::number(d.exponent);
    }
    return sign + digitsToFixed(d.digits, d.exponent, -1, gDecimalSeparator);
}

QString fixedText(Extended value, int precision, int decimals) {
    if (!std::isfinite(value))
        return generalText(value, precision);
    DecimalDigits d = printedDigits(value, 25);
    bool nonZero = false;
    if (value != 0) {
        const int keep = std::min(precision, d.exponent + decimals + 1);
        refineForRounding(d, value, keep);
        nonZero = roundDigits(d, keep);
    }
    if (!nonZero)
        return digitsToFixed("0", 0, decimals, gDecimalSeparator);
    if (d.exponent + 1 > precision)
        return generalText(value, precision);
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    return sign + digitsToFixed(d.digits, d.exponent, decimals, gDecimalSeparator);
}

namespace {

Extended checkResult(Extended result) {
    if (std::isnan(result))
        throw Failure(QString::fromLatin1(kInvalidOperation));
    if (std::isinf(result))
        throw Failure(QString::fromLatin1(kOverflow));
    return result;
}

} // namespace

Extended checkedMultiply(Extended a, Extended b) {
    return checkResult(a * b);
}

Extended checkedAdd(Extended a, Extended b) {
    return checkResult(a + b);
}

Extended checkedSubtract(Extended a, Extended b) {
    return checkResult(a - b);
}

Extended checkedDivide(Extended a, Extended b) {
    if (std::isnan(a) || std::isnan(b))
        throw Failure(QString::fromLatin1(kInvalidOperation));
    if (b == 0) {
        if (a == 0)
            throw Failure(QString::fromLatin1(kInvalidOperation));
        throw Failure(QString::fromLatin1(kDivisionByZero));
    }
    return checkResult(a / b);
}

double toDouble(Extended value) {
    if (std::isnan(value))
        throw Failure(QString::fromLatin1(kInvalidOperation));
    const double result = static_cast<double>(value);
    if (std::isinf(result))
        throw Failure(QString::fromLatin1(kOverflow));
    return result;
}

double addToRunningSum(double sum, Extended value) {
    return toDouble(checkedAdd(static_cast<Extended>(sum), value));
}

} // namespace batch
