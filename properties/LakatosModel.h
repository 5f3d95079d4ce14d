#pragma once

// The viscosity curve by Lakatos, Johansson and Simmingsköld: three isokoms from the composition,
// the Vogel–Fulcher–Tammann curve through them, and the reference temperatures from that curve.

#include "properties/GlassComposition.h"
#include "properties/ViscosityCurve.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace properties {

struct LakatosViscosity {
    bool hasIsokoms = false;
    std::array<batch::Extended, 3> isokoms{}; // °C at log η = 2, 4, 6, η in poise
    std::optional<VftCurve> curve;            // the model gives values only where there is one
    QString note;                             // empty when there is nothing to tell
};

LakatosViscosity lakatosViscosity(const GlassComposition& composition);

// The oxides the model knows, SiO2 first.
QStringList lakatosOxides();

} // namespace properties
