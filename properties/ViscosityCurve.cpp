#include "properties/ViscosityCurve.h"

#include <cmath>

namespace properties {

std::optional<batch::Extended> VftCurve::temperature(batch::Extended logViscosity) const {
    const batch::Extended logPoise = logViscosity + 1;
    if (!(logPoise + a > 0))
        return std::nullopt;
    return t0 + b / (logPoise + a);
}

std::optional<VftCurve> vftCurveThrough(const std::array<batch::Extended, 3>& isokoms) {
    const auto [t2, t4, t6] = isokoms;
    const batch::Extended upper = t2 - t4;
    const batch::Extended lower = t4 - t6;
    if (!std::isfinite(upper) || !std::isfinite(lower) || !(upper > lower && lower > 0))
        return std::nullopt;
    // Equal steps of log η over the two intervals: (T2 − T4)(T6 − T0) = (T4 − T6)(T2 − T0).
    VftCurve curve;
    curve.t0 = (upper * t6 - lower * t2) / (upper - lower);
    curve.b = 2 * (t2 - curve.t0) * (t4 - curve.t0) / upper;
    curve.a = curve.b / (t2 - curve.t0) - 2;
    return curve;
}

} // namespace properties
