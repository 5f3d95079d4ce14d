#pragma once

// Turns the hidden mass text of the formula entry into the molar mass.

#include <QString>

namespace chemistry {

// Evaluates a MassExpression: a sum of products of decimal numbers separated by "+", "-"
// and "*". Returns the molar mass as general number text (15 significant digits, the process's
// decimal separator). Throws batch::Failure naming the first term that does not convert.
QString evaluateMassExpression(const QString& expression);

} // namespace chemistry
