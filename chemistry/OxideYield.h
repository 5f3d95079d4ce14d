#pragma once

// What a raw material leaves in the glass: each element goes to its glass oxide, carbon,
// hydrogen and nitrogen leave the melt as gases, and the oxygen balances.

#include "batch/NumberText.h"
#include "chemistry/Formula.h"

#include <QString>
#include <vector>

namespace chemistry {

struct GlassOxide {
    const char* element; // "Si"
    const char* oxide;   // "SiO2"
    int atoms;           // atoms of the element in one oxide unit
};

// The oxides of glass, one per element.
const std::vector<GlassOxide>& glassOxides();
// nullptr when the oxide is not one of the table (compared as written, "SiO2").
const GlassOxide* findGlassOxide(const QString& oxide);
// Molar mass of an oxide of the table, from the element table.
batch::Extended oxideMolarMass(const GlassOxide& oxide);

struct OxideShare {
    QString oxide;
    batch::Extended moles; // oxide units per formula unit of the raw material
};

struct RawMaterialYield {
    Formula formula;
    QString molarMassText; // as "Вычислить" writes it
    batch::Extended molarMass = 0;
    std::vector<OxideShare> oxides; // in the order of the elements in the formula
    // Gases per formula unit, in grams per mole: carbon as CO2, hydrogen as H2O, and what is left
    // of the mass besides oxides, CO2 and H2O (nitrogen oxides and oxygen; negative when the
    // material takes oxygen up from the air, as a sulfide does).
    batch::Extended carbonDioxide = 0;
    batch::Extended water = 0;
    batch::Extended otherGases = 0;
};

// Throws batch::Failure for an unparsable formula and for an element that has no glass oxide
// and does not leave as a gas.
RawMaterialYield rawMaterialYield(const QString& formula);

} // namespace chemistry
