#pragma once

// Density, thermal expansion and refractive index by Appen's additive partial coefficients.

#include "properties/GlassComposition.h"

#include <QString>
#include <QStringList>

namespace properties {

struct AppenProperties {
    bool valid = false;                  // false: the glass holds too much of oxides Appen's table lacks
    batch::Extended density = 0;         // g/cm³
    batch::Extended expansion = 0;       // α·10⁷, K⁻¹
    batch::Extended refractiveIndex = 0; // n_D
    QString note;                        // empty when there is nothing to tell
};

AppenProperties appenProperties(const GlassComposition& composition);

// The oxides the model knows, SiO2 first.
QStringList appenOxides();

} // namespace properties
