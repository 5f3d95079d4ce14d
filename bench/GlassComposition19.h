#pragma once

// A glass of nineteen oxides, each from a raw material of its own; several of them bring more
// than one oxide (dolomite, zircon, calcium phosphate, sodium sulfate).

#include "batch/GlassCompositionSheet.h"

inline batch::GlassCompositionSheet nineteenOxideGlass() {
    const char* rows[][3] = {
        {"SiO2", "55", "SiO2"},     {"Al2O3", "5", "Al(OH)3"},  {"B2O3", "4", "H3BO3"},
        {"Na2O", "8", "Na2CO3"},    {"K2O", "3", "K2CO3"},      {"Li2O", "1", "Li2CO3"},
        {"CaO", "5", "CaCO3"},      {"MgO", "2", "CaMg(CO3)2"}, {"BaO", "3", "BaCO3"},
        {"SrO", "1", "SrCO3"},      {"ZnO", "2", "ZnO"},        {"PbO", "3", "Pb3O4"},
        {"TiO2", "1", "TiO2"},      {"ZrO2", "2", "ZrSiO4"},    {"Fe2O3", "0,5", "Fe2O3"},
        {"P2O5", "1", "Ca3(PO4)2"}, {"SO3", "0,5", "Na2SO4"},   {"CeO2", "1", "CeO2"},
        {"Cs2O", "2", "Cs2CO3"},
    };
    batch::GlassCompositionSheet sheet;
    for (const auto& row : rows)
        sheet.rows.push_back({QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2]),
                              QStringLiteral("98"), QStringLiteral("2"), QString()});
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("15");
    return sheet;
}
