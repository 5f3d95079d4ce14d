#pragma once

// Numbers are held as text in fields and cells and converted when they are used.
// These helpers do the conversions with the process-wide decimal separator and the
// checked floating-point arithmetic that the calculations rely on.

#include <QChar>
#include <QString>
#include <cfloat>

namespace batch {

using Extended = long double;
static_assert(LDBL_MANT_DIG == 64, "the calculations need the 80-bit extended type");

// The decimal separator of the regional settings, read once at start-up.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);
// Reads the separator from QLocale::system(); called once by the program at start-up.
void readDecimalSeparatorFromSystem();

// Text to number. Blanks around the number are allowed; anything else that is not a plain
// decimal number with the process's separator (and optional exponent) fails with
// "'<text>' is not a valid floating point value".
Extended textToNumber(const QString& text);
// Same check without throwing.
bool tryTextToNumber(const QString& text, Extended& value);

// General number text: up to `digits` significant digits, trailing zeros dropped,
// scientific notation below 0.0001 or with more than `digits` integer digits.
QString generalText(Extended value, int digits = 15);

// Fixed number text: rounded to `precision` significant digits or `decimals` decimals,
// whichever is coarser, written with exactly `decimals` decimals; more than `precision`
// integer digits fall back to general text with `precision` digits.
QString fixedText(Extended value, int precision, int decimals);

// Checked arithmetic: the hardware quietly gives an infinity or NaN; a calculation must stop
// with a failure the user can read instead.
Extended checkedMultiply(Extended a, Extended b);
Extended checkedDivide(Extended a, Extended b);
Extended checkedAdd(Extended a, Extended b);
Extended checkedSubtract(Extended a, Extended b);
// Stores an extended value into a double, failing when it does not fit.
double toDouble(Extended value);
// One step of a running double sum: the addition in extended precision, rounded to double.
double addToRunningSum(double sum, Extended value);

// Failure messages.
QString conversionMessage(const QString& text);
inline const char* const kDivisionByZero = "Floating point division by zero";
inline const char* const kInvalidOperation = "Invalid floating point operation";
inline const char* const kOverflow = "Floating point overflow";

} // namespace batch
