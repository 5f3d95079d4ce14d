#include "properties/LakatosModel.h"

#include "properties/ModelLimits.h"

namespace properties {

namespace {

// T. Lakatos, L.-G. Johansson, B. Simmingsköld, Glastekniska Tidskrift 31 (1976), updated
// factors: the temperature (°C) at which log η = 2, 4 and 6 (η in poise) is
// T = C0 + Σ c_i x_i + c_B2 x_B2O3², x_i in parts by weight per 100 parts of SiO2.
struct LakatosFactors {
    const char* oxide;
    std::array<double, 3> factors; // at log η = 2, 4, 6
};

constexpr std::array<double, 3> kConstant = {1847.8, 1249.7, 962.9};
constexpr LakatosFactors kLakatos[] = {
    {"Al2O3", {8.32, 5.23, 4.01}},      {"Na2O", {-12.65, -9.19, -7.06}}, {"K2O", {-5.93, -4.17, -3.53}},
    {"Li2O", {-35.54, -30.04, -26.45}}, {"CaO", {-11.27, -3.99, -0.74}},  {"MgO", {-5.87, -0.12, 0.91}},
    {"BaO", {-5.67, -3.04, -1.88}},     {"ZnO", {-5.37, -1.88, -0.71}},   {"PbO", {-4.85, -3.17, -2.24}},
    {"B2O3", {-21.62, -11.97, -6.42}},
};
constexpr std::array<double, 3> kBoricOxideSquared = {0.5122, 0.3182, 0.19};

// The glasses the factors were fitted to, mass %; standard deviations 4,6 / 3,3 / 3,1 °C.
constexpr ContentRange kRange[] = {
    {"SiO2", 0, 77},   {"Na2O", 10, 17},       {"Al2O3", 0, 8.26L}, {"K2O", 0, 8.7L},
    {"Li2O", 0, 3},    {"CaO", 4.48L, 13.32L}, {"MgO", 0, 6},       {"BaO", 0, 16.54L},
    {"ZnO", 0, 9.39L}, {"PbO", 0, 12.22L},     {"B2O3", 0, 14.37L},
};

const char* const kSilica = "SiO2";

bool knows(QStringView oxide) {
    if (oxide == QLatin1String(kSilica))
        return true;
    for (const LakatosFactors& entry : kLakatos)
        if (oxide == QLatin1String(entry.oxide))
            return true;
    return false;
}

QString isokomsText(const std::array<batch::Extended, 3>& isokoms) {
    return batch::fixedText(isokoms[0], 15, 1) + QStringLiteral(" / ") + batch::fixedText(isokoms[1], 15, 1) +
           QStringLiteral(" / ") + batch::fixedText(isokoms[2], 15, 1);
}

} // namespace

QStringList lakatosOxides() {
    QStringList oxides{QLatin1String(kSilica)};
    for (const LakatosFactors& entry : kLakatos)
        oxides << QLatin1String(entry.oxide);
    return oxides;
}

LakatosViscosity lakatosViscosity(const GlassComposition& composition) {
    LakatosViscosity result;
    const ModelInput input = modelInput(composition, knows, result.note);
    if (!input.usable)
        return result;
    const batch::Extended silica = shareOf(input.massPercent, QLatin1String(kSilica));
    if (!(silica > 0)) {
        addNote(result.note,
                QStringLiteral("в составе нет SiO2, а модель считает оксиды на 100 частей SiO2"));
        return result;
    }

    for (size_t k = 0; k < 3; ++k)
        result.isokoms[k] = kConstant[k];
    for (const LakatosFactors& entry : kLakatos) {
        const batch::Extended parts = shareOf(input.massPercent, QLatin1String(entry.oxide)) / silica * 100;
        if (parts == 0)
            continue;
        for (size_t k = 0; k < 3; ++k)
            result.isokoms[k] += entry.factors[k] * parts;
    }
    const batch::Extended boricParts = shareOf(input.massPercent, QLatin1String("B2O3")) / silica * 100;
    for (size_t k = 0; k < 3; ++k)
        result.isokoms[k] += kBoricOxideSquared[k] * boricParts * boricParts;
    result.hasIsokoms = true;

    result.curve = vftCurveThrough(result.isokoms);
    if (!result.curve)
        addNote(result.note, QStringLiteral("изокомы %1 °C не ложатся на кривую Фогеля — Фулчера — Таммана")
                                 .arg(isokomsText(result.isokoms)));
    addRangeNote(result.note, input.massPercent, kRange, false);
    return result;
}

} // namespace properties
