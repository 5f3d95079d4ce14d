#pragma once

// Raw materials of a plant's library for the glass-batch fuzz targets: analysed natural materials
// that bring several oxides (the sand's and the feldspar's Fe2O3 among them), formula materials
// with a purity, a moisture and a price, and some without a price.

#include "chemistry/RawMaterialLibrary.h"

inline chemistry::RawMaterial fuzzAnalysed(const char* name, std::vector<chemistry::OxidePercent> analysis,
                                           batch::Extended loss, batch::Extended co2,
                                           std::optional<batch::Extended> moisture,
                                           std::optional<batch::Extended> price) {
    return chemistry::RawMaterial{
        QString::fromUtf8(name), {}, std::move(analysis), {}, moisture, price, loss, co2};
}

inline chemistry::RawMaterialLibrary fuzzLibrary() {
    using chemistry::OxidePercent;
    const auto oxide = [](const char* name, batch::Extended percent) {
        return OxidePercent{QString::fromLatin1(name), percent};
    };
    chemistry::RawMaterialLibrary library;
    library.materials = {
        fuzzAnalysed("Песок (пример)",
                     {oxide("SiO2", 99.5L), oxide("Al2O3", 0.2L), oxide("Fe2O3", 0.05L), oxide("CaO", 0.1L)},
                     0.15L, 0, 5, 1200),
        fuzzAnalysed("Доломит (пример)",
                     {oxide("SiO2", 0.5L), oxide("Al2O3", 0.2L), oxide("Fe2O3", 0.1L), oxide("CaO", 30.4L),
                      oxide("MgO", 21.7L)},
                     47.1L, 46.9L, {}, 2500),
        fuzzAnalysed("КПШ",
                     {oxide("SiO2", 66), oxide("Al2O3", 18.5L), oxide("Fe2O3", 0.15L), oxide("CaO", 0.8L),
                      oxide("MgO", 0.2L), oxide("Na2O", 5.4L), oxide("K2O", 8.5L)},
                     0.4L, 0, 0.5L, {}),
        fuzzAnalysed("Нефелин",
                     {oxide("SiO2", 43.5L), oxide("Al2O3", 29.8L), oxide("Fe2O3", 2.5L), oxide("TiO2", 0.2L),
                      oxide("CaO", 1.5L), oxide("MgO", 0.3L), oxide("Na2O", 13.6L), oxide("K2O", 7.2L)},
                     1.2L, 0, {}, 4000),
        fuzzAnalysed("Каолин",
                     {oxide("SiO2", 46.5L), oxide("Al2O3", 37.5L), oxide("Fe2O3", 0.6L), oxide("K2O", 0.8L)},
                     14.6L, 0, 12, 3000),
        chemistry::RawMaterial{QStringLiteral("Сода"), QStringLiteral("Na2CO3"), {}, 99.4L, 1, 21000, {}, {}},
        chemistry::RawMaterial{
            QStringLiteral("Сульфат"), QStringLiteral("Na2SO4"), {}, 98, {}, 15000, {}, {}},
        chemistry::RawMaterial{
            QStringLiteral("Бура"), QStringLiteral("Na2B4O7·10H2O"), {}, {}, 3, {}, {}, {}},
    };
    return library;
}
