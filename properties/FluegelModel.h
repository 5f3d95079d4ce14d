#pragma once

// Softening and annealing temperatures by Fluegel's global statistical model of glass viscosity.

#include "properties/GlassComposition.h"

#include <QString>
#include <QStringList>

namespace properties {

struct FluegelTemperature {
    bool valid = false;
    batch::Extended temperature = 0; // °C
    QString note;                    // empty when there is nothing to tell
};

struct FluegelTemperatures {
    FluegelTemperature softening; // log η = 6,6, η in Pa·s
    FluegelTemperature annealing; // log η = 12,0
};

FluegelTemperatures fluegelTemperatures(const GlassComposition& composition);

// The oxides each of the two models knows, SiO2 (the balance) first.
QStringList fluegelSofteningOxides();
QStringList fluegelAnnealingOxides();

} // namespace properties
