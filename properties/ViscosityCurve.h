#pragma once

// The Vogel–Fulcher–Tammann curve of a glass, log η[P] = −A + B / (T − T0), and the
// temperatures of the viscosities by which glass makers set furnace, forming and lehr.

#include "batch/NumberText.h"

#include <array>
#include <optional>

namespace properties {

struct VftCurve {
    batch::Extended a = 0;  // A
    batch::Extended b = 0;  // B, °C
    batch::Extended t0 = 0; // T0, °C

    // The temperature (°C) at which log η = logViscosity, η in Pa·s (1 Pa·s = 10 P); nothing where
    // the curve does not reach that viscosity (log η[P] at or below −A).
    std::optional<batch::Extended> temperature(batch::Extended logViscosity) const;
};

// The curve through three isokoms, the temperatures at log η = 2, 4 and 6 (η in poise). There is
// one only where the viscosity rises ever faster as the glass cools: T(2) − T(4) > T(4) − T(6) > 0.
std::optional<VftCurve> vftCurveThrough(const std::array<batch::Extended, 3>& isokoms);

// The reference viscosities, log η with η in Pa·s.
inline constexpr batch::Extended kMeltingViscosity = 1;            // melting, 10 Pa·s
inline constexpr batch::Extended kWorkingViscosity = 3;            // working point, 10³ Pa·s
inline constexpr batch::Extended kSofteningViscosity = 6.6L;       // softening point
inline constexpr batch::Extended kUpperAnnealingViscosity = 12;    // upper annealing (annealing point)
inline constexpr batch::Extended kLowerAnnealingViscosity = 13.5L; // lower annealing (strain point)

} // namespace properties
