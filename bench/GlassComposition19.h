#pragma once

// A glass of nineteen oxides, each from a raw material of its own; several of them bring more
// than one oxide (dolomite, zircon, calcium phosphate, sodium sulfate).

#include "batch/GlassCompositionSheet.h"
#include "chemistry/RawMaterialLibrary.h"

#include <tuple>

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

// The same glass as a plant weighs it: each oxide from a material of its library (sand and
// dolomite by their analysis, whose Fe2O3 and other oxides go into the balance; the rest by formula
// with the purity, moisture and price of the library), and three fixed additions: sodium nitrate,
// coal and a cobalt colorant whose CoO comes on top. The library is padded with other materials
// up to `librarySize`.
struct PlantGlass {
    batch::GlassCompositionSheet sheet;
    chemistry::RawMaterialLibrary library;
};

inline PlantGlass nineteenOxidePlantGlass(int librarySize = 25) {
    PlantGlass glass{nineteenOxideGlass(), {}};
    const auto percent = [](const char* oxide, batch::Extended value) {
        return chemistry::OxidePercent{QString::fromLatin1(oxide), value};
    };
    std::vector<chemistry::RawMaterial>& materials = glass.library.materials;
    materials.push_back(chemistry::RawMaterial{
        QStringLiteral("Песок (пример)"),
        {},
        {percent("SiO2", 99.5L), percent("Al2O3", 0.2L), percent("Fe2O3", 0.05L), percent("CaO", 0.1L)},
        {},
        5,
        1200,
        0.15L,
        0});
    materials.push_back(
        chemistry::RawMaterial{QStringLiteral("Доломит (пример)"),
                               {},
                               {percent("SiO2", 0.5L), percent("Al2O3", 0.2L), percent("Fe2O3", 0.1L),
                                percent("CaO", 30.4L), percent("MgO", 21.7L)},
                               {},
                               {},
                               2500,
                               47.1L,
                               46.9L});
    for (batch::CompositionRowText& row : glass.sheet.rows) {
        if (row[0] == u"SiO2" || row[0] == u"MgO") {
            row[2] = row[0] == u"SiO2" ? materials[0].name : materials[1].name;
            row[3].clear(); // an analysis has no purity
            row[4].clear(); // the library's moisture
            continue;
        }
        materials.push_back(chemistry::RawMaterial{QStringLiteral("Сырьё для ") + row[0],
                                                   row[2],
                                                   {},
                                                   98,
                                                   2,
                                                   10000 + 1000 * static_cast<int>(materials.size()),
                                                   {},
                                                   {}});
        row[2] = materials.back().name;
        row[3].clear();
        row[4].clear();
    }
    for (const auto& [name, formula, amount] :
         {std::tuple{"Селитра натриевая", "NaNO3", "0,5"}, std::tuple{"Уголь", "C", "0,05"},
          std::tuple{"Оксид кобальта", "CoO", "0,01"}}) {
        materials.push_back(chemistry::RawMaterial{
            QString::fromUtf8(name), QString::fromLatin1(formula), {}, {}, {}, 30000, {}, {}});
        glass.sheet.rows.push_back({QString(), QString(), QString::fromUtf8(name), QString(), QString(),
                                    QString(), QString::fromLatin1(amount)});
    }
    for (int i = static_cast<int>(materials.size()); i < librarySize; ++i)
        materials.push_back(chemistry::RawMaterial{QStringLiteral("Материал поставщика № %1").arg(i),
                                                   QStringLiteral("CaCO3"),
                                                   {},
                                                   99,
                                                   1,
                                                   3000,
                                                   {},
                                                   {}});
    return glass;
}
